// Non-client painting of a skinned 800 x 600 window against Wine's own frame
// of the same window, and the cost of messages through the takeover.
// Prints microseconds per paint, nanoseconds per message and the ratios.
#include <windows.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>

#include "ComObject.h"
#include "RefCounted.h"
#include "SkinResourceIds.h"
#include "cNeoCaption.h"

namespace {

constexpr int kPaints = 500;
constexpr int kMessages = 20000;
constexpr int kRounds = 5;

// The form the painter sees: hWnd, Icon (none) and Refresh.
// Lives on main's stack for the whole run.
class BenchForm : public glim::UncountedComObject<BenchForm, IDispatch> {
  public:
    explicit BenchForm(HWND hWnd) : hWnd_(hWnd) {}
    void* Find(REFIID riid) {
        return riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
        *id = _wcsicmp(names[0], L"hWnd") == 0 ? 1 : _wcsicmp(names[0], L"Refresh") == 0 ? 2 : DISPID_UNKNOWN;
        return *id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id == 1 && result) {
            V_VT(result) = VT_I4;
            V_I4(result) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(hWnd_));
        }
        return S_OK;
    }

  private:
    HWND hWnd_;
};

IPicture* SkinPicture(int id) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    IPicture* picture = nullptr;
    OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(&picture));
    return picture;
}

double Now() {
    static LARGE_INTEGER freq{};
    if (!freq.QuadPart) QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Best of several rounds, microseconds per full frame paint.
double PaintCost(HWND w) {
    double best = 1e300;
    for (int r = 0; r < kRounds; ++r) {
        const double a = Now();
        for (int i = 0; i < kPaints; ++i)
            SendMessageA(w, WM_NCPAINT, 1, 0);
        best = std::min(best, (Now() - a) * 1e6 / kPaints);
        Pump();
    }
    return best;
}

// Best of several rounds, nanoseconds per message.
double MessageCost(HWND w, UINT msg, LPARAM lParam) {
    double best = 1e300;
    for (int r = 0; r < kRounds; ++r) {
        const double a = Now();
        for (int i = 0; i < kMessages; ++i)
            SendMessageA(w, msg, 0, lParam);
        best = std::min(best, (Now() - a) * 1e9 / kMessages);
    }
    return best;
}

// Wine draws window frames itself only when its X11 driver is told to leave
// none to a window manager, and the figures differ by half.  The driver reads
// the setting when it loads, so it is made here, for this program alone,
// before anything creates a window.
void LetWineDrawFrames() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\frame_bench.exe\\X11 Driver", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
}

} // namespace

int main() {
    LetWineDrawFrames();
    OleInitialize(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "GlimFrameBench";
    RegisterClassA(&wc);
    const HWND w =
        CreateWindowExA(0, wc.lpszClassName, "Versolo frame bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                        800, 600, nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
    RECT wr{};
    GetWindowRect(w, &wr);
    const LPARAM inside = MAKELPARAM(wr.left + 400, wr.top + 300);

    const double plainPaint = PaintCost(w);
    const double plainHit = MessageCost(w, WM_NCHITTEST, inside);
    const double plainOther = MessageCost(w, WM_APP + 3, 0);

    BenchForm form(w);
    IPicture* caption = SkinPicture(glim::skinres::Caption(0));
    IPicture* border = SkinPicture(glim::skinres::Border(0));
    {
        glim::Ref<glim::cNeoCaption> painter = glim::MakeRef<glim::cNeoCaption>();
        painter->Attach(&form, caption, border, 19, 20, 90, 140, 240, 400, 0, 0);
        Pump();
        const double skinPaint = PaintCost(w);
        const double skinHit = MessageCost(w, WM_NCHITTEST, inside);
        const double skinOther = MessageCost(w, WM_APP + 3, 0);
        painter->Detach();

        std::printf("non-client paint of an 800 x 600 window, best of %d x %d:\n", kRounds, kPaints);
        std::printf("  Wine's own frame  %9.1f us\n  skinned frame     %9.1f us\n  ratio skinned/own %9.2f\n",
                    plainPaint, skinPaint, skinPaint / plainPaint);
        std::printf("messages through the takeover, best of %d x %d:\n", kRounds, kMessages);
        std::printf("  WM_NCHITTEST      own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n", plainHit, skinHit,
                    skinHit / plainHit);
        std::printf("  a message not taken over  own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n", plainOther,
                    skinOther, skinOther / plainOther);
    }
    caption->Release();
    border->Release();
    DestroyWindow(w);
    OleUninitialize();
    return 0;
}
