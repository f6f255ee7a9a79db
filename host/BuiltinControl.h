#pragma once
// What a site needs of the host's own controls (text box, label), which are
// plain windows with an automation face rather than OLE controls.
#include "MemoryPropertyBag.h"
#include "NonClient.h"
#include "Text.h"

namespace glim::host {

class HostForm;

class BuiltinControl {
  public:
    virtual IDispatch* Dispatch() = 0;
    virtual const char* TypeName() const = 0;
    // Creates the control's window inside parent at a pixel rectangle.
    virtual HWND CreateWindowIn(HWND parent, const RECT& pixels, HostForm* form) = 0;
    virtual HWND Window() const = 0;
    virtual void DestroyWindowNow() = 0;
    virtual void Load(MemoryPropertyBag* bag) = 0;
    virtual void Save(MemoryPropertyBag* bag) const = 0;
    virtual bool TakesFocus() const = 0;
    // A label's access key moves the focus on to the next control.
    virtual std::string AccessKey() const { return {}; }
    // A label lies beneath the windowed controls of its container, those
    // made after it too.
    virtual bool LiesBeneath() const { return false; }
    // Made hidden: the form shows it where it lies among its siblings, in
    // the same move that puts it there.
    virtual bool ShownByForm() const { return false; }

  protected:
    ~BuiltinControl() = default;
};

// Registers a window class of the host's controls once (arrow cursor).
void EnsureWindowClass(const char* name, WNDPROC proc);

// The window procedure of a host control that paints its whole client area
// with T::Paint, reaching the object through GWLP_USERDATA.
template <class T>
LRESULT CALLBACK PaintedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the paint fills the whole client area
    case WM_NCPAINT:
        if (DrawsNoFrame(hwnd)) return 0;
        break;
    case WM_PAINT:
        if (self) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            self->Paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Creates the built-in control of a type name ("TextBox", "Label", "Timer",
// "PictureBox", "MMControl", "CommonDialog"); null
// when the name is not one of them.
ComPtr<IDispatch> CreateBuiltinControl(const std::string& typeName, BuiltinControl** control);

} // namespace glim::host
