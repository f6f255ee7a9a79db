// Non-client painting of a skinned 800 x 600 window against Wine's own frame
// of the same window, the cost of mouse messages through the takeover and
// the menu bar, and one skin cycle (LoadSkin, full frame paint, CloseSkin).
// Prints microseconds per paint and cycle, nanoseconds per message and the
// ratios.  With --requests it runs each operation a fixed number of times
// between the marks count_requests.sh counts the server's requests by.
#include <windows.h>
#include <olectl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "ComObject.h"
#include "GlimFormSkin.h"
#include "RefCounted.h"
#include "RequestMarks.h"
#include "SkinResourceIds.h"
#include "cNeoCaption.h"

namespace {

constexpr int kPaints = 500;
constexpr int kMessages = 20000;
constexpr int kCycles = 50;
constexpr int kRounds = 5;
// Operations per measurement under the request trace.
constexpr int kTracedPaints = 50;
constexpr int kTracedMessages = 200;
constexpr int kTracedCycles = 20;

// The form the painter sees: hWnd, Icon (none), Refresh and BackColor.
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
        static const wchar_t* const known[] = {L"hWnd", L"Refresh", L"BackColor"};
        *id = DISPID_UNKNOWN;
        for (DISPID i = 0; i < 3; ++i)
            if (_wcsicmp(names[0], known[i]) == 0) *id = i + 1;
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

// Whether this run counts requests (marks, few operations) or measures time.
bool gRequests = false;

// Best of several rounds, seconds per operation; under the request trace,
// one marked round of traced operations.
template <class F>
double Cost(const char* label, int times, int traced, F&& f) {
    if (gRequests) {
        glimbench::CountRequests(label, traced, f);
        Pump();
        return 0;
    }
    double best = 1e300;
    for (int r = 0; r < kRounds; ++r) {
        const double a = Now();
        for (int i = 0; i < times; ++i)
            f();
        best = std::min(best, (Now() - a) / times);
        Pump();
    }
    return best;
}

// Microseconds per full frame paint.
double PaintCost(const char* label, HWND w) {
    return 1e6 * Cost(label, kPaints, kTracedPaints, [w] { SendMessageA(w, WM_NCPAINT, 1, 0); });
}

// Nanoseconds per message.
double MessageCost(const char* label, HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    return 1e9 * Cost(label, kMessages, kTracedMessages, [=] { SendMessageA(w, msg, wParam, lParam); });
}

LPARAM Packed(POINT p) {
    return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y));
}

// What the platform sends while the mouse rests on a point: the hit test,
// the cursor, then the move (non-client or client as the code says).
double HoverCost(const char* label, HWND w, POINT screen) {
    const LPARAM at = Packed(screen);
    const LRESULT code = SendMessageA(w, WM_NCHITTEST, 0, at);
    POINT client = screen;
    ScreenToClient(w, &client);
    const UINT move = code == HTCLIENT ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    const LPARAM moveAt = code == HTCLIENT ? Packed(client) : at;
    const WPARAM moveCode = code == HTCLIENT ? 0 : static_cast<WPARAM>(code);
    return 1e9 * Cost(label, kMessages, kTracedMessages, [=] {
               const LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0, at);
               SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), MAKELPARAM(hit, WM_MOUSEMOVE));
               SendMessageA(w, move, moveCode, moveAt);
           });
}

// The screen point of Wine's own close button, found by its hit code.
POINT OwnCloseButton(HWND w) {
    RECT wr{};
    GetWindowRect(w, &wr);
    const long y = wr.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (long x = wr.right - 1; x > wr.left; --x)
        if (DefWindowProcA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return POINT{x - 4, y};
    return POINT{wr.right - 20, y};
}

POINT Centre(RECT r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

long long PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return static_cast<long long>(counters.PrivateUsage);
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

HWND MakeWindow(const char* cls, const char* title, HMENU menu) {
    return CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 800, 600, nullptr, menu,
                           GetModuleHandleA(nullptr), nullptr);
}

HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    for (const char* name : {"&File", "&Edit"}) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 100, "&Open");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    return bar;
}

} // namespace

