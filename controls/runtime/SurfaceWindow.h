#pragma once
// A window with a persistent surface, translating mouse, key and focus
// messages into the events controls and forms handle.  Base of controls,
// library-owned forms and windowed constituents.
#include "ComPtr.h"
#include "NonCopyable.h"
#include "Surface.h"
#include "GlimError.h"

#include <optional>
#include <string>

namespace glim {

// Mouse buttons and shift state as event arguments carry them.
enum MouseButtons : short { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : short { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };
// A mouse button message taken apart; nothing for any other message.
struct ButtonMessage {
    short button;  // kLeftButton, kRightButton or kMiddleButton
    bool down;     // a press or a double click; false for a release
    bool dblClick; // the press is a double click
};
std::optional<ButtonMessage> ButtonMessageOf(UINT msg);
// Event arguments of a mouse message: the buttons held, the shift state.
short MouseButtonsHeld(WPARAM wp);
short MouseShiftOf(WPARAM wp);
// One press from button down to button up, for a window and for the
// windowless parts it hosts: the first press takes the capture, so the
// release still arrives when it lands outside.
class ClickTracker {
  public:
    // A button went down (or double-clicked) on hwnd; a press already under
    // way stays the one that counts.
    void Press(HWND hwnd, short button, bool dblClick) {
        if (button_) return;
        button_ = button;
        fromDblClick_ = dblClick;
        SetCapture(hwnd);
    }
    // A button came up: when it is the pressed one the press ends and the
    // capture goes.  True when that press may make a Click (a double click's
    // may not); whether the release landed inside is the caller's test.
    bool Release(HWND hwnd, short button) {
        if (!button_ || button_ != button) return false;
        const bool single = !fromDblClick_;
        Cancel(hwnd);
        return single;
    }
    // The press ends without a Click, letting go of hwnd's capture.
    void Cancel(HWND hwnd) {
        Forget();
        if (hwnd && GetCapture() == hwnd) ReleaseCapture();
    }
    // The capture went elsewhere: the press is over.
    void Forget() {
        button_ = 0;
        fromDblClick_ = false;
    }
    bool Pressed() const { return button_ != 0; }

  private:
    short button_ = 0;          // button that began the press, 0 when none
    bool fromDblClick_ = false; // the press was a double click: no Click on release
};

// The custom mouse pointer (MouseIcon); 0 .. 15 are the standard ones.
inline constexpr short kCustomPointer = 99;

class SurfaceWindow : NonCopyable {
  public:
    SurfaceWindow() = default;
    virtual ~SurfaceWindow();

    // Keeps the object, while any hold on it lasts, from being deleted by
    // what runs inside: a delete or release asked for meanwhile is carried
    // out when the outermost hold ends.  Every window message of the object
    // holds it; so does every call into a control and every event it raises.
    class Hold : NonCopyable {
      public:
        explicit Hold(SurfaceWindow& w, bool event = false) : w_(w), event_(event) { ++w_.holds_; }
        // May delete the object: nothing of it is touched afterwards.
        ~Hold() {
            if (--w_.holds_ == 0) w_.OnLastHold(event_);
        }

      private:
        SurfaceWindow& w_;
        bool event_; // raised by the object's own code, which runs on after it
    };
    // Deletes the object now, or when the outermost hold on it ends.
    void DeleteWhenIdle();

    HWND hWnd() const { return hwnd_; }
    Surface& Canvas() { return surface_; }
    const Surface& Canvas() const { return surface_; }
    HDC hDC() { return surface_.hDC(); }
    void Cls() {
        surface_.Cls();
        Invalidate();
    }
    // Shows the surface now.
    void Refresh();
    // Shows the surface at the next paint.
    void Invalidate();
    // Paints a picture at the top left, in pixels, for the next paint: the
    // design-time look of a control that shows only a picture.
    void ShowPicture(IPictureDisp* picture) {
        surface_.SetScaleMode(kScalePixels);
        surface_.PaintPicture(picture, 0, 0);
        Invalidate();
    }

    short MousePointer() const { return mousePointer_; }
    // Raises 380 for values that are no pointer.
    void SetMousePointer(short pointer);
    IPictureDisp* MouseIcon() const { return mouseIcon_.get(); }
    void SetMouseIcon(IPictureDisp* icon) { mouseIcon_ = icon; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

  protected:
    // Creates the window; exStyle/style as CreateWindowEx takes them.
    void CreateSurfaceWindow(DWORD exStyle, DWORD style, HWND parent, const RECT& rect);
    void DestroySurfaceWindow();

    // Events; coordinates are in the surface's scale.
    virtual void OnMouseDown(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
    virtual void OnMouseMove(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
    virtual void OnMouseUp(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
    virtual void OnClick() {}
    virtual void OnDblClick() {}
    // Whether a second quick press is a double click; a control without
    // one takes it as one more press.
    virtual bool TakesDoubleClicks() const { return true; }
    // Another window took the mouse during a press: its release will not
    // come here.
    virtual void OnCaptureLost() {}
    // Handlers may change the key; KeyAscii set to 0 swallows the character.
    virtual void OnKeyDown(short& /*keyCode*/, short /*shift*/) {}
    virtual void OnKeyPress(short& /*keyAscii*/) {}
    virtual void OnKeyUp(short& /*keyCode*/, short /*shift*/) {}
    virtual void OnGotFocus() {}
    virtual void OnLostFocus() {}
    // WM_SETFOCUS / WM_KILLFOCUS; the default raises the two events above.
    virtual void OnFocusMessage(bool gained) {
        if (gained)
            OnGotFocus();
        else
            OnLostFocus();
    }
    virtual void OnResize() {}
    // A paint request; what it draws on the surface shows in this paint.
    virtual void OnPaint() {}
    virtual void OnShow() {}
    virtual void OnHide() {}
    // Whether a click gives the window the focus.
    virtual bool CanGetFocus() const { return true; }
    // The window is about to go away (still valid).
    virtual void OnWindowDestroy() {}
    // An event handler raised an error; the message is then taken as handled.
    virtual void OnEventError(const Error& /*e*/) {}
    // Everything not handled above; the default calls DefWindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);

    static short ShiftNow();

    bool Held() const { return holds_ > 0; }
    // The outermost hold ended; event: it was an event the object's own code
    // raised and still runs after.  The default carries out DeleteWhenIdle.
    virtual void OnLastHold(bool event);

  private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void MouseButton(const ButtonMessage& b, WPARAM wp, LPARAM lp);
    void PaintMessage();
    bool SetPointerCursor();

    HWND hwnd_ = nullptr;            // the window; destroyed with the object
    int holds_ = 0;                  // holds now running (nested messages and events)
    bool deletePending_ = false;     // DeleteWhenIdle came while held
    Surface surface_;                // what the window shows
    short mousePointer_ = 0;         // 0 = the class cursor
    ComPtr<IPictureDisp> mouseIcon_; // cursor for pointer 99
    bool enabled_ = true;
    bool painting_ = false; // OnPaint is running
    ClickTracker press_;    // the press that may end in Click
};

} // namespace glim
