#include "API.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "ComPtr.h"
#include "Handles.h"
#include "LateBound.h"
#include "MSubclass.h"
#include "Pictures.h"
#include "RuntimeErrors.h"
#include "Text.h"
#include "frmAbout.h"

namespace glim {

namespace {

// The first form of the icon record, as the shell has always taken it.
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kIconRecordSize == 88, "first-form icon record");
#endif

// The procedure beneath ours, kept on the window itself so that a copy of
// API_TrayWindowProc left in a chain can still forward after the record
// moved on.
constexpr const char* kPreviousProp = "GlimTray.Previous";

// The "About" item of the system menu: 关于...
constexpr const char* kAboutItemText = "\xB9\xD8\xD3\xDA...";

// One tray record per thread.
struct TrayRecord {
    WNDPROC previous = nullptr;        // the form's procedure beneath the tray procedure
    ComPtr<IDispatch> form;            // the form that owns the icon
    ComPtr<IDispatch> menu;            // popped up on a right-button release
    NOTIFYICONDATAA icon{};            // handed to Shell_NotifyIconA
    UINT aboutCommand = kAboutCommand; // WM_SYSCOMMAND wParam that opens the About box
    bool shown = false;                // the icon is added and not removed yet
    OwnedModule shell;                 // shell32, loaded with the icon and freed after it
};

thread_local TrayRecord tTray;

// The shell library serves the icon alone: a host that shows none never
// has it loaded on our account.
void NotifyShell(DWORD message) {
    if (!tTray.shell) tTray.shell.reset(LoadLibraryA("shell32.dll"));
    if (!tTray.shell) return;
    const auto notify = reinterpret_cast<decltype(&Shell_NotifyIconA)>(
        reinterpret_cast<void (*)()>(GetProcAddress(tTray.shell.get(), "Shell_NotifyIconA")));
    if (notify) notify(message, &tTray.icon);
}

// Answered by API_TrayWindowProc alone; tells whether the procedure is still
// in a window's chain.
UINT ProbeMessage() {
    static const UINT probe = RegisterWindowMessageA("GlimTray.Probe");
    return probe;
}
constexpr LRESULT kProbeAnswer = 0x7A7;

WNDPROC CurrentProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

WNDPROC PreviousOf(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(GetPropA(hWnd, kPreviousProp));
}

void Install(HWND hWnd) {
    if (PreviousOf(hWnd)) {
        // Left in the chain by an earlier removal: use that copy again
        // rather than recording ourselves as the previous procedure.
        if (SendMessageA(hWnd, ProbeMessage(), 0, 0) == kProbeAnswer) {
            tTray.previous = PreviousOf(hWnd);
            return;
        }
        RemovePropA(hWnd, kPreviousProp);
    }
    // On top of whatever is there, the shared subclassing procedure
    // included: that one leaves a procedure installed above it in place.
    const WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&API_TrayWindowProc)));
    if (!previous) RaiseError(kErrInvalidCall);
    SetPropA(hWnd, kPreviousProp, reinterpret_cast<HANDLE>(previous));
    tTray.previous = previous;
}

// Takes the tray procedure out of the window's chain where that is safe.
// With somebody else's procedure on top it stays as a pass-through and steps
// out the next time it is on top.
void Uninstall(HWND hWnd) {
    const WNDPROC previous = PreviousOf(hWnd);
    if (!previous || CurrentProc(hWnd) != &API_TrayWindowProc) return;
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(hWnd, kPreviousProp);
}

void AddAboutItem(HWND hWnd) {
    HMENU sys = GetSystemMenu(hWnd, FALSE);
    if (!sys || GetMenuState(sys, tTray.aboutCommand, MF_BYCOMMAND) != static_cast<UINT>(-1)) return;
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sys, MF_STRING, tTray.aboutCommand, kAboutItemText);
}

void RemoveAboutItem(HWND hWnd) {
    HMENU sys = GetSystemMenu(hWnd, FALSE);
    if (!sys) return;
    const int count = GetMenuItemCount(sys);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(sys, i) != tTray.aboutCommand) continue;
        DeleteMenu(sys, i, MF_BYPOSITION);
        if (i > 0 && (GetMenuState(sys, i - 1, MF_BYPOSITION) & MF_SEPARATOR))
            DeleteMenu(sys, i - 1, MF_BYPOSITION);
        return;
    }
}

HICON IconOf(IDispatch* form) {
    Variant v = GetProperty(form, "Icon");
    if (V_VT(v.get()) != VT_DISPATCH && V_VT(v.get()) != VT_UNKNOWN) return nullptr;
    const OLE_HANDLE h = PictureHandle(V_UNKNOWN(v.get()));
    return HandleFromOle<HICON>(h);
}

// The references of a removed icon, released only when the caller is done
// with the form (it may be inside the form's own message handling).
struct Released {
    ComPtr<IDispatch> form;
    ComPtr<IDispatch> menu;
};

