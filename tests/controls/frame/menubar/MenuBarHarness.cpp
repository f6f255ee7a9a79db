#include "MenuBarHarness.h"

namespace mbtest {

namespace {
Host* gHost = nullptr;         // the one live host
MenuScript* gScript = nullptr; // the one running script
} // namespace

Host::Host(bool visible, int w, int h)
    : window_(WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), w, h, &Host::Proc) {
    gHost = this;
    if (visible) {
        SetForegroundWindow(hwnd());
        glimtest::PumpPending();
    }
}

Host::~Host() {
    if (bar) bar->Detach();
    bar.reset();
    gHost = nullptr;
}

long Host::Count(UINT msg) const {
    long n = 0;
    for (const Recorded& r : log)
        if (r.msg == msg) ++n;
    return n;
}

LRESULT CALLBACK Host::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host* host = gHost;
    if (!host) return DefWindowProcA(hWnd, msg, wParam, lParam);
    host->log.push_back(Recorded{msg, wParam, lParam});
    switch (msg) {
    case WM_INITMENUPOPUP:
        host->opened.push_back(reinterpret_cast<HMENU>(wParam));
        if (HIWORD(lParam) == 0 && host->bar)
            host->bar->cMenuBar_PreparePopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_EXITMENULOOP:
        if (host->bar) host->bar->cMenuBar_RestoreMenus();
        return 0;
    case WM_COMMAND:
        host->commands.push_back(LOWORD(wParam));
        return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return host->ownerDrawAnswer;
    case WM_MENUCHAR:
        return host->ownerDrawAnswer;
    default:
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
}

Surface::Surface(int w, int h, COLORREF fill) : w_(w), h_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    Fill(fill);
}

Surface::~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Surface::Fill(COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    RECT rc{0, 0, w_, h_};
    FillRect(dc_, &rc, brush);
    DeleteObject(brush);
}

int Surface::CountColor(COLORREF c, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (GetPixel(dc_, x, y) == c) ++n;
    return n;
}

int Surface::CountNear(COLORREF c, int tol, int x0, int y0, int x1, int y1) const {
    auto within = [tol](int a, int b) { return a - b <= tol && b - a <= tol; };
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const COLORREF p = GetPixel(dc_, x, y);
            if (within(GetRValue(p), GetRValue(c)) && within(GetGValue(p), GetGValue(c)) &&
                within(GetBValue(p), GetBValue(c)))
                ++n;
        }
    return n;
}

HMENU MakePopup(std::initializer_list<const char*> texts, UINT firstId) {
    HMENU popup = CreatePopupMenu();
    UINT id = firstId;
    for (const char* t : texts) {
        if (t)
            AppendMenuA(popup, MF_STRING, id++, t);
        else
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    }
    return popup;
}

MenuScript::MenuScript(HWND owner, DWORD deadlineMs) : owner_(owner), deadline_(deadlineMs) {}

MenuScript::~MenuScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (gScript == this) gScript = nullptr;
}

MenuScript& MenuScript::Then(std::function<bool()> ready, std::function<void()> act) {
    steps_.push_back(Step{std::move(ready), std::move(act)});
    return *this;
}

MenuScript& MenuScript::Key(WPARAM vk, std::function<bool()> ready) {
    const HWND owner = owner_;
    return Then(std::move(ready), [owner, vk] { PostMessageA(owner, WM_KEYDOWN, vk, 1); });
}

void MenuScript::Start() {
    gScript = this;
    started_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, 20, &MenuScript::Tick);
}

VOID CALLBACK MenuScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (gScript) gScript->OnTick();
}

void MenuScript::OnTick() {
    if (!timedOut_ && GetTickCount() - started_ > deadline_) timedOut_ = true;
    if (timedOut_) {
        EndMenu();
        PostMessageA(owner_, WM_CANCELMODE, 0, 0);
        return;
    }
    if (next_ >= steps_.size()) return;
    Step& step = steps_[next_];
    if (step.ready && !step.ready()) return;
    ++next_;
    step.act();
}

HWND OpenPopupWindow() {
    HWND w = FindWindowA("#32768", nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

int OpenPopupCount() {
    int n = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr))
        n += IsWindowVisible(w) ? 1 : 0;
    return n;
}

POINT BarItemCenter(const glim::cMenuBar& bar, long n) {
    const RECT r = bar.BarRect(n);
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar.hWnd(), &pt);
    return pt;
}

LRESULT MouseAt(HWND hWnd, UINT msg, POINT screen) {
    SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ScreenToClient(hWnd, &client);
    return SendMessageA(hWnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                        MAKELPARAM(static_cast<short>(client.x), static_cast<short>(client.y)));
}

} // namespace mbtest
