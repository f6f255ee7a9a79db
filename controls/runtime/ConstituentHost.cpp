#include "ConstituentHost.h"

#include "Constituent.h"
#include "DisplayCache.h"
#include "Handles.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

namespace glim {

namespace {

// A hooked window of this thread: its host (null once the host let go while
// another hook sat above ours) and its procedure before our hook.  Kept in
// the process: a window property is a round trip to the server, and the hook
// read two at every message.
struct HookedWindow {
    ConstituentHost* host; // uncounted: the host takes itself out before it goes
    WNDPROC previous;
};
thread_local std::unordered_map<HWND, HookedWindow> t_hooked;

// Runs one event handler (a copy, as the handler may delete its part); its
// errors must not unwind through the system.
template <class F>
void RunHandler(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

} // namespace

ConstituentHost::ConstituentHost(SurfaceWindow& owner) : owner_(owner) {}

ConstituentHost::~ConstituentHost() {
    Detach();
    for (Constituent* c : parts_)
        c->host_ = nullptr;
}

void ConstituentHost::Attach() {
    if (hwnd_) return;
    HWND h = owner_.hWnd();
    if (!h) return;
    hwnd_ = h;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ConstituentHost::HookProc)));
    t_hooked[h] = HookedWindow{this, previous_};
    // A copy: attaching may add parts (a picture box's own labels live elsewhere).
    const std::vector<Constituent*> parts = parts_;
    for (Constituent* c : parts)
        c->OnHostAttached();
    if (IsWindowVisible(h)) InvalidateRect(h, nullptr, FALSE);
}

void ConstituentHost::Detach() {
    if (!hwnd_) return;
    const std::vector<Constituent*> parts = parts_;
    for (Constituent* c : parts)
        c->OnHostDetached();
    Unhook();
}

void ConstituentHost::Unhook() {
    HWND h = std::exchange(hwnd_, nullptr);
    pressed_ = nullptr;
    press_.Forget();
    if (!h) return;
    const auto hooked = t_hooked.find(h);
    if (!IsWindow(h)) {
        if (hooked != t_hooked.end()) t_hooked.erase(hooked);
        return;
    }
    // Someone hooked after us: our procedure stays and passes everything on.
    if (GetWindowLongPtrA(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ConstituentHost::HookProc)) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        if (hooked != t_hooked.end()) t_hooked.erase(hooked);
    } else if (hooked != t_hooked.end()) {
        hooked->second.host = nullptr;
    }
    if (IsWindowVisible(h)) InvalidateRect(h, nullptr, FALSE);
}

void ConstituentHost::Add(Constituent* c) {
    parts_.push_back(c);
}

void ConstituentHost::Remove(Constituent* c) {
    parts_.erase(std::remove(parts_.begin(), parts_.end(), c), parts_.end());
    if (pressed_ == c) {
        pressed_ = nullptr;
        press_.Cancel(hwnd_);
    }
}

void ConstituentHost::Raise(Constituent* c, bool toFront) {
    auto it = std::find(parts_.begin(), parts_.end(), c);
    if (it == parts_.end()) return;
    parts_.erase(it);
    if (toFront)
        parts_.push_back(c);
    else
        parts_.insert(parts_.begin(), c);
}

bool ConstituentHost::Holds(const Constituent* c) const {
    return std::find(parts_.begin(), parts_.end(), c) != parts_.end();
}

void ConstituentHost::InvalidatePixels(const RECT& r) const {
    // A window not on screen gets no paint, and showing it paints it whole:
    // a part changed while its form is built asks the server nothing.
    if (hwnd_ && IsWindowVisible(hwnd_)) InvalidateRect(hwnd_, &r, FALSE);
}

void ConstituentHost::UpdateNow() const {
    if (hwnd_ && IsWindowVisible(hwnd_)) UpdateWindow(hwnd_);
}

