#pragma once
// Test skins, a form double, a recording window procedure and window
// snapshots for the frame painter tests.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "ComObject.h"
#include "ComPtr.h"
#include "INCAreaModifier.h"
#include "cNeoCaption.h"
#include "pump.h"
#include "screenshots.h"

namespace paintertest {

using glim::ComPtr;

// The geometry the frame control hands the painter.
inline constexpr long kButtonW = 19, kButtonH = 20, kLeftEnd = 90, kRightStart = 140, kRightEnd = 240,
                      kInactive = 400;
inline constexpr long kCapH = 50, kTile = 10;

// Every pixel of the test skins names where it came from.
inline COLORREF CaptionColor(long x, long y) {
    return RGB(x & 0xFF, 0x10 + (x >> 8), 64 + y);
}
inline COLORREF BorderColor(long x, long y) {
    return RGB(x, 0xF0, 200 + y);
}
inline constexpr COLORREF kIconColor = RGB(250, 2, 3);

// A 640 x 50 caption picture and a 70 x 10 border picture.
ComPtr<IPicture> MakeCaptionPicture(long width = 640, long height = kCapH);
ComPtr<IPicture> MakeBorderPicture(long tile = kTile);
// Non-bitmap pictures for the validation tests.
ComPtr<IPicture> MakeIconPicture();
ComPtr<IPicture> MakeMetafilePicture();
ComPtr<IPicture> MakeEmptyPicture();

// A late-bound form: hWnd, Icon (a solid kIconColor icon) and Refresh.
class FormDouble : public glim::ComObject<FormDouble, IDispatch> {
  public:
    explicit FormDouble(HWND hWnd);
    ~FormDouble() override;
    long RefreshCount() const { return refreshes_; }
    void SetWindow(HWND hWnd) { hWnd_ = hWnd; }

    void* Find(REFIID riid) {
        return riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

  private:
    HWND hWnd_;
    ComPtr<IPicture> icon_;
    long refreshes_ = 0;
};
ComPtr<FormDouble> MakeForm(HWND hWnd);

// A top-level window whose class procedure is RecordingProc, with an empty
// title, destroyed with the object.
class FrameWindow : public glimtest::TestWindow {
  public:
    explicit FrameWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int w = 300, int h = 200,
                         HWND owner = nullptr);
};

// What the recording window procedure saw.
struct Record {
    UINT msg;
    WPARAM wParam;
};
// Records WM_SYSCOMMAND (swallowing the window commands), WM_NCLBUTTONDOWN
// (swallowed, so no modal loop starts), WM_NCLBUTTONDBLCLK and WM_SETCURSOR
// (with whether the window was visible then), and counts WM_APP.
LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
std::vector<Record>& Records();
// WM_APP messages handled so far; safe to read from any thread.
long AppMessageCount();
long CountRecords(UINT msg, WPARAM wParam);
long CountSysCommands(WPARAM command);

// The whole window read back at once.
using Snapshot = glimtest::WindowShot;

// A painter attached to a window with the test skin.
glim::Ref<glim::cNeoCaption> AttachPainter(HWND hWnd, ComPtr<FormDouble>& form, short idx = 0,
                                           short menuStyle = 0);
// Repaints the frame at once.
void PaintFrame(HWND hWnd);
// Paints the frame as the active window's.
void PaintActiveFrame(HWND hWnd);

// A frame window with a painter attached, painted as the active window's;
// the record starts afterwards.
struct Skinned {
    explicit Skinned(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int w = 320, int h = 240,
                     HWND owner = nullptr)
        : window(style, w, h, owner), painter(AttachPainter(window, form)) {
        PaintActiveFrame(window);
        Records().clear();
    }
    FrameWindow window;
    ComPtr<FormDouble> form;
    glim::Ref<glim::cNeoCaption> painter;
};

// Screen point of a window-relative point.
POINT ScreenOf(HWND hWnd, long x, long y);
// The lParam of a non-client mouse message at a window-relative point.
LPARAM ScreenLParam(HWND hWnd, long x, long y);
// Places the cursor on a window-relative point and asks for the hit code.
LRESULT HitTestAt(HWND hWnd, long x, long y);
// Cursor on the point, then the non-client press or release there.
void PressAt(HWND hWnd, long x, long y);
void ReleaseAt(HWND hWnd, long x, long y);

// The client area's top-left corner relative to the window's.
bool ClientOrigin(HWND hWnd, POINT& origin);

// The window's property names, sorted.
std::vector<std::string> PropertyNames(HWND hWnd);

} // namespace paintertest