Released RemoveIcon() {
    Released released;
    if (!tTray.shown) return released;
    tTray.shown = false;
    tTray.icon.uFlags = 0;
    NotifyShell(NIM_DELETE);
    tTray.shell.reset();
    if (IsWindow(tTray.icon.hWnd)) {
        RemoveAboutItem(tTray.icon.hWnd);
        Uninstall(tTray.icon.hWnd);
    }
    // The record lets go of the form so that a closed form is not kept
    // alive by the thread until it ends.
    released.form = std::move(tTray.form);
    released.menu = std::move(tTray.menu);
    tTray.form.reset();
    tTray.menu.reset();
    tTray.previous = nullptr;
    return released;
}

void OnIconMessage(LPARAM lParam) {
    // Held for the length of the call: the handler may unload the form.
    const ComPtr<IDispatch> form = tTray.form;
    if (lParam == WM_LBUTTONUP) {
        CallMethod(form.get(), "SetFocus");
    } else {
        // A notification-area menu closes on a click elsewhere only when its
        // owner is the foreground window; the posted message lets the menu
        // loop end properly once it returns.
        const HWND owner = tTray.icon.hWnd;
        SetForegroundWindow(owner);
        Variant menu = Variant::Object(tTray.menu.get());
        CallMethod(form.get(), "PopupMenu", {*menu});
        if (IsWindow(owner)) PostMessageA(owner, WM_NULL, 0, 0);
    }
}

LRESULT PassThrough(HWND hWnd, WNDPROC previous, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (CurrentProc(hWnd) == &API_TrayWindowProc) {
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hWnd, kPreviousProp);
    } else if (uMsg == WM_NCDESTROY) {
        RemovePropA(hWnd, kPreviousProp);
    }
    return CallWindowProcA(previous, hWnd, uMsg, wParam, lParam);
}

} // namespace

std::array<char, kTrayTipSize> API_TrayTipField(const std::wstring& text) {
    std::array<char, kTrayTipSize> field;
    field.fill(' ');
    field.back() = '\0';
    const std::string bytes = text.empty() ? std::string() : Narrow(text);
    // Whole characters only: a lead byte whose trail does not fit is dropped
    // with it.
    size_t used = 0;
    while (used < bytes.size()) {
        const size_t width = IsDBCSLeadByte(static_cast<BYTE>(bytes[used])) ? 2 : 1;
        if (used + width > kTrayTipSize - 1 || used + width > bytes.size()) break;
        used += width;
    }
    std::memcpy(field.data(), bytes.data(), used);
    return field;
}

void API_AddTrayIcon(IDispatch* form, IDispatch* menu) {
    const HWND hWnd = GetProperty(form, "hWnd").ToHandle();
    if (!IsWindow(hWnd) || !MSubclass_IsMyWindow(hWnd)) RaiseError(kErrInvalidCall);
    const HICON icon = IconOf(form);

    // One icon per thread: the earlier one goes first.
    Released earlier = RemoveIcon();
    Install(hWnd);
    tTray.form = form;
    tTray.menu = menu;
    tTray.icon.cbSize = kIconRecordSize;
    tTray.icon.hWnd = hWnd;
    tTray.icon.uID = 0;
    tTray.icon.hIcon = icon;
    tTray.icon.uCallbackMessage = kTrayCallbackMessage;
    tTray.icon.uFlags = NIF_MESSAGE | NIF_ICON;
    tTray.shown = true;
    AddAboutItem(hWnd);
    NotifyShell(NIM_ADD);
}

void API_SetTrayTip(const std::wstring& text) {
    const auto field = API_TrayTipField(text);
    std::memcpy(tTray.icon.szTip, field.data(), field.size());
    if (!tTray.shown) return;
    tTray.icon.uFlags = NIF_TIP;
    NotifyShell(NIM_MODIFY);
}

void API_RemoveTrayIcon() {
    RemoveIcon();
}

LRESULT CALLBACK API_TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == ProbeMessage()) return kProbeAnswer;
    const WNDPROC previous = PreviousOf(hWnd);
    if (!previous) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    if (!tTray.shown || tTray.icon.hWnd != hWnd) return PassThrough(hWnd, previous, uMsg, wParam, lParam);

    try {
        switch (uMsg) {
        case kTrayCallbackMessage:
            if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP) {
                OnIconMessage(lParam);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == tTray.aboutCommand) {
                frmAbout::ShowModal();
                return 0;
            }
            break;
        case WM_DESTROY:
        case WM_NCDESTROY: {
            // A form that goes takes its icon with it.
            Released gone = RemoveIcon();
            return CallWindowProcA(previous, hWnd, uMsg, wParam, lParam);
        }
        default:
            break;
        }
    } catch (...) {
        // A failing form or menu must not unwind through the system's dispatch.
        return 0;
    }
    return CallWindowProcA(previous, hWnd, uMsg, wParam, lParam);
}

} // namespace glim
