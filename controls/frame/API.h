#pragma once
// The notification-area icon of one form per thread.  The form's window is
// subclassed with API_TrayWindowProc, by address and outside MSubclass, to
// receive the icon's callback message and the About command of the form's
// system menu.
#include <windows.h>
#include <oaidl.h>

#include <array>
#include <string>

namespace glim {

// uCallbackMessage of the icon record.
inline constexpr UINT kTrayCallbackMessage = 2025;
// Size of the tip field of the first-form icon record, terminator included.
inline constexpr size_t kTrayTipSize = 64;
// The private system command of the "About" item the icon adds to the form's
// system menu (below 0xF000, low four bits clear as WM_SYSCOMMAND wants).
inline constexpr UINT kAboutCommand = 0x0AB0;

// Adds the icon with the form's Icon picture and subclasses its window; a
// right-button release pops up menu.  An icon shown before is removed first.
// form and menu are late-bound form and menu objects.
void API_AddTrayIcon(IDispatch* form, IDispatch* menu);

// Sets the tip of the icon.
void API_SetTrayTip(const std::wstring& text);

// Deletes the icon and unhooks the form; does nothing without an icon.
void API_RemoveTrayIcon();

// The window procedure installed on the form.
LRESULT CALLBACK API_TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The tip field for text: the system code page's bytes, cut on a character
// boundary, padded with blanks and terminated.
std::array<char, kTrayTipSize> API_TrayTipField(const std::wstring& text);

} // namespace glim
