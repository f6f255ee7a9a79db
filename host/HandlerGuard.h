#pragma once
// Runs a program's event handler the way the form runtime does: an error
// the handler does not catch is shown with its number and text, and the
// program goes on (its documents stay open).  Every handler the host calls
// (events, menu items, timers, text boxes, a form's close question) runs
// through it, whatever it throws.
#include <windows.h>

#include <functional>
#include <string>

namespace glim::host {

// True when the handler returned normally.
bool RunHandler(const std::function<void()>& handler);

// The message box shown for an error that reached the runtime; its owner
// is the active window of the thread.
void ShowRuntimeError(long number, const std::string& description);

} // namespace glim::host
