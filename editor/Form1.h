#pragma once
// Versolo's main window: the lyric, time and header fields, the media
// player, the lyrics document and the menus, with their event handlers.
#include "FormBuilding.h"
#include "LyricsDocument.h"

namespace glim::host {
class CommonDialog;
class Label;
class MMControl;
class TextBox;
class Timer;
} // namespace glim::host

namespace versolo {

class Form1 : public EditorForm {
  public:
    static glim::ComPtr<Form1> Create();

  private:
    Form1() = default;
    void Build();
    void Connect();
    void Load();
    // Handlers.
    void AddLineClick();
    void ConfirmHeaderClick();
    void AddHeaderClick();
    void OpenMediaClick();
    void CaptureClick();
    void PauseClick();
    void OpenLrcClick();
    void SaveLrcClick();
    // Saves through the save dialog; true when the file was written.
    bool SaveLrc();
    // Closing with unsaved lyrics: save, discard or stay; true to close.
    bool QueryUnload();
    void AboutClick();
    void CountTick();
    void SetStatus(const std::wstring& text);
    IDispatch* Control(const char* name) const;
    template <class T>
    T* Builtin(const char* name) const;

    HeaderFields confirmed_;     // header values as last confirmed
    std::wstring savedDocument_; // the document as last opened or saved
    // Views of controls the form owns.
    glim::host::TextBox *text1_ = nullptr, *text2_ = nullptr, *text3_ = nullptr;
    glim::host::TextBox *text4_ = nullptr, *text5_ = nullptr, *text6_ = nullptr, *text7_ = nullptr,
                        *text8_ = nullptr;
    glim::host::Label *label2_ = nullptr, *named_ = nullptr;
    glim::host::Timer* timer1_ = nullptr;
    glim::host::MMControl* binarie_ = nullptr;
    glim::host::CommonDialog* codg_ = nullptr;
};

} // namespace versolo
