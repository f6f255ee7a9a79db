#include "PainterHarness.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "Pictures.h"
#include "pump.h"

namespace paintertest {

namespace {

// A DIB section filled by f(x, y); the caller owns it.
template <class F>
HBITMAP MakeDib(long w, long h, F f) {
    std::uint32_t* bits = nullptr;
    glim::OwnedBitmap bitmap = glim::CreateTopDownDib(w, h, &bits);
    for (long y = 0; y < h; ++y)
        for (long x = 0; x < w; ++x) {
            const COLORREF c = f(x, y);
            bits[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return bitmap.release();
}

ComPtr<IPicture> PictureOf(PICTDESC& desc) {
    ComPtr<IPicture> picture;
    desc.cbSizeofstruct = sizeof desc;
    OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void());
    return picture;
}

HICON MakeSolidIcon(COLORREF color) {
    HBITMAP colour = MakeDib(16, 16, [color](long, long) { return color; });
    HBITMAP mask = MakeDib(16, 16, [](long, long) { return RGB(0, 0, 0); });
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

std::vector<Record> gRecords;
std::atomic<long> gAppMessages{0};

BOOL CALLBACK CollectProp(HWND, LPSTR name, HANDLE, ULONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    std::string text = "#";
    if (IS_INTRESOURCE(name))
        text += std::to_string(reinterpret_cast<ULONG_PTR>(name));
    else
        text = name;
    names->push_back(text);
    return TRUE;
}

const char* const kFrameClass = "PainterTestFrameWindow";

HWND MakeFrameWindow(DWORD style, int w, int h, HWND owner) {
    [[maybe_unused]] static const bool registered = glimtest::RegisterPlainClass(kFrameClass, RecordingProc);
    // Wine's X11 driver leaves the frame of a decorated window to the window
    // manager and hides what the program paints there; tool windows are not
    // decorated.
    return CreateWindowExA(WS_EX_TOOLWINDOW, kFrameClass, "", style, 40, 40, w, h, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

} // namespace

FrameWindow::FrameWindow(DWORD style, int w, int h, HWND owner)
    : TestWindow(MakeFrameWindow(style, w, h, owner)) {}

ComPtr<IPicture> MakeCaptionPicture(long width, long height) {
    PICTDESC desc{};
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = MakeDib(width, height, CaptionColor);
    return PictureOf(desc);
}

ComPtr<IPicture> MakeBorderPicture(long tile) {
    PICTDESC desc{};
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = MakeDib(7 * tile, tile, BorderColor);
    return PictureOf(desc);
}

ComPtr<IPicture> MakeIconPicture() {
    PICTDESC desc{};
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = MakeSolidIcon(kIconColor);
    return PictureOf(desc);
}

ComPtr<IPicture> MakeMetafilePicture() {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 20, 20);
    PICTDESC desc{};
    desc.picType = PICTYPE_ENHMETAFILE;
    desc.emf.hemf = CloseEnhMetaFile(dc);
    return PictureOf(desc);
}

ComPtr<IPicture> MakeEmptyPicture() {
    PICTDESC desc{};
    desc.picType = PICTYPE_NONE;
    return PictureOf(desc);
}

FormDouble::FormDouble(HWND hWnd) : hWnd_(hWnd), icon_(MakeIconPicture()) {}

FormDouble::~FormDouble() = default;

STDMETHODIMP FormDouble::GetTypeInfoCount(UINT* n) {
    *n = 0;
    return S_OK;
}

STDMETHODIMP FormDouble::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1) return E_INVALIDARG;
    static const wchar_t* const known[] = {L"hWnd", L"Icon", L"Refresh"};
    for (DISPID i = 0; i < 3; ++i)
        if (_wcsicmp(names[0], known[i]) == 0) {
            ids[0] = i + 1;
            return S_OK;
        }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP FormDouble::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                UINT*) {
    if (id == 1 && (flags & DISPATCH_PROPERTYGET)) {
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(hWnd_));
        return S_OK;
    }
    if (id == 2 && (flags & DISPATCH_PROPERTYGET)) {
        ComPtr<IDispatch> disp = icon_.As<IDispatch>(IID_IDispatch);
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = disp.Detach();
        return S_OK;
    }
    if (id == 3 && (flags & DISPATCH_METHOD)) {
        ++refreshes_;
        if (result) VariantInit(result);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

ComPtr<FormDouble> MakeForm(HWND hWnd) {
    return ComPtr<FormDouble>(new FormDouble(hWnd));
}

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND: {
        gRecords.push_back({msg, wParam});
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_CLOSE || command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE)
            return 0;
        break;
    }
    case WM_NCLBUTTONDOWN:
        gRecords.push_back({msg, wParam});
        return 0;
    case WM_NCLBUTTONDBLCLK:
        gRecords.push_back({msg, wParam});
        break;
    case WM_SETCURSOR:
        // Whether input routed meanwhile still finds the window.
        gRecords.push_back({msg, static_cast<WPARAM>(IsWindowVisible(hWnd))});
        break;
    case WM_APP:
        ++gAppMessages;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

long AppMessageCount() {
    return gAppMessages.load();
}

std::vector<Record>& Records() {
    return gRecords;
}

long CountRecords(UINT msg, WPARAM wParam) {
    return static_cast<long>(std::count_if(gRecords.begin(), gRecords.end(), [&](const Record& r) {
        return r.msg == msg && r.wParam == wParam;
    }));
}

long CountSysCommands(WPARAM command) {
    return static_cast<long>(std::count_if(gRecords.begin(), gRecords.end(), [&](const Record& r) {
        return r.msg == WM_SYSCOMMAND && (r.wParam & 0xFFF0) == command;
    }));
}

glim::Ref<glim::cNeoCaption> AttachPainter(HWND hWnd, ComPtr<FormDouble>& form, short idx, short menuStyle) {
    form = MakeForm(hWnd);
    auto painter = glim::MakeRef<glim::cNeoCaption>();
    const ComPtr<IPicture> caption = MakeCaptionPicture();
    const ComPtr<IPicture> border = MakeBorderPicture();
    painter->Attach(form.get(), caption.get(), border.get(), kButtonW, kButtonH, kLeftEnd, kRightStart,
                    kRightEnd, kInactive, menuStyle, idx);
    return painter;
}

void PaintFrame(HWND hWnd) {
    glimtest::PumpPending();
    SendMessageA(hWnd, WM_NCPAINT, 1, 0);
}

void PaintActiveFrame(HWND hWnd) {
    SendMessageA(hWnd, WM_NCACTIVATE, 1, 0);
    PaintFrame(hWnd);
}

POINT ScreenOf(HWND hWnd, long x, long y) {
    RECT r{};
    GetWindowRect(hWnd, &r);
    return POINT{r.left + x, r.top + y};
}

LPARAM ScreenLParam(HWND hWnd, long x, long y) {
    const POINT p = ScreenOf(hWnd, x, y);
    return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y));
}

