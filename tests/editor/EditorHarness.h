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
#include <stdexcept>
#include <string>

namespace editortest {

// Pumps the forms' messages until pred holds or the deadline passes.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000) {
    return hosttest::PumpHostUntil(pred, timeoutMs);
}

// Screen centre of a window.
POINT CenterOf(HWND hwnd);

// How long a script step waits for its window: a loaded machine takes
// seconds to build a file dialog.
inline constexpr DWORD kStepMs = 30000;

// A script step whose window did not come up or did not take its input.
struct ScriptFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs a script of input on another thread while this one pumps the forms'
// messages (menus and dialogs run their modal loops inside the pump), and
// returns what went wrong, empty when nothing did.  Each step waits for the
// exact window it answers and throws ScriptFailure when it does not come;
// then, and whenever a dialog or menu outlives the script by `patience`,
// what this process has open is closed, so that this thread leaves every
// modal loop and the test fails instead of hanging.
std::string RunScript(const std::function<void()>& steps, DWORD patience = kStepMs);

// Script steps, for RunScript's thread.
// Clicks the bar item of the form's menu, waits for its popup and clicks the item.
void ClickMenuItem(HWND form, int barIndex, int itemIndex);
// Clicks the middle of the form's close box, where the frame answers
// HTCLOSE to a hit test.
void ClickCloseBox(HWND form);
// Waits for the file dialog of the form, types a name into its name box and
// presses Enter; clicks Cancel when the name is empty.
void AnswerFileDialog(HWND form, const std::wstring& name);
// Waits for the file dialog's own question (replace an existing file?), a
// box the dialog owns, and clicks its IDYES or IDNO button.
void AnswerFileQuestion(HWND form, int button);
// Waits for the form's message box with a title, clicks one of its buttons
// and returns the box's text.
std::wstring AnswerMessageBox(HWND form, const std::wstring& title, int button);

std::wstring WideCaption(glim::host::Label* label);

} // namespace editortest
