#include "TextBox.h"

#include "HandlerGuard.h"
#include "HostForm.h"
#include "Text.h"
#include "GlimError.h"

namespace glim::host {

std::span<const TextBox::Member> TextBox::Members() {
    static const Member members[] = {
        {"Text", 0, {}, kPersist | kSaveAlways, 0, &TextBox::Text, &TextBox::SetText},
        {"SelStart", 1, {}, 0, 0, &TextBox::SelStart, &TextBox::SetSelStart},
        {"SelLength", 2, {}, 0, 0, &TextBox::SelLength, &TextBox::SetSelLength},
        {"SetFocus", 3, {}, 0, 0, {}, {}, &TextBox::FocusFromProgram},
        {"Enabled", DISPID_ENABLED, {}, 0, 0, &TextBox::IsEnabled, &TextBox::Enable},
        {"hWnd", DISPID_HWND, {}, kReadOnly, 0, &TextBox::WindowHandle},
        {"MultiLine", 0, &TextBox::multiLine_, kDesignOnly | kPersist},
        {"ScrollBars", 0, &TextBox::scrollBars_, kDesignOnly | kPersist},
    };
    return members;
}

TextBox::TextBox() : IntrinsicControl("TextBox", Members()) {}

TextBox::~TextBox() {
    DestroyWindowNow();
}

long TextBox::SelStart() const {
    DWORD start = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<long>(start);
}

void TextBox::SetSelStart(long start) {
    if (start < 0) throw glim::Error(380, "TextBox", "Invalid property value");
    SendMessageA(hwnd_, EM_SETSEL, start, start);
}

long TextBox::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<long>(end - start);
}

void TextBox::SetSelLength(long length) {
    if (length < 0) throw glim::Error(380, "TextBox", "Invalid property value");
    DWORD start = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(hwnd_, EM_SETSEL, start, start + length);
}

void TextBox::FocusFromProgram() {
    if (!hwnd_ || !IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_))
        throw glim::Error(5, "TextBox", "Invalid procedure call or argument");
    ::SetFocus(hwnd_);
}

HWND TextBox::CreateWindowIn(HWND parent, const RECT& px, HostForm* form) {
    // Hidden until the form places it: see ShownByForm.
    DWORD style = WS_CHILD | WS_TABSTOP | WS_BORDER;
    if (multiLine_) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (scrollBars_ & 1) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (scrollBars_ & 2) style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    // A Unicode window keeps what the user types even where the system code
    // page has no character for it; the program decides what to do then.
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, px.left, px.top, px.right - px.left,
                            px.bottom - px.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return nullptr;
    // The default limit (30,000 characters) would cut long documents.
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    // A new box is empty already: setting no text would only repaint it.
    if (!text_.empty()) SetWindowTextW(hwnd_, text_.c_str());
    if (form) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form->FontHandle()), FALSE);
    // The edit control leaves GWLP_USERDATA to its owner; a window property
    // would cost a round trip to the server at every message.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::WindowProc)));
    return hwnd_;
}

void TextBox::DestroyWindowNow() {
    if (hwnd_) {
        text_ = WideText();
        HWND hwnd = hwnd_;
        // No events from a window on its way out.
        hwnd_ = nullptr;
        if (IsWindow(hwnd)) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
            DestroyWindow(hwnd);
        }
    }
}

void TextBox::Raise(const std::function<void()>& handler) {
    if (!handler || !hwnd_) return;
    // The handler may unload the form and with it this text box.
    ComPtr<TextBox> keep(this);
    RunHandler(handler);
}

LRESULT CALLBACK TextBox::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TextBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    ComPtr<TextBox> keep(self);
    const LRESULT result = CallWindowProcW(self->editProc_, hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_LBUTTONUP:
        self->Raise(self->onClick_);
        break;
    case WM_KILLFOCUS:
        self->Raise(self->onLostFocus_);
        break;
    }
    return result;
}

std::string TextBox::Text() const {
    const std::wstring text = WideText();
    return Narrow(text.c_str());
}

void TextBox::SetText(const std::string& text) {
    SetWideText(Widen(text));
}

std::wstring TextBox::WideText() const {
    if (!hwnd_) return text_;
    const int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}

void TextBox::SetWideText(const std::wstring& text) {
    text_ = text;
    if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

} // namespace glim::host
