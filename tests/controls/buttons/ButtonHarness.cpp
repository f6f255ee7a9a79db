#include "ButtonHarness.h"

#include "Registration.h"
#include "pump.h"

#include <gtest/gtest.h>

namespace buttontest {

namespace host = glim::host;

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

HRESULT Put(IDispatch* d, DISPID id, VARIANT value) {
    const HRESULT hr = Invoke(d, id, DISPATCH_PROPERTYPUT, {value});
    VariantClear(&value);
    return hr;
}

HRESULT PutRef(IDispatch* d, DISPID id, IDispatch* object) {
    VARIANT v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = object;
    return Invoke(d, id, DISPATCH_PROPERTYPUTREF, {v});
}

long GetLong(IDispatch* d, DISPID id) {
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(Invoke(d, id, DISPATCH_PROPERTYGET, {}, &r), S_OK) << "get " << std::hex << id;
    VARIANT l;
    VariantInit(&l);
    VariantChangeType(&l, &r, 0, VT_I4);
    VariantClear(&r);
    return V_I4(&l);
}

ButtonForm::ButtonForm(int clientW, int clientH) {
    glimtest::RegisterLibraryOnce();
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

void ClickAt(POINT p, DWORD down, DWORD up) {
    MoveTo(p);
    glimtest::MouseButtons({down, up});
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

} // namespace buttontest