int main(int argc, char** argv) {
    gRequests = argc > 1 && std::strcmp(argv[1], "--requests") == 0;
    LetWineDrawFrames();
    OleInitialize(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "GlimFrameBench";
    RegisterClassA(&wc);
    const HWND w = MakeWindow(wc.lpszClassName, "Versolo frame bench", nullptr);
    const HWND m = MakeWindow(wc.lpszClassName, "Versolo menu bar bench", MakeMenu());
    Pump();
    RECT wr{};
    GetWindowRect(w, &wr);
    const LPARAM inside = MAKELPARAM(wr.left + 400, wr.top + 300);
    RECT mc{};
    GetClientRect(m, &mc);
    const LPARAM clientMiddle = Packed(Centre(mc));
    RECT ownItem{};
    GetMenuItemRect(m, GetMenu(m), 0, &ownItem);

    const double plainPaint = PaintCost("own frame paint", w);
    const double plainHit = MessageCost("own WM_NCHITTEST", w, WM_NCHITTEST, 0, inside);
    const double plainOther = MessageCost("own other message", w, WM_APP + 3, 0, 0);
    const double plainHover = HoverCost("own title-button hover", w, OwnCloseButton(w));
    const double plainMove = MessageCost("own WM_MOUSEMOVE", m, WM_MOUSEMOVE, 0, clientMiddle);
    const double plainBar = HoverCost("own menu-bar hover", m, Centre(ownItem));

    BenchForm form(w);
    BenchForm menuForm(m);
    IPicture* caption = SkinPicture(glim::skinres::Caption(0));
    IPicture* border = SkinPicture(glim::skinres::Border(0));
    {
        glim::Ref<glim::cNeoCaption> painter = glim::MakeRef<glim::cNeoCaption>();
        painter->Attach(&form, caption, border, 19, 20, 90, 140, 240, 400, 0, 0);
        glim::Ref<glim::cNeoCaption> barPainter = glim::MakeRef<glim::cNeoCaption>();
        barPainter->Attach(&menuForm, caption, border, 19, 20, 90, 140, 240, 400, 0, 0);
        Pump();
        SendMessageA(m, WM_NCPAINT, 1, 0);
        const double skinPaint = PaintCost("skinned frame paint", w);
        const double skinHit = MessageCost("skinned WM_NCHITTEST", w, WM_NCHITTEST, 0, inside);
        const double skinOther = MessageCost("skinned other message", w, WM_APP + 3, 0, 0);
        RECT close = painter->ButtonRect(glim::cNeoCaption::btnClose);
        OffsetRect(&close, wr.left, wr.top);
        const double skinHover = HoverCost("skinned title-button hover", w, Centre(close));
        GetClientRect(m, &mc);
        const double skinMove = MessageCost("skinned WM_MOUSEMOVE", m, WM_MOUSEMOVE, 0, Packed(Centre(mc)));
        POINT barItem = Centre(barPainter->MenuBar()->BarRect(1));
        ClientToScreen(m, &barItem);
        const double skinBar = HoverCost("skinned menu-bar hover", m, barItem);
        barPainter->Detach();
        painter->Detach();

        if (!gRequests) {
            std::printf("non-client paint of an 800 x 600 window, best of %d x %d:\n", kRounds, kPaints);
            std::printf(
                "  Wine's own frame  %9.1f us\n  skinned frame     %9.1f us\n  ratio skinned/own %9.2f\n",
                plainPaint, skinPaint, skinPaint / plainPaint);
            std::printf("messages through the takeover, best of %d x %d:\n", kRounds, kMessages);
            std::printf("  WM_NCHITTEST      own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n", plainHit,
                        skinHit, skinHit / plainHit);
            std::printf("  a message not taken over  own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n",
                        plainOther, skinOther, skinOther / plainOther);
            std::printf("mouse on the frame, best of %d x %d (hover: WM_NCHITTEST, WM_SETCURSOR, move):\n",
                        kRounds, kMessages);
            std::printf("  hovering a title button   own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n",
                        plainHover, skinHover, skinHover / plainHover);
            std::printf("  WM_MOUSEMOVE, menu bar form  own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n",
                        plainMove, skinMove, skinMove / plainMove);
            std::printf("  hovering a menu bar item  own %7.0f ns  skinned %7.0f ns  ratio %5.2f\n", plainBar,
                        skinBar, skinBar / plainBar);
        }
    }
    caption->Release();
    border->Release();

    // What GlimForm's LoadSkin and CloseSkin do on a form, with the full
    // frame paint between them; the first cycle makes what later ones reuse.
    {
        glim::GlimFormSkin skin;
        const auto cycle = [&] {
            short idx = 0;
            skin.LoadSkin(&form, 0, idx);
            RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            skin.CloseSkin();
        };
        cycle();
        const long long before = PrivateBytes();
        const double cycleCost = Cost("skin cycle", kCycles, kTracedCycles, cycle);
        const long long grown = PrivateBytes() - before;
        if (!gRequests) {
            std::printf("skin cycle (LoadSkin, full frame paint, CloseSkin), best of %d x %d:\n", kRounds,
                        kCycles);
            std::printf("  per cycle %9.1f us  private bytes per cycle %lld\n", 1e6 * cycleCost,
                        grown / (kRounds * kCycles));
        }
    }
    DestroyWindow(m);
    DestroyWindow(w);
    OleUninitialize();
    return 0;
}