LRESULT HitTestAt(HWND hWnd, long x, long y) {
    const POINT p = ScreenOf(hWnd, x, y);
    SetCursorPos(p.x, p.y);
    return SendMessageA(hWnd, WM_NCHITTEST, 0, ScreenLParam(hWnd, x, y));
}

void PressAt(HWND hWnd, long x, long y) {
    const LRESULT code = HitTestAt(hWnd, x, y);
    SendMessageA(hWnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), ScreenLParam(hWnd, x, y));
}

void ReleaseAt(HWND hWnd, long x, long y) {
    const LRESULT code = HitTestAt(hWnd, x, y);
    SendMessageA(hWnd, WM_NCLBUTTONUP, static_cast<WPARAM>(code), ScreenLParam(hWnd, x, y));
}

bool ClientOrigin(HWND hWnd, POINT& origin) {
    RECT r{};
    GetWindowRect(hWnd, &r);
    origin = POINT{0, 0};
    if (!ClientToScreen(hWnd, &origin)) return false;
    origin.x -= r.left;
    origin.y -= r.top;
    return true;
}

std::vector<std::string> PropertyNames(HWND hWnd) {
    std::vector<std::string> names;
    EnumPropsExA(hWnd, CollectProp, reinterpret_cast<LPARAM>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace paintertest
