#pragma once
// The host's multimedia control ("MCI.MMControl"): one MCI device driven
// by command names, with the usual bar of nine buttons.  A failing command
// never raises: it leaves its number in Error and its text in ErrorMessage,
// so a program can look and go on.
#include "IntrinsicControl.h"

namespace glim::host {

class MMControl : public IntrinsicControl<MMControl> {
  public:
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    void DestroyWindowNow() override;
    bool ShownByForm() const override { return true; }

    // "OPEN", "CLOSE", "PLAY", "PAUSE" (pauses, or resumes a paused
    // device), "STOP", "PREV", "NEXT", "BACK", "STEP", "RECORD", "EJECT";
    // case does not matter.
    void Command(const std::string& command);
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& name) { fileName_ = name; }
    // Playback position in milliseconds; 0 with no device open.
    long Position() const;
    // 524 not open, 525 stopped, 526 playing, 527 recording, 528 seeking,
    // 529 paused, 530 ready.
    long Mode() const;
    long Error() const { return error_; }
    const std::string& ErrorMessage() const { return errorMessage_; }
    bool IsOpen() const { return open_; }

  private:
    friend class IntrinsicControl<MMControl>;
    MMControl();
    ~MMControl() override;
    static std::span<const Member> Members();
    // What a program reads back from Command: always empty.
    Variant NoCommand() const { return Variant::String(""); }
    // Sends one MCI command string; false (with Error set) when it failed.
    bool Send(const std::wstring& command, std::wstring* reply = nullptr, bool notify = false);
    std::wstring Status(const wchar_t* item) const;
    void Close();
    int ButtonAt(int x) const;
    void Paint(HDC dc) const;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::wstring alias_;       // this control's MCI device alias
    std::wstring fileName_;    // media file of the next OPEN
    bool open_ = false;        // a device is open under alias_
    long error_ = 0;           // MCI error of the last command, 0 for none
    std::string errorMessage_; // its text
    int pressed_ = -1;         // button held down by the mouse, -1 for none
};

} // namespace glim::host
