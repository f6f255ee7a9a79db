#pragma once
// A part placed on a control, a form or a picture box: position and size in
// the container's scale, visibility and z-order, and the mouse events the
// host routes to it.  Windowless parts are drawn by their host over its
// persistent surface; windowed parts are child windows of it.
#include <windows.h>
#include <olectl.h>

#include <functional>
#include <optional>

#include "NonCopyable.h"

namespace glim {

class ConstituentHost;

class Constituent : NonCopyable {
  public:
    virtual ~Constituent();

    // In the container's current scale.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void SetLeft(double v) { Move(v); }
    void SetTop(double v) { Move(Left(), v); }
    void SetWidth(double v) { Move(Left(), Top(), v); }
    void SetHeight(double v) { Move(Left(), Top(), Width(), v); }
    // Absent values keep their current ones; a negative size raises 380.
    void Move(double left, std::optional<double> top = {}, std::optional<double> width = {},
              std::optional<double> height = {});

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // 0 brings the part to the front of its layer, 1 sends it to the back.
    void ZOrder(short position = 0);
    // Shows the part's current look now.
    void Refresh();

    // Position and size in pixels of the container's client area.
    RECT PixelRect() const;
    ConstituentHost* Host() const { return host_; }

    // Events; x and y relative to the part, in the container's scale (a
    // windowed part reports its own scale).
    std::function<void(short button, short shift, float x, float y)> MouseDown;
    std::function<void(short button, short shift, float x, float y)> MouseMove;
    std::function<void(short button, short shift, float x, float y)> MouseUp;
    std::function<void()> Click;
    std::function<void()> DblClick;

  protected:
    Constituent(ConstituentHost& host, bool windowless);

    // Sets the pixel geometry directly (auto-sizing parts).
    void SetPixelSize(double width, double height);
    // Shows the part's area again at the next paint.
    void Invalidate() const;
    // Puts of a kept value that shows: a value outside lo .. hi, or a colour
    // that cannot be translated, raises 380 before anything is stored.
    void StoreInRange(short& field, short v, short lo, short hi);
    void StoreColor(OLE_COLOR& field, OLE_COLOR c);

    // Windowless parts: draws into the host's composition DC (pixels).
    virtual void Draw(HDC /*dc*/) {}
    // Windowless parts that get no mouse input (shapes) answer false.
    virtual bool TakesMouse() const { return true; }
    // Windowed parts follow the stored state with their window.
    virtual void OnGeometryChanged() { Invalidate(); }
    virtual void OnVisibleChanged() { Invalidate(); }
    virtual void OnZOrder(short /*position*/) { Invalidate(); }
    virtual void OnHostAttached() {}
    virtual void OnHostDetached() {}

  private:
    friend class ConstituentHost;
    void ChangeGeometry(double l, double t, double w, double h);

    ConstituentHost* host_; // uncounted: the host unhooks its parts when it goes first
    bool windowless_;       // drawn by the host rather than a child window
    double left_ = 0;       // pixels of the container's client area
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    bool visible_ = true;
};

} // namespace glim
