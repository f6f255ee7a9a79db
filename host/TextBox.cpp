#include "TextBox.h"

#include "HandlerGuard.h"
#include "HostForm.h"
#include "Text.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

namespace glim::host {

namespace {
const DISPID kText = 0, kSelStart = 1, kSelLength = 2, kSetFocus = 3, kEnabled = DISPID_ENABLED,
             kHwnd = DISPID_HWND;
const wchar_t* const kSelf = L"GlimHostTextBox";
} // namespace

ComPtr<TextBox> TextBox::Create() {
    return ComPtr<TextBox>(new TextBox());
}

TextBox::TextBox() {
    table_.AddProperty(
        "Text", kText, [this] { return Variant::String(Text()); },
        [this](const Variant& v) { SetText(v.ToText()); });
    table_.AddProperty(
        "SelStart", kSelStart,
        [this] {
            DWORD start = 0;
            SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            return Variant::Long(static_cast<long>(start));
        },
        [this](const Variant& v) {
            const long start = v.ToLong();
            if (start < 0) throw glim::Error(380, "TextBox", "Invalid property value");
            SendMessageA(hwnd_, EM_SETSEL, start, start);
        });
    table_.AddProperty(
        "SelLength", kSelLength,
        [this] {
            DWORD start = 0, end = 0;
            SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            return Variant::Long(static_cast<long>(end - start));
        },
        [this](const Variant& v) {
            const long length = v.ToLong();
            if (length < 0) throw glim::Error(380, "TextBox", "Invalid property value");
            DWORD start = 0;
            SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            SendMessageA(hwnd_, EM_SETSEL, start, start + length);
        });
    table_.AddMethod("SetFocus", kSetFocus, [this](const DispArgs&) {
        if (!hwnd_ || !IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_))
            throw glim::Error(5, "TextBox", "Invalid procedure call or argument");
        ::SetFocus(hwnd_);
        return Variant();
    });
    table_.AddProperty(
        "Enabled", kEnabled, [this] { return Variant::Bool(hwnd_ && IsWindowEnabled(hwnd_)); },
        [this](const Variant& v) { EnableWindow(hwnd_, v.ToBool()); });
    table_.AddProperty("hWnd", kHwnd, [this] { return Variant::Handle(hwnd_); });
}

TextBox::~TextBox() {
    DestroyWindowNow();
}

ComPtr<ITypeInfo> TextBox::TypeInfo() {
    return TypeNameInfo::Create("TextBox", GUID_NULL, TKIND_COCLASS);
}

HWND TextBox::CreateWindowIn(HWND parent, const RECT& px, HostForm* form) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
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
    SetWindowTextW(hwnd_, text_.c_str());
    if (form) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form->FontHandle()), FALSE);
    SetPropW(hwnd_, kSelf, this);
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
            RemovePropW(hwnd, kSelf);
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
    auto* self = static_cast<TextBox*>(GetPropW(hwnd, kSelf));
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

void TextBox::Load(MemoryPropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Text")) SetText(bag->Get("Text").ToText());
    if (bag->Contains("MultiLine")) multiLine_ = bag->Get("MultiLine").ToBool();
    if (bag->Contains("ScrollBars")) scrollBars_ = bag->Get("ScrollBars").ToLong();
}

void TextBox::Save(MemoryPropertyBag* bag) const {
    bag->Set("Text", Variant::String(Text()));
    if (multiLine_) bag->Set("MultiLine", Variant::Bool(true));
    if (scrollBars_) bag->Set("ScrollBars", Variant::Long(scrollBars_));
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
