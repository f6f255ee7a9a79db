#pragma once
// The container side of constituents: keeps them in z-order, draws the
// windowless ones over the owner's persistent surface at every paint, routes
// mouse input over them to their events, and creates windowed ones once the
// owner's window exists.  The owner's window is subclassed for that.
#include "SurfaceWindow.h"
#include "NonCopyable.h"

#include <memory>
#include <vector>

namespace glim {

class Constituent;

class ConstituentHost : NonCopyable {
  public:
    explicit ConstituentHost(SurfaceWindow& owner);
    ~ConstituentHost();

    // Hooks the owner's window, which must exist; windowed parts create
    // their windows here.  Detach undoes it; the window's end detaches too.
    void Attach();
    void Detach();
    HWND Window() const { return hwnd_; }
    SurfaceWindow& Owner() const { return owner_; }

    // Conversions between the owner's scale and its client pixels.
    double ToPixelsX(double v) const { return owner_.Canvas().ToPixelsX(v); }
    double ToPixelsY(double v) const { return owner_.Canvas().ToPixelsY(v); }
    double FromPixelsX(double v) const { return owner_.Canvas().FromPixelsX(v); }
    double FromPixelsY(double v) const { return owner_.Canvas().FromPixelsY(v); }

    void InvalidatePixels(const RECT& r) const;
    void UpdateNow() const;

  private:
    friend class Constituent;
    void Add(Constituent* c);
    void Remove(Constituent* c);
    void Raise(Constituent* c, bool toFront);
    bool Holds(const Constituent* c) const;

    static LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp) const;
    void Compose();
    Constituent* PartAt(POINT pt) const;
    bool RouteMouse(UINT msg, WPARAM wp, LPARAM lp);
    void Unhook();

    SurfaceWindow& owner_;
    HWND hwnd_ = nullptr;                                   // the hooked window, 0 while detached
    WNDPROC previous_ = nullptr;                            // its procedure before the hook
    std::vector<Constituent*> parts_;                       // back to front; uncounted, each removes itself
    Constituent* pressed_ = nullptr;                        // part that got the press holding the capture
    ClickTracker press_;                                    // that press
    std::shared_ptr<int> alive_ = std::make_shared<int>(0); // expires with the host
};

} // namespace glim
