#pragma once
// GlimButtons on a host form, reached through COM as hosts reach them, with
// real input at their painted positions and pixels read back from the screen.
#include "HostForm.h"
#include "SiteRecorder.h"
#include "dispatch.h"
#include "input.h"

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace buttontest {

// GlimForm.dll loaded for its artwork.
HMODULE Library();
// A pixel of the library's button sheet of one skin (0x00BBGGRR).
COLORREF SheetPixel(int skin, int x, int y);

using glimtest::Bool;
using glimtest::I2;
using glimtest::I4;
using glimtest::Invoke;
using glimtest::Text;
HRESULT Put(IDispatch* d, DISPID id, VARIANT value);
HRESULT PutRef(IDispatch* d, DISPID id, IDispatch* object);
long GetLong(IDispatch* d, DISPID id);

inline constexpr wchar_t kProgId[] = L"GlimFormControl.GlimButton";

// A shown host form; buttons are added by ProgID at pixel positions.
class ButtonForm {
  public:
    explicit ButtonForm(int clientW = 640, int clientH = 480);
    ~ButtonForm();
    ButtonForm(const ButtonForm&) = delete;
    ButtonForm& operator=(const ButtonForm&) = delete;

    glim::host::ControlSite* Add(const std::string& name, int x, int y, int w, int h,
                                 glim::MemoryPropertyBag* bag = nullptr);
    glim::host::HostForm* Form() const { return form_.get(); }
    // The events and notifications of a button, recorded since it was added.
    glimtest::SiteRecorder& Log(const std::string& name) { return recorders_.Of(form_->Site(name)); }
    IDispatch* D(const std::string& name) const;
    HWND Wnd(const std::string& name) const;
    HWND hWnd() const { return form_->hWnd(); }

  private:
    glim::ComPtr<glim::host::HostForm> form_;
    glimtest::SiteRecorders recorders_;
};

// Pumps through the host's key translation until pred() holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 3000);
void PumpFor(DWORD ms);

// Real input.
POINT ScreenPoint(HWND hwnd, int x, int y);
POINT Centre(HWND hwnd);
using glimtest::MoveTo;
using glimtest::SendMouse;
void ClickAt(POINT p, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
void Key(WORD vk, bool down);
void Tap(WORD vk);

// A pixel of a window's client area as the screen shows it.
COLORREF ScreenPixel(HWND hwnd, int x, int y);

} // namespace buttontest
