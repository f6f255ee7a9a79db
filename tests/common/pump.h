#pragma once
#include "NonCopyable.h"

#include <windows.h>

#include <functional>

namespace glimtest {

// Dispatches the thread's pending messages and returns at once.
void PumpPending();

// Pumps messages until pred() holds or the deadline passes; returns pred().
// Waits on the queue, not on a fixed sleep, so speed of the machine only
// matters for how soon it returns.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);

// Pumps for at least the given time (for checking that something does NOT happen).
void PumpFor(DWORD ms);

// Registers a window class of the program with the arrow cursor and the
// window colour; false when that failed.
bool RegisterPlainClass(const char* name, WNDPROC proc);

// A top-level window with a plain procedure, destroyed with the object
// unless a test destroyed it first.
class TestWindow : glim::NonCopyable {
  public:
    explicit TestWindow(DWORD style = WS_OVERLAPPEDWINDOW, int w = 300, int h = 200, WNDPROC proc = nullptr);
    ~TestWindow();
    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

  protected:
    // Takes a window a harness made with a class of its own.
    explicit TestWindow(HWND made) : hwnd_(made) {}

  private:
    HWND hwnd_ = nullptr;
};

// Live GDI objects and USER objects (windows and menus) of this process,
// counted by probing the handle tables (an index without its generation
// names the live object there), which works where GetGuiResources does not.
int CountGdiObjects();
int CountUserObjects();

// Colour of one pixel of a window, read from its window DC (non-client
// coordinates) or its client DC.
COLORREF WindowPixel(HWND hwnd, int x, int y);
COLORREF ClientPixel(HWND hwnd, int x, int y);

} // namespace glimtest
