#pragma once
// Routes chosen messages of any window of the process to ISubclass clients.
// While a window is subclassed its property list holds, under the decimal
// text of its handle (a minus sign for negative values), the previous window
// procedure; the attach counts and client lists are kept in process memory.
#include <windows.h>

#include "ISubclass.h"

namespace glim {

// Error numbers raised by the subclassing module (as 0x80040000 | n).
inline constexpr long kErrCantSubclass = 13081;
inline constexpr long kErrAlreadyHandled = 13082;
inline constexpr long kErrInvalidWindow = 13083;
inline constexpr long kErrExternalWindow = 13084;

// Subscribes iwp to iMsg of hWnd; the first subscription on a window installs
// MSubclass_WindowProc.  Throws glim::Error 13081 to 13084.  The pointer is
// kept uncounted: a client detaches all its messages before it dies.
void AttachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg);

// Unsubscribes; the last one on a window puts the previous procedure back
// when the shared procedure is still the window's procedure.  Under a
// procedure installed since, the shared one stays and passes every message
// through until it is on top again.  Never throws.
void DetachMessage(ISubclass* iwp, HWND hWnd, UINT iMsg) noexcept;

// How many clients iMsg of hWnd has.
long ClientCount(HWND hWnd, UINT iMsg);

// The message being dispatched on this thread (meaningful inside a client).
UINT CurrentMessage();

// Calls the previous procedure of the window being dispatched on this thread.
LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

// The shared window procedure, installed by address.
LRESULT CALLBACK MSubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

// True when hWnd belongs to this process.
bool MSubclass_IsMyWindow(HWND hWnd);

// Throws the module's error n: n <= 1000 alone, otherwise 0x80040000 | n
// with kWindowProcSource and the module's description.
[[noreturn]] void MSubclass_ErrRaise(long n);

} // namespace glim
