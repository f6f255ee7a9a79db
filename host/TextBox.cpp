#include "TextBox.h"

#include "HostForm.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

namespace glim::host {

namespace {
const DISPID kText = 0, kSelStart = 1, kSelLength = 2, kSetFocus = 3, kEnabled = DISPID_ENABLED,
             kHwnd = DISPID_HWND;
}

ComPtr<TextBox> TextBox::Create() {
    return ComPtr<TextBox>(new TextBox());
}

TextBox::TextBox() {
    table_.AddProperty(
        "Text", kText, [this] { return Variant::String(Text()); },
        [this](const Variant& v) { SetText(v.ToString()); });
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
    hwnd_ =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text_.c_str(), style, px.left, px.top, px.right - px.left,
                        px.bottom - px.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (hwnd_ && form) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form->FontHandle()), FALSE);
    return hwnd_;
}

void TextBox::DestroyWindowNow() {
    if (hwnd_) {
        text_ = Text();
        if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

void TextBox::Load(PropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Text")) SetText(bag->Get("Text").ToString());
    if (bag->Contains("MultiLine")) multiLine_ = bag->Get("MultiLine").ToBool();
    if (bag->Contains("ScrollBars")) scrollBars_ = bag->Get("ScrollBars").ToLong();
}

void TextBox::Save(PropertyBag* bag) const {
    bag->Set("Text", Variant::String(Text()));
    if (multiLine_) bag->Set("MultiLine", Variant::Bool(true));
    if (scrollBars_) bag->Set("ScrollBars", Variant::Long(scrollBars_));
}

std::string TextBox::Text() const {
    if (!hwnd_) return text_;
    const int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(got < 0 ? 0 : got));
    return s;
}

void TextBox::SetText(const std::string& text) {
    text_ = text;
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

} // namespace glim::host
