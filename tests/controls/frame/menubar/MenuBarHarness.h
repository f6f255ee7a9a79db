#pragma once
// A host window that forwards popup initialisation and the end of the menu
// loop to its menu bar as the frame painter does, records what reaches its
// own procedure, and a timer-driven script for modal menu loops.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cMenuBar.h"
#include "cToolbarMenu.h"
#include "pump.h"

namespace mbtest {

// The target's own background and the bar's normal text colour.
constexpr COLORREF kFill = RGB(0, 128, 0);
constexpr COLORREF kNormal = RGB(255, 0, 0);

struct Recorded {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class Host {
  public:
    explicit Host(bool visible = true, int w = 400, int h = 300);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND hwnd() const { return window_.hwnd(); }
    long Count(UINT msg) const;
    void ClearLog() { log.clear(); }

    glim::Ref<glim::cMenuBar> bar;    // receives WM_INITMENUPOPUP / WM_EXITMENULOOP
    std::vector<Recorded> log;        // every message the host procedure saw
    std::vector<HMENU> opened;        // popups in the order WM_INITMENUPOPUP announced them
    std::vector<UINT> commands;       // WM_COMMAND identifiers
    LRESULT ownerDrawAnswer = 0x5A5A; // answer to WM_MEASUREITEM / WM_DRAWITEM / WM_MENUCHAR it receives

  private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    glimtest::TestWindow window_;
};

// Owned memory DC with a bitmap, filled with one colour.
class Surface {
  public:
    Surface(int w, int h, COLORREF fill);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    // Pixels of one colour inside [x0, x1) x [y0, y1).
    int CountColor(COLORREF c, int x0, int y0, int x1, int y1) const;
    // Pixels within tol of a colour in every channel: small glyphs are antialiased.
    int CountNear(COLORREF c, int tol, int x0, int y0, int x1, int y1) const;
    void Fill(COLORREF c);

  private:
    int w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A menu built from a compact description, destroyed with the object.
class Menu {
  public:
    Menu() : h_(CreateMenu()) {}
    explicit Menu(HMENU popup) : h_(popup) {}
    ~Menu() {
        if (h_) DestroyMenu(h_);
    }
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    HMENU get() const { return h_; }

  private:
    HMENU h_;
};

// A popup with the given texts; ids count up from firstId.
HMENU MakePopup(std::initializer_list<const char*> texts, UINT firstId);

// Steps run one by one from a 20 ms thread timer while a modal menu loop
// runs; each step waits for its condition.  Past the deadline the menu is
// cancelled on every tick so no loop can hang the test.
class MenuScript {
  public:
    explicit MenuScript(HWND owner, DWORD deadlineMs = 6000);
    ~MenuScript();
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    MenuScript& Then(std::function<bool()> ready, std::function<void()> act);
    MenuScript& Key(WPARAM vk, std::function<bool()> ready = nullptr);
    void Start();
    bool Done() const { return next_ >= steps_.size(); }
    bool TimedOut() const { return timedOut_; }
    size_t Passed() const { return next_; }

  private:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    HWND owner_;
    DWORD deadline_;
    DWORD started_ = 0;
    UINT_PTR timer_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool timedOut_ = false;
};

// The visible popup menu window, or null.
HWND OpenPopupWindow();
// Number of visible popup menu windows.
int OpenPopupCount();
// Screen point at the centre of bar item n.
POINT BarItemCenter(const glim::cMenuBar& bar, long n);
// Puts the cursor on a screen point and sends a client mouse message for it,
// the point in client coordinates as the platform gives it.
LRESULT MouseAt(HWND hWnd, UINT msg, POINT screen);

} // namespace mbtest

// What the menu-bar test programs name without qualification.
using glim::cMenuBar;
using glim::MakeRef;
using glim::Ref;
using mbtest::Host;
using mbtest::kFill;
using mbtest::kNormal;
using mbtest::MenuScript;
using mbtest::Surface;
