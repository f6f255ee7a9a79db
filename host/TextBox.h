#pragma once
// The host's text box: a Win32 edit window.
#include "BuiltinControl.h"
#include "DispatchObject.h"

#include <functional>

namespace glim::host {

class TextBox : public DispatchObject<TextBox>, public BuiltinControl {
  public:
    static ComPtr<TextBox> Create();
    void* Find(REFIID iid) { return FindDispatch(iid); }

    IDispatch* Dispatch() override { return static_cast<IDispatch*>(this); }
    const char* TypeName() const override { return "TextBox"; }
    HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) override;
    HWND Window() const override { return hwnd_; }
    void DestroyWindowNow() override;
    void Load(MemoryPropertyBag* bag) override;
    void Save(MemoryPropertyBag* bag) const override;
    bool TakesFocus() const override { return true; }

    std::string Text() const;
    void SetText(const std::string& text);
    // The text as the window holds it, with characters the system code
    // page cannot represent.
    std::wstring WideText() const;
    void SetWideText(const std::wstring& text);

    // The program's handlers; an error they raise is shown, not thrown.
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    void OnLostFocus(std::function<void()> handler) { onLostFocus_ = std::move(handler); }

  protected:
    ComPtr<ITypeInfo> TypeInfo() override;

  private:
    TextBox();
    ~TextBox() override;
    void Raise(const std::function<void()>& handler);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;        // the edit window, destroyed with the site
    WNDPROC editProc_ = nullptr; // the edit class's own procedure, called after ours
    std::wstring text_;          // text before the window exists
    bool multiLine_ = false;     // design-time: several lines
    long scrollBars_ = 0;        // design-time: 0 none, 1 horizontal, 2 vertical, 3 both
    std::function<void()> onClick_, onLostFocus_;
};

} // namespace glim::host
