#include "BuiltinControl.h"

#include "CommonDialog.h"
#include "Label.h"
#include "MMControl.h"
#include "PictureBox.h"
#include "TextBox.h"
#include "Timer.h"

namespace glim::host {

void EnsureWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

namespace {
template <class T>
ComPtr<IDispatch> Make(const ComPtr<T>& made, BuiltinControl** control) {
    *control = made.get();
    return ComPtr<IDispatch>(made->Dispatch());
}
} // namespace

ComPtr<IDispatch> CreateBuiltinControl(const std::string& typeName, BuiltinControl** control) {
    *control = nullptr;
    if (SameName(typeName, "TextBox")) return Make(TextBox::Create(), control);
    if (SameName(typeName, "Label")) return Make(Label::Create(), control);
    if (SameName(typeName, "Timer")) return Make(Timer::Create(), control);
    if (SameName(typeName, "PictureBox")) return Make(PictureBox::Create(), control);
    // The platform's multimedia and common-dialog controls, by their ProgIDs too.
    if (SameName(typeName, "MMControl") || SameName(typeName, "MCI.MMControl"))
        return Make(MMControl::Create(), control);
    if (SameName(typeName, "CommonDialog") || SameName(typeName, "MSComDlg.CommonDialog"))
        return Make(CommonDialog::Create(), control);
    return {};
}

} // namespace glim::host
