#pragma once
// The form runtime's interaction procedures: message boxes, pumping pending
// messages and sending keys.
#include <windows.h>

#include <string>

namespace glim {

// The title a message box gets when none is given.
inline constexpr const char* kDefaultMsgBoxTitle = "GlimFormControl";

// MessageBoxA owned by the thread's active window; returns the button id.
int MsgBox(const std::string& prompt, UINT buttons = MB_OK, const std::string& title = kDefaultMsgBoxTitle);
// Dispatches the thread's pending messages until none is left or a handler
// sets *stop.  False once WM_QUIT was seen; it is posted again so that the
// outer loop still ends.
bool DoEvents(const bool* stop = nullptr);
// Sends keys to the focused window without waiting: "+{TAB}", "{TAB}", "^a" ...
void SendKeys(const std::string& keys);

} // namespace glim
