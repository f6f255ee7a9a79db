#pragma once
// Versolo's forms in the test program, driven by real input.
#include "Form1.h"
#include "HostTestUtil.h"
#include "HostForm.h"
#include "Label.h"
#include "LateBound.h"
#include "TextBox.h"
#include "input.h"

#include <functional>
#include <string>

namespace editortest {

// Pumps the forms' messages until pred holds or the deadline passes.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000) {
    return hosttest::PumpHostUntil(pred, timeoutMs);
}

// Screen centre of a window.
POINT CenterOf(HWND hwnd);

// The script clicks the bar item, waits for its popup and clicks the item.
void ClickMenuItem(HWND form, int barIndex, int itemIndex);

// Types a file name into the dialog that comes up and presses Enter (or
// presses Escape when the name is empty).
void AnswerFileDialog(const std::wstring& name);

// Writes the window's screen rectangle as a PNG beside the test program.
bool Screenshot(HWND hwnd, const std::string& file);

std::wstring WideCaption(glim::host::Label* label);

} // namespace editortest
