#include "CommonDialog.h"

#include "GlimError.h"
#include "LateLibrary.h"
#include "Text.h"

#include <commdlg.h>
#include <vector>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostCommonDialog";
// Room for the longest path the system allows.
const size_t kNameRoom = 32768;
// Loaded with the first dialog: a program that shows none never pays for it.
LateLibrary comdlg32("comdlg32.dll");
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

std::span<const CommonDialog::Member> CommonDialog::Members() {
    static const Member members[] = {
        {"FileName", 1, &CommonDialog::fileName_},
        {"Filter", 3, &CommonDialog::filter_, kPersist},
        {"Flags", 7, &CommonDialog::flags_, kPersist},
        {"DefaultExt", 8, &CommonDialog::defaultExt_, kPersist},
        {"ShowOpen", 30, {}, 0, 0, {}, {}, &CommonDialog::ShowOpen},
        {"ShowSave", 31, {}, 0, 0, {}, {}, &CommonDialog::ShowSave},
    };
    return members;
}

CommonDialog::CommonDialog() : IntrinsicControl("CommonDialog", Members()) {}

HWND CommonDialog::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    // Invisible at run time; its top-level window owns the dialogs.
    return MakeHiddenWindow(kClass, DefWindowProcA, parent, px);
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
    const std::wstring filter = DialogFilter(filter_), defaultExt = Widen(defaultExt_);
    std::vector<wchar_t> name(kNameRoom, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = static_cast<DWORD>(flags_) | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const auto run = save ? comdlg32.Proc<decltype(GetSaveFileNameW)>("GetSaveFileNameW")
                          : comdlg32.Proc<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
    if (!run(&ofn)) {
        if (const DWORD code = comdlg32.Proc<decltype(CommDlgExtendedError)>("CommDlgExtendedError")())
            throw glim::Error(5, "CommonDialog", "The dialog failed (" + std::to_string(code) + ")");
        return false;
    }
    fileName_ = name.data();
    return true;
}

} // namespace glim::host