LRESULT CALLBACK ConstituentHost::HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto hooked = t_hooked.find(hwnd);
    if (hooked == t_hooked.end()) return DefWindowProcA(hwnd, msg, wp, lp);
    ConstituentHost* self = hooked->second.host;
    if (self && self->hwnd_ == hwnd) return self->HandleMessage(msg, wp, lp);
    const WNDPROC previous = hooked->second.previous;
    // The handle may be given to another window once this one is gone.
    if (msg == WM_NCDESTROY) t_hooked.erase(hooked);
    return previous ? CallWindowProcA(previous, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT ConstituentHost::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const {
    return CallWindowProcA(previous_, hwnd_, msg, wp, lp);
}

LRESULT ConstituentHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEMOVE || ButtonMessageOf(msg)) {
        // The owner outlives the events its parts raise here.
        SurfaceWindow::Hold hold(owner_);
        std::weak_ptr<int> alive = alive_;
        HWND h = hwnd_;
        WNDPROC previous = previous_;
        if (RouteMouse(msg, wp, lp)) return 0;
        if (alive.expired() || !hwnd_) return IsWindow(h) ? CallWindowProcA(previous, h, msg, wp, lp) : 0;
        return CallPrevious(msg, wp, lp);
    }
    switch (msg) {
    case WM_PAINT:
        if (std::any_of(parts_.begin(), parts_.end(),
                        [](const Constituent* c) { return c->windowless_ && c->visible_; }))
            Compose();
        // The owner still sees its paint (with nothing left to show).
        return CallPrevious(msg, wp, lp);
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd_) {
            pressed_ = nullptr;
            press_.Forget();
        }
        return CallPrevious(msg, wp, lp);
    case WM_NCDESTROY: {
        // Children are gone already; the window goes now.
        HWND h = hwnd_;
        WNDPROC previous = previous_;
        const std::vector<Constituent*> parts = parts_;
        for (Constituent* c : parts)
            c->OnHostDetached();
        Unhook();
        return CallWindowProcA(previous, h, msg, wp, lp);
    }
    default:
        return CallPrevious(msg, wp, lp);
    }
}

void ConstituentHost::Compose() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const RECT area = ps.rcPaint;
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w > 0 && h > 0) {
        // Composed off screen so the parts never flicker over the surface.
        OwnedDC mem(CreateCompatibleDC(dc));
        OwnedBitmap bmp(CreateScreenBitmap(w, h));
        if (mem && bmp) {
            SelectGuard keep(mem.get(), bmp.get());
            SetViewportOrgEx(mem.get(), -area.left, -area.top, nullptr);
            owner_.Canvas().Show(mem.get(), area);
            for (Constituent* c : parts_) {
                if (!c->windowless_ || !c->visible_) continue;
                RECT r = c->PixelRect(), hit{};
                if (!IntersectRect(&hit, &r, &area)) continue;
                const int saved = SaveDC(mem.get());
                IntersectClipRect(mem.get(), r.left, r.top, r.right, r.bottom);
                // One part failing to draw leaves the others drawn.
                RunHandler([&] { c->Draw(mem.get()); });
                RestoreDC(mem.get(), saved);
            }
            BitBlt(dc, area.left, area.top, w, h, mem.get(), area.left, area.top, SRCCOPY);
        } else {
            owner_.Canvas().Show(dc, area);
        }
    }
    EndPaint(hwnd_, &ps);
}

Constituent* ConstituentHost::PartAt(POINT pt) const {
    for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) {
        Constituent* c = *it;
        if (!c->windowless_ || !c->visible_ || !c->TakesMouse()) continue;
        const RECT r = c->PixelRect();
        if (PtInRect(&r, pt)) return c;
    }
    return nullptr;
}

bool ConstituentHost::RouteMouse(UINT msg, WPARAM wp, LPARAM lp) {
    // A press the window took itself, outside every part, keeps its messages
    // till it ends, as a part's press does: its release handed to a part
    // left the window holding the capture, and the next click went to it.
    if (!pressed_ && GetCapture() == hwnd_) return false;
    const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    Constituent* target = pressed_ ? pressed_ : PartAt(pt);
    if (!target) return false;
    const double px = pt.x - target->left_, py = pt.y - target->top_;
    const auto x = static_cast<float>(FromPixelsX(px));
    const auto y = static_cast<float>(FromPixelsY(py));
    const short shift = MouseShiftOf(wp);
    std::weak_ptr<int> alive = alive_;
    // A handler may unload the whole container; stop once that happened.
    auto stillThere = [&] { return !alive.expired() && hwnd_ && Holds(target); };

    if (msg == WM_MOUSEMOVE) {
        if (auto f = target->MouseMove) RunHandler([&] { f(MouseButtonsHeld(wp), shift, x, y); });
        return true;
    }
    const ButtonMessage b = *ButtonMessageOf(msg);
    if (b.down) {
        if (!pressed_) pressed_ = target;
        press_.Press(hwnd_, b.button, b.dblClick);
        if (b.dblClick) {
            if (auto f = target->DblClick) RunHandler(f);
        } else if (auto f = target->MouseDown) {
            RunHandler([&] { f(b.button, shift, x, y); });
        }
        return true;
    }
    // A part holding the press is the target of every message till it ends.
    const bool clicks = press_.Release(hwnd_, b.button);
    if (!press_.Pressed()) pressed_ = nullptr;
    if (auto f = target->MouseUp) RunHandler([&] { f(b.button, shift, x, y); });
    if (!stillThere()) return true;
    const RECT r = target->PixelRect();
    if (clicks && PtInRect(&r, pt))
        if (auto f = target->Click) RunHandler(f);
    return true;
}

} // namespace glim
