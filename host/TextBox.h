#pragma once
// The host's text box: a Win32 edit window.
#include "IntrinsicControl.h"

#include <functional>

namespace glim::host {

class TextBox : public IntrinsicControl<TextBox> {
  public:
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    void DestroyWindowNow() override;
    bool TakesFocus() const override { return true; }
    bool ShownByForm() const override { return true; }

    std::string Text() const;
    void SetText(const std::string& text);
    // The text as the window holds it, with characters the system code
    // page cannot represent.
    std::wstring WideText() const;
    void SetWideText(const std::wstring& text);

    // The program's handlers; an error they raise is shown, not thrown.
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    void OnLostFocus(std::function<void()> handler) { onLostFocus_ = std::move(handler); }

  private:
    friend class IntrinsicControl<TextBox>;
    TextBox();
    ~TextBox() override;
    static std::span<const Member> Members();
    long SelStart() const;
    void SetSelStart(long start);
    long SelLength() const;
    void SetSelLength(long length);
    void FocusFromProgram();
    bool IsEnabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
    void Enable(bool enabled) { EnableWindow(hwnd_, enabled); }
    Variant WindowHandle() const { return Variant::Handle(hwnd_); }
    void Raise(const std::function<void()>& handler);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC editProc_ = nullptr; // the edit class's own procedure, called after ours
    std::wstring text_;          // text before the window exists
    bool multiLine_ = false;     // design-time: several lines
    long scrollBars_ = 0;        // design-time: 0 none, 1 horizontal, 2 vertical, 3 both
    std::function<void()> onClick_, onLostFocus_;
};

} // namespace glim::host
