#include "SkinningHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "GlimFormControl.h"
#include "Settings.h"
#include "input.h"
#include "programs.h"
#include "pump.h"

namespace skintest {

std::string DllPath() {
    return glimtest::ExeDir() + "GlimForm.dll";
}

void RegisterLibrary() {
    static bool done = false;
    if (done) return;
    HMODULE dll = LoadLibraryA(DllPath().c_str());
    ASSERT_NE(dll, nullptr);
    auto doRegister = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
    ASSERT_NE(doRegister, nullptr);
    ASSERT_EQ(doRegister(), S_OK);
    done = true;
}

HMODULE Library() {
    return GetModuleHandleA("GlimForm.dll");
}

SkinnedForm::SkinnedForm(long widthTwips, long heightTwips, bool withMenus) {
    RegisterLibrary();
    form_ = glim::host::HostForm::Create("Skinned form", widthTwips, heightTwips);
    if (withMenus) {
        using glim::host::HostMenu;
        HostMenu* file = form_->AddMenu(nullptr, "mnuFile", "\xCE\xC4\xBC\xFE(&F)").get(); // 文件
        form_->AddMenu(file, "mnuOpen", "\xB4\xF2\xBF\xAA...");                            // 打开
        form_->AddMenu(file, "mnuSave", "\xB1\xA3\xB4\xE6");                               // 保存
        form_->AddMenu(file, "mnuSep", "-");
        form_->AddMenu(file, "mnuExit", "\xCD\xCB\xB3\xF6");                               // 退出
        HostMenu* help = form_->AddMenu(nullptr, "mnuHelp", "\xB0\xEF\xD6\xFA(&H)").get(); // 帮助
        form_->AddMenu(help, "mnuAbout", "\xB9\xD8\xD3\xDA");                              // 关于
    }
    auto site = form_->AddControl("GlimFormControl.GlimForm", "GlimForm1", 120, 120, 480, 480);
    if (site) control_ = site->ControlDispatch();
    // Away from the screen's edges, where Wine clips reads of the frame.
    SetWindowPos(form_->hWnd(), nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form_->Show();
    glimtest::PumpPending();
}

SkinnedForm::~SkinnedForm() {
    control_.reset();
    if (form_) form_->Unload();
    glimtest::PumpPending();
}

HRESULT SkinnedForm::LoadSkin(short& idx, EXCEPINFO* ei) {
    VARIANT arg;
    V_VT(&arg) = VT_I2 | VT_BYREF;
    V_I2REF(&arg) = &idx;
    const HRESULT hr =
        Invoke(control_.get(), dispid::GlimForm::LoadSkin, DISPATCH_METHOD, {arg}, nullptr, ei);
    glimtest::PumpPending();
    return hr;
}

HRESULT SkinnedForm::SkinFormFile(const std::string& caption, const std::string& border) {
    return CallSkinFormFile(control_.get(), caption, border);
}

HRESULT CallSkinFormFile(IDispatch* control, const std::string& caption, const std::string& border) {
    BSTR a = SysAllocString(std::wstring(caption.begin(), caption.end()).c_str());
    BSTR b = SysAllocString(std::wstring(border.begin(), border.end()).c_str());
    VARIANT va, vb;
    V_VT(&va) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&va) = &a;
    V_VT(&vb) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&vb) = &b;
    const HRESULT hr = Invoke(control, dispid::GlimForm::SkinFormFile, DISPATCH_METHOD, {va, vb});
    SysFreeString(a);
    SysFreeString(b);
    glimtest::PumpPending();
    return hr;
}

HRESULT SkinnedForm::CloseSkin() {
    const HRESULT hr = Invoke(control_.get(), dispid::GlimForm::CloseSkin, DISPATCH_METHOD, {});
    glimtest::PumpPending();
    return hr;
}

HRESULT SkinnedForm::SetMnuStyleIdx(short value) {
    VARIANT v;
    V_VT(&v) = VT_I2;
    V_I2(&v) = value;
    return Invoke(control_.get(), dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {v});
}

PictureReader::PictureReader(HBITMAP bitmap) : bitmap_(bitmap), dc_(CreateCompatibleDC(nullptr)) {
    old_ = SelectObject(dc_, bitmap_);
    BITMAP bm{};
    if (bitmap_ && GetObjectA(bitmap_, sizeof bm, &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
    }
}

PictureReader::~PictureReader() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
}

