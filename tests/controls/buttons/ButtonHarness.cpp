#include "ButtonHarness.h"

#include "Registration.h"
#include "pump.h"

#include <gtest/gtest.h>

namespace buttontest {

namespace host = glim::host;

void RegisterLibrary() {
    static bool done = false;
    if (done) return;
    ASSERT_EQ(glimtest::RunRegsvr32(""), 0u);
    done = true;
}

HMODULE Library() {
    static HMODULE dll = LoadLibraryA(glimtest::GlimFormDllPath().c_str());
    return dll;
}

COLORREF SheetPixel(int skin, int x, int y) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(Library(), MAKEINTRESOURCEA(4000 + skin), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bmp) return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    return c;
}

HRESULT Call(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* ei) {
    std::vector<VARIANT> rev(args.rbegin(), args.rend());
    DISPPARAMS dp{rev.empty() ? nullptr : rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
    DISPID put = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.rgdispidNamedArgs = &put;
        dp.cNamedArgs = 1;
    }
    EXCEPINFO local{};
    UINT argErr = 0;
    const HRESULT hr = d->Invoke(id, IID_NULL, 0, flags, &dp, result, ei ? ei : &local, &argErr);
    if (!ei) {
        SysFreeString(local.bstrSource);
        SysFreeString(local.bstrDescription);
        SysFreeString(local.bstrHelpFile);
    }
    return hr;
}

HRESULT Put(IDispatch* d, DISPID id, VARIANT value) {
    const HRESULT hr = Call(d, id, DISPATCH_PROPERTYPUT, {value});
    VariantClear(&value);
    return hr;
}

HRESULT PutRef(IDispatch* d, DISPID id, IDispatch* object) {
    VARIANT v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    return Call(d, id, DISPATCH_PROPERTYPUTREF, {v});
}

long GetLong(IDispatch* d, DISPID id) {
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(Call(d, id, DISPATCH_PROPERTYGET, {}, &r), S_OK) << "get " << std::hex << id;
    VARIANT l;
    VariantInit(&l);
    VariantChangeType(&l, &r, 0, VT_I4);
    VariantClear(&r);
    return V_I4(&l);
}

VARIANT I4(long v) {
    VARIANT r;
    V_VT(&r) = VT_I4;
    V_I4(&r) = v;
    return r;
}
VARIANT I2(short v) {
    VARIANT r;
    V_VT(&r) = VT_I2;
    V_I2(&r) = v;
    return r;
}
VARIANT Bool(bool v) {
    VARIANT r;
    V_VT(&r) = VT_BOOL;
    V_BOOL(&r) = v ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}
VARIANT Str(const wchar_t* s) {
    VARIANT r;
    V_VT(&r) = VT_BSTR;
    V_BSTR(&r) = SysAllocString(s);
    return r;
}

ButtonForm::ButtonForm(int clientW, int clientH) {
    RegisterLibrary();
    form_ = host::HostForm::Create("Buttons", 9000, 7000);
    const double tx = host::HostForm::TwipsPerPixelX(), ty = host::HostForm::TwipsPerPixelY();
    form_->SetClientSize(static_cast<long>(clientW * tx), static_cast<long>(clientH * ty));
    form_->Show();
    SetForegroundWindow(form_->hWnd());
    PumpFor(0);
}

ButtonForm::~ButtonForm() {
    if (form_) form_->Unload();
    form_.reset();
    glimtest::PumpPending();
}

host::ControlSite* ButtonForm::Add(const std::string& name, int x, int y, int w, int h,
                                   glim::MemoryPropertyBag* bag) {
    const double tx = host::HostForm::TwipsPerPixelX(), ty = host::HostForm::TwipsPerPixelY();
    glim::ComPtr<host::ControlSite> site = form_->AddControl(
        "GlimFormControl.GlimButton", name, static_cast<long>(x * tx), static_cast<long>(y * ty),
        static_cast<long>(w * tx), static_cast<long>(h * ty), bag);
    if (site) recorders_.Of(site.get());
    PumpFor(0);
    return site.get();
}

IDispatch* ButtonForm::D(const std::string& name) const {
    return form_->Site(name)->ControlDispatch().get();
}

HWND ButtonForm::Wnd(const std::string& name) const {
    return form_->Site(name)->Window();
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        host::HostForm::PumpPending();
        if (pred()) return true;
        if (GetTickCount() - start >= timeoutMs) return pred();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

POINT Centre(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return ScreenPoint(hwnd, r.right / 2, r.bottom / 2);
}

void MoveTo(POINT p) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65536, sw) + 1;
    in.mi.dy = MulDiv(p.y, 65536, sh) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    PumpUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
    });
}

void Mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void ClickAt(POINT p, DWORD down, DWORD up) {
    MoveTo(p);
    Mouse(down);
    Mouse(up);
}

void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

void Tap(WORD vk) {
    Key(vk, true);
    Key(vk, false);
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    const POINT p = ScreenPoint(hwnd, x, y);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

skingen::Raster Capture(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    const POINT o = ScreenPoint(hwnd, 0, 0);
    const int w = r.right, h = r.bottom;
    skingen::Raster img(w, h);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, o.x, o.y, SRCCOPY);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = GetPixel(mem, x, y);
            img.Set(x, y, skingen::RGB8(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

} // namespace buttontest
