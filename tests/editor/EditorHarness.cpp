#include "EditorHarness.h"

#include "Text.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>

namespace editortest {

POINT CenterOf(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

namespace {

// Waits for find() to return a window; the step fails when none comes.
HWND Await(const std::string& what, const std::function<HWND()>& find) {
    HWND found = nullptr;
    if (!glimtest::WaitFor([&] { return (found = find()) != nullptr; }, kStepMs))
        throw ScriptFailure("no " + what + " came up");
    return found;
}

void Expect(const std::string& failure, const std::function<bool()>& pred) {
    if (!glimtest::WaitFor(pred, kStepMs)) throw ScriptFailure(failure);
}

// A dialog of the owner that takes input: a dialog is disabled while a box
// it owns is up.
HWND EnabledDialog(HWND owner, const std::wstring& title = L"") {
    HWND dialog = glimtest::FindDialog(title, owner);
    return dialog && IsWindowEnabled(dialog) ? dialog : nullptr;
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Where keys go: the focus of the dialog's thread, once the dialog is the
// foreground window and the focus is inside it (a dialog shows before it
// sets its focus); null before.
HWND KeysGoTo(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetForegroundWindow() != dialog ||
        !GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info))
        return nullptr;
    return info.hwndFocus && IsChild(dialog, info.hwndFocus) ? info.hwndFocus : nullptr;
}

// Clicks a button of a dialog once the dialog's thread has made it active
// and put the focus in it, and waits for the dialog to close.
void ClickToClose(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) throw ScriptFailure("the dialog has no button " + std::to_string(id));
    Expect("the dialog did not come to the front",
           [&] { return KeysGoTo(dialog) && IsWindowVisible(button) && IsWindowEnabled(button); });
    const POINT at = CenterOf(button);
    glimtest::ClickAt(at);
    if (glimtest::WaitFor([&] { return !IsWindow(dialog); }, kStepMs)) return;
    // Where the click went, for the failure message.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    POINT cursor{};
    GetCursorPos(&cursor);
    char where[160];
    snprintf(where, sizeof where, " at %ld,%ld (pointer %ld,%ld, window there %p, capture %p, focus %p)",
             at.x, at.y, cursor.x, cursor.y, static_cast<void*>(WindowFromPoint(at)),
             static_cast<void*>(info.hwndCapture), static_cast<void*>(info.hwndFocus));
    throw ScriptFailure("the dialog stayed open after a click on its button " + std::to_string(id) + where);
}

HMENU MenuOf(HWND popup) {
    DWORD_PTR menu = 0;
    SendMessageTimeoutW(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, kStepMs, &menu);
    return reinterpret_cast<HMENU>(menu);
}

POINT Middle(const RECT& rc) {
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// What a failed script leaves open, for the failure message.
std::string OpenWindows() {
    std::string open;
    if (glimtest::FindPopupMenu()) open += " [a menu]";
    for (HWND dialog = glimtest::FindDialog(); dialog; dialog = GetWindow(dialog, GW_OWNER)) {
        wchar_t cls[16] = {};
        GetClassNameW(dialog, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0) break;
        open +=
            " [" + glim::Narrow((WindowText(dialog) + L": " + glimtest::DialogText(dialog)).c_str()) + "]";
    }
    return open;
}

// Ends the menu and the topmost dialog of this process the way their own
// Escape would (a Yes/No box has no Cancel and takes No).
void CloseTopmost() {
    EndMenu();
    if (HWND dialog = glimtest::FindDialog()) {
        const bool yesNo = !GetDlgItem(dialog, IDCANCEL) && GetDlgItem(dialog, IDNO);
        PostMessageW(dialog, WM_COMMAND, yesNo ? IDNO : IDCANCEL, 0);
    }
}

} // namespace

std::string RunScript(const std::function<void()>& steps, DWORD patience) {
    std::string failure;
    std::atomic<bool> stepsOver{false}, ownerBack{false};
    // The owner is back in its own pump after the steps, so out of every
    // modal loop, and nothing of this process is open.
    const auto settled = [&] { return ownerBack && !glimtest::FindDialog() && !glimtest::FindPopupMenu(); };
    glimtest::BackgroundInput script([&] {
        try {
            steps();
        } catch (const ScriptFailure& e) {
            failure = e.what();
        }
        stepsOver = true;
        // A failed step has left its window open: no use waiting for it.
        if (failure.empty() && glimtest::WaitFor(settled, patience)) return;
        if (failure.empty()) failure = "the script is over but this is still open:";
        failure += OpenWindows();
        for (int round = 0; round < 100 && !settled(); ++round) {
            CloseTopmost();
            glimtest::WaitFor(settled, 300);
        }
    });
    const bool ended = PumpUntil(
        [&] {
            ownerBack = stepsOver.load();
            return script.Finished();
        },
        10 * kStepMs + patience);
    script.Join();
    return ended ? failure : failure + " (the script outlived its deadline)";
}

void ClickMenuItem(HWND form, int barIndex, int itemIndex) {
    HMENU bar = GetMenu(form), sub = GetSubMenu(bar, barIndex);
    RECT rc{};
    if (!GetMenuItemRect(form, bar, static_cast<UINT>(barIndex), &rc))
        throw ScriptFailure("the form has no menu bar item " + std::to_string(barIndex));
    glimtest::ClickAt(Middle(rc));
    Await("popup menu", [&] {
        HWND popup = glimtest::FindPopupMenu();
        return popup && MenuOf(popup) == sub ? popup : nullptr;
    });
    if (!GetMenuItemRect(nullptr, sub, static_cast<UINT>(itemIndex), &rc))
        throw ScriptFailure("the menu has no item " + std::to_string(itemIndex));
    glimtest::ClickAt(Middle(rc));
    Expect("the menu stayed open after a click on its item", [] { return !glimtest::FindPopupMenu(); });
}

void ClickCloseBox(HWND form) {
    RECT rc{};
    GetWindowRect(form, &rc);
    const int y = rc.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    int left = INT_MAX, right = -1;
    for (int x = rc.left; x < rc.right; ++x) {
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(form, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kStepMs, &hit);
        if (hit == HTCLOSE) left = std::min(left, x), right = x;
    }
    if (right < 0) throw ScriptFailure("the form has no close box");
    glimtest::ClickAt({(left + right) / 2, y});
}

void AnswerFileDialog(HWND form, const std::wstring& name) {
    HWND dialog = Await("file dialog", [&] { return EnabledDialog(form); });
    if (name.empty()) {
        ClickToClose(dialog, IDCANCEL);
        return;
    }
    HWND box = nullptr;
    Expect("the file dialog's name box did not take the focus", [&] {
        wchar_t cls[16] = {};
        if ((box = KeysGoTo(dialog)) != nullptr) GetClassNameW(box, cls, 16);
        return lstrcmpiW(cls, L"Edit") == 0;
    });
    // While its folder view comes up the dialog may take the focus or write
    // the name box itself (a file it selects): a person looks, clicks into
    // the box and types again.
    const DWORD start = GetTickCount();
    std::wstring held;
    for (;;) {
        if (KeysGoTo(dialog) != box) glimtest::ClickAt(CenterOf(box));
        Expect("the file dialog's name box did not take the focus back",
               [&] { return KeysGoTo(dialog) == box; });
        SendMessageW(box, EM_SETSEL, 0, -1);
        glimtest::TypeText(name);
        if (glimtest::WaitFor([&] { return (held = WindowText(box)) == name; }, kStepMs / 10)) break;
        if (GetTickCount() - start >= kStepMs)
            throw ScriptFailure("the file dialog's name box holds \"" + glim::Narrow(held.c_str()) +
                                "\", not the name typed");
    }
    glimtest::PressKey(VK_RETURN);
}

void AnswerFileQuestion(HWND form, int button) {
    HWND ask = Await("question of the file dialog", [&] {
        HWND dialog = glimtest::FindDialog(L"", form);
        HWND box = dialog ? EnabledDialog(dialog) : nullptr;
        return box && GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) ? box : nullptr;
    });
    ClickToClose(ask, button);
}

std::wstring AnswerMessageBox(HWND form, const std::wstring& title, int button) {
    HWND box = Await(glim::Narrow(title.c_str()) + " box", [&] {
        HWND found = EnabledDialog(form, title);
        return found && GetDlgItem(found, button) ? found : nullptr;
    });
    const std::wstring text = glimtest::DialogText(box);
    ClickToClose(box, button);
    return text;
}

std::wstring WideCaption(glim::host::Label* label) {
    return glim::Widen(label->Caption());
}

} // namespace editortest
