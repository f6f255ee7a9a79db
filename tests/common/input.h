#pragma once
// Input the way a person gives it: SendInput through the system's input
// queue, at screen positions of what was painted.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace glimtest {

// One mouse event: buttons (MOUSEEVENTF_LEFTDOWN, ...) where the pointer is,
// or a move by (x, y) (to it on the 0..65535 scale with MOUSEEVENTF_ABSOLUTE).
void SendMouse(DWORD flags, LONG x = 0, LONG y = 0);
// Moves the pointer to a screen point (an absolute move, stopped at the
// screen's edges) and pumps until it is there.
void MoveTo(POINT screen);
// Button events (MOUSEEVENTF_LEFTDOWN, ...) where the pointer is, in order.
void MouseButtons(std::initializer_list<DWORD> flags);
// Moves the pointer to a screen point and clicks the left button there.
void ClickAt(POINT screen);
// Clicks the client point (x, y) of a window.
void ClickClient(HWND hwnd, int x, int y);
// Types text as Unicode key strokes.
void TypeText(const std::wstring& text);
// Presses and releases one virtual key, with Shift held around it when asked.
void PressKey(WORD vk, bool shift = false);

// The first visible top-level dialog window (#32770) of this process whose
// title contains a text (any title when empty) and, when given, that an owner
// owns; null when there is none.  The topmost comes first.
HWND FindDialog(const std::wstring& titlePart = L"", HWND owner = nullptr);
// The texts of a dialog's static controls, joined by new lines.
std::wstring DialogText(HWND dialog);

// Runs a script of input on another thread while this one pumps messages
// (menus and dialogs run modal loops inside the pump).
class BackgroundInput {
  public:
    explicit BackgroundInput(std::function<void()> script);
    ~BackgroundInput();
    BackgroundInput(const BackgroundInput&) = delete;
    BackgroundInput& operator=(const BackgroundInput&) = delete;
    bool Finished() const;
    void Join();

  private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> script_;
    HANDLE thread_ = nullptr;
};

// For threads without a message queue: polls pred until it holds or the
// deadline passes.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// The visible popup menu window of the desktop, or null.
HWND FindPopupMenu();

// Runs an action on another thread once a dialog of this process is up,
// while this thread sits in the dialog's modal loop.  Join waits for it.
class DialogWatcher {
  public:
    using Action = std::function<void(HWND dialog)>;
    DialogWatcher(Action action, DWORD timeoutMs = 10000, const std::wstring& titlePart = L"");
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    // True when the dialog came up and the action ran.
    bool Join();
    // The watch is over (the action ran or the time ran out); does not wait.
    bool Finished() const;

  private:
    static DWORD WINAPI Run(void* self);
    Action action_;
    DWORD timeoutMs_;
    std::wstring titlePart_;
    HANDLE thread_ = nullptr;
    bool ran_ = false;
};

} // namespace glimtest
