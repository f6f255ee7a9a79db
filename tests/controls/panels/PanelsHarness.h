#pragma once
// A host form with GlimForm.dll's sliders and bars on it, reached the way
// hosts reach them: by ProgID, late-bound by name and by identifier, with
// property-changed notifications and events recorded beside the site.
#include "GlimError.h"
#include "Handles.h"
#include "HostForm.h"
#include "LateBound.h"
#include "MemoryPropertyBag.h"
#include "Registration.h"
#include "SiteRecorder.h"
#include "input.h"
#include "pump.h"
#include "raised.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <initializer_list>
#include <vector>

namespace paneltest {

namespace host = glim::host;
using glim::Variant;

// The balloon's wait before it shows, shortened for the tests that do not
// time it (the library reads GLIM_TIP_DELAY_MS at each balloon).
inline constexpr DWORD kTipDelayMs = 20;
inline void ShortenTipDelay(bool shorten) {
    SetEnvironmentVariableA("GLIM_TIP_DELAY_MS", shorten ? std::to_string(kTipDelayMs).c_str() : nullptr);
}

class PanelsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { glimtest::RegisterLibraryOnce(); }

    void SetUp() override {
        form = host::HostForm::Create("Panels host", 9000, 7000);
        ASSERT_TRUE(form);
        form->SetBackColor(0x00808080);
        form->Show();
        glimtest::PumpPending();
    }
    void TearDown() override {
        // The pointer goes out of the way of the next program's windows.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        ShortenTipDelay(false);
        if (form) form->Unload();
        form.reset();
        glimtest::PumpPending();
    }

    host::ControlSite* Add(const char* progId, const std::string& name, long left, long top, long width,
                           long height, glim::MemoryPropertyBag* bag = nullptr) {
        glim::ComPtr<host::ControlSite> s = form->AddControl(progId, name, left, top, width, height, bag);
        EXPECT_TRUE(s);
        if (s) Log(s.get());
        glimtest::PumpPending();
        return s.get();
    }
    // The events and notifications of a control, recorded since it was added.
    glimtest::SiteRecorder& Log(host::ControlSite* s) { return recorders.Of(s); }

    // Error number of a late-bound put by name, 0 when it succeeded.
    static long PutError(host::ControlSite* s, const char* name, const Variant& v) {
        return glimtest::ErrorNumberOf([&] { glim::PutProperty(s->ControlDispatch().get(), name, v); });
    }
    static long Get(host::ControlSite* s, const char* name) {
        return glim::GetProperty(s->ControlDispatch().get(), name).ToLong();
    }
    static long GetById(host::ControlSite* s, DISPID id) {
        return glim::GetProperty(s->ControlDispatch().get(), id).ToLong();
    }

    // Shows what the control painted and reads one of its client pixels.
    static COLORREF Pixel(host::ControlSite* s, int x, int y) {
        UpdateWindow(s->Window());
        return glimtest::ClientPixel(s->Window(), x, y);
    }

    glim::ComPtr<host::HostForm> form;
    glimtest::SiteRecorders recorders;
};

// What a control saves now, in a new bag.
inline glim::ComPtr<glim::MemoryPropertyBag> Saved(host::ControlSite* s) {
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    s->Save(bag.get());
    return bag;
}

// The window rectangle of a control in screen pixels.
inline RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// The colour the screen shows at a client point of a window.
inline COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Text in the system code page, from UTF-16 (the source stays ASCII).
inline std::string Ansi(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, s.data(), n, nullptr, nullptr);
    return s;
}

// Pumps through the forms' key pre-translation until pred() holds or the
// deadline passes.
inline bool PumpHostUntil(const std::function<bool()>& pred, DWORD timeoutMs = 3000) {
    const DWORD start = GetTickCount();
    for (;;) {
        glim::host::HostForm::PumpPending();
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Makes a window the foreground one, so real key input reaches it.
inline bool BringToFront(HWND hwnd) {
    SetForegroundWindow(hwnd);
    return PumpHostUntil([&] { return GetForegroundWindow() == hwnd; });
}

} // namespace paneltest

namespace paneltest {

// Real input: the pointer goes to a screen point, then the given button events.
inline void MouseAt(POINT screen, std::initializer_list<DWORD> buttons = {}) {
    glimtest::MoveTo(screen);
    glimtest::MouseButtons(buttons);
}

inline POINT OnScreen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

// The pixels of a bitmap resource of GlimForm.dll, read once.
class DllBitmap {
  public:
    explicit DllBitmap(int id) {
        HMODULE dll = LoadLibraryExA(glimtest::GlimFormDllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!dll) return;
        glim::OwnedBitmap bmp(
            static_cast<HBITMAP>(LoadImageA(dll, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
        FreeLibrary(dll);
        BITMAP bm{};
        if (!bmp || !GetObjectA(bmp.get(), sizeof bm, &bm)) return;
        glim::OwnedDC dc(CreateCompatibleDC(nullptr));
        glim::SelectGuard keep(dc.get(), bmp.get());
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                pixels_.push_back(GetPixel(dc.get(), x, y));
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  private:
    std::vector<COLORREF> pixels_;
    int width_ = 0;
    int height_ = 0;
};

// Whether a window shows the bitmap with its top-left corner at (x, y).
inline bool ShowsBitmapAt(HWND hwnd, const DllBitmap& bmp, int x, int y) {
    if (bmp.Width() == 0) return false;
    UpdateWindow(hwnd);
    for (int j = 0; j < bmp.Height(); ++j)
        for (int i = 0; i < bmp.Width(); ++i)
            if (glimtest::ClientPixel(hwnd, x + i, y + j) != bmp.Pixel(i, j)) return false;
    return true;
}

} // namespace paneltest
