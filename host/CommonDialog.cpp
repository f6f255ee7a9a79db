#include "CommonDialog.h"

#include "Text.h"
#include "TypeNameInfo.h"
#include "GlimError.h"

#include <commdlg.h>
#include <vector>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostCommonDialog";
const DISPID kFileName = 1, kFilter = 3, kFlags = 7, kShowOpen = 30, kShowSave = 31;
// Room for the longest path the system allows.
const size_t kNameRoom = 32768;
} // namespace

std::wstring DialogFilter(const std::string& filter) {
    if (filter.empty()) return std::wstring(2, L'\0');
    std::wstring out = Widen(filter);
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    // A description without its pattern gets an empty one.
    size_t parts = 1;
    for (wchar_t c : out)
        if (c == L'\0') ++parts;
    if (parts % 2) out.push_back(L'\0');
    out.append(2, L'\0');
    return out;
}

ComPtr<CommonDialog> CommonDialog::Create() {
    return ComPtr<CommonDialog>(new CommonDialog());
}

CommonDialog::CommonDialog() {
    table_.AddProperty(
        "FileName", kFileName, [this] { return Variant::String(Narrow(fileName_.c_str())); },
        [this](const Variant& v) { fileName_ = Widen(v.ToText()); });
    table_.AddProperty(
        "Filter", kFilter, [this] { return Variant::String(filter_); },
        [this](const Variant& v) { filter_ = v.ToText(); });
    table_.AddProperty(
        "Flags", kFlags, [this] { return Variant::Long(flags_); },
        [this](const Variant& v) { flags_ = v.ToLong(); });
    table_.AddMethod("ShowOpen", kShowOpen, [this](const DispArgs&) {
        ShowOpen();
        return Variant();
    });
    table_.AddMethod("ShowSave", kShowSave, [this](const DispArgs&) {
        ShowSave();
        return Variant();
    });
}

CommonDialog::~CommonDialog() {
    DestroyWindowNow();
}

ComPtr<ITypeInfo> CommonDialog::TypeInfo() {
    return TypeNameInfo::Create("CommonDialog", GUID_NULL, TKIND_COCLASS);
}

HWND CommonDialog::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    EnsureWindowClass(kClass, DefWindowProcA);
    // Invisible at run time.
    hwnd_ = CreateWindowExA(0, kClass, "", WS_CHILD, px.left, px.top, 0, 0, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    return hwnd_;
}

void CommonDialog::DestroyWindowNow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void CommonDialog::Load(MemoryPropertyBag* bag) {
    if (!bag) return;
    if (bag->Contains("Filter")) filter_ = bag->Get("Filter").ToText();
    if (bag->Contains("Flags")) flags_ = bag->Get("Flags").ToLong();
}

void CommonDialog::Save(MemoryPropertyBag* bag) const {
    if (!filter_.empty()) bag->Set("Filter", Variant::String(filter_));
    if (flags_) bag->Set("Flags", Variant::Long(flags_));
}

bool CommonDialog::ShowOpen() {
    return Show(false);
}

bool CommonDialog::ShowSave() {
    return Show(true);
}

bool CommonDialog::Show(bool save) {
    // Cleared first: a cancelled dialog must not hand back an older choice.
    fileName_.clear();
    ComPtr<CommonDialog> keep(this);
    const std::wstring filter = DialogFilter(filter_);
    std::vector<wchar_t> name(kNameRoom, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = static_cast<DWORD>(flags_) | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) {
        if (const DWORD code = CommDlgExtendedError())
            throw glim::Error(5, "CommonDialog", "The dialog failed (" + std::to_string(code) + ")");
        return false;
    }
    fileName_ = name.data();
    return true;
}

} // namespace glim::host