HBITMAP SkinBitmap(int id) {
    return static_cast<HBITMAP>(
        LoadImageA(Library(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

double FrameMatch(HWND hWnd, const PictureReader& caption, const PictureReader& border) {
    RECT wr{};
    GetWindowRect(hWnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int capH = caption.Height(), bh = border.Height();
    HDC dc = GetWindowDC(hWnd);
    int active = 0, inactive = 0, sides = 0, total = 0, sideTotal = 0;
    // Caption: left of the icon, and the first middle tile below the title.
    for (int y = 0; y < capH; y += 3)
        for (int x = 0; x < 7; x += 2) {
            const COLORREF c = GetPixel(dc, x, y);
            active += c == caption.At(x, y);
            inactive += c == caption.At(x + 400, y);
            ++total;
        }
    for (int y = 30; y < capH; y += 3)
        for (int x = 92; x < 140 && x < w - 150; x += 5) {
            const COLORREF c = GetPixel(dc, x, y);
            active += c == caption.At(91 + (x - 90), y);
            inactive += c == caption.At(400 + 91 + (x - 90), y);
            ++total;
        }
    // Side columns repeat tiles 0 and 4; the bottom strip repeats tile 3.
    for (int y = capH; y < h - bh; y += 7)
        for (int x = 0; x < bh; x += 3) {
            sides += GetPixel(dc, x, y) == border.At(x, (y - capH) % bh);
            sides += GetPixel(dc, w - bh + x, y) == border.At(4 * bh + x, (y - capH) % bh);
            sideTotal += 2;
        }
    for (int x = bh; x < w - bh; x += 13)
        for (int y = 0; y < bh; y += 3) {
            sides += GetPixel(dc, x, h - bh + y) == border.At(3 * bh + (x - bh) % bh, y);
            ++sideTotal;
        }
    ReleaseDC(hWnd, dc);
    const int caption_ = active > inactive ? active : inactive;
    return total + sideTotal ? static_cast<double>(caption_ + sides) / (total + sideTotal) : 0.0;
}

namespace {
UINT gAwaited = 0;   // WM_LBUTTONDOWN or WM_LBUTTONUP
bool gTaken = false; // it has left the queue, as a client or non-client message

LRESULT CALLBACK NoteButton(int code, WPARAM removed, LPARAM lParam) {
    UINT msg = reinterpret_cast<const MSG*>(lParam)->message;
    if (msg >= WM_NCLBUTTONDOWN && msg <= WM_NCLBUTTONDBLCLK) msg += WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
    // A press soon after another at the same place comes as a double click.
    if (msg == WM_LBUTTONDBLCLK) msg = WM_LBUTTONDOWN;
    if (code == HC_ACTION && removed == PM_REMOVE && msg == gAwaited) gTaken = true;
    return CallNextHookEx(nullptr, code, removed, lParam);
}
} // namespace

bool SendButton(DWORD flags) {
    gAwaited = flags == MOUSEEVENTF_LEFTDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    gTaken = false;
    const HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &NoteButton, nullptr, GetCurrentThreadId());
    glimtest::MouseButtons({flags});
    // Looked at after each whole pump, so what the message set off is done.
    const bool handled = glimtest::PumpUntil([] { return gTaken; });
    UnhookWindowsHookEx(hook);
    return handled;
}

void MoveTo(HWND hWnd, POINT windowPoint) {
    RECT wr{};
    GetWindowRect(hWnd, &wr);
    SetCursorPos(wr.left + windowPoint.x, wr.top + windowPoint.y);
    glimtest::PumpPending();
}

std::vector<Span> PaintedBarItems(HWND hWnd, const PictureReader& caption) {
    const WindowShot shot(hWnd);
    const int capH = caption.Height();
    constexpr int kBandTop = 30;
    const int limit = shot.Width() / 2;
    std::vector<Span> items;
    int gap = 100;
    for (int x = 10; x < limit; ++x) {
        // The strip under the bar: the left part, then 52-pixel middle tiles.
        const int artX = x < 90 ? x : 91 + (x - 90) % 52;
        int top = -1, bottom = -1;
        for (int y = kBandTop; y < capH; ++y) {
            const COLORREF c = shot.At(x, y);
            if (c == caption.At(artX, y) || c == caption.At(400 + artX, y)) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        if (top < 0) {
            ++gap;
            continue;
        }
        if (gap > 6 || items.empty()) items.push_back(Span{x, x, top, bottom});
        Span& s = items.back();
        s.right = x;
        s.top = std::min(s.top, top);
        s.bottom = std::max(s.bottom, bottom);
        gap = 0;
    }
    return items;
}

std::string StoredIdx() {
    return glim::GetSetting("Skin", "Idx", "<none>");
}

} // namespace skintest
