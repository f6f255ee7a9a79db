// Cost per message of a window subclassed through MSubclass (1 and 3
// clients) against the same window with a plain chain of 1 and 3 procedures
// that each call the next with CallWindowProcA.  Prints nanoseconds per
// SendMessageA and the ratios.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "ISubclass.h"
#include "MSubclass.h"

namespace {

constexpr UINT kMsg = WM_APP + 7;
constexpr int kMessages = 20000;
constexpr int kRounds = 5;

long gWork = 0; // each level does this much, so no level is free

LRESULT CALLBACK BaseProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsg) return ++gWork;
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// Three plain subclass procedures; each knows the one below it.
WNDPROC gBelow[3] = {};
template <int Level>
LRESULT CALLBACK ChainProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsg) ++gWork;
    return CallWindowProcA(gBelow[Level], hWnd, msg, wParam, lParam);
}
const WNDPROC kChain[3] = {ChainProc<0>, ChainProc<1>, ChainProc<2>};

class Client : public glim::ISubclass {
  public:
    explicit Client(glim::MsgResponseMode mode) : mode_(mode) {}
    glim::MsgResponseMode MsgResponse() override { return mode_; }
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { return ++gWork; }

  private:
    glim::MsgResponseMode mode_;
};

HWND MakeWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BaseProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GlimBenchWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

// Best of several rounds, in nanoseconds per message.
double Measure(HWND w, UINT msg) {
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    double best = 1e300;
    for (int r = 0; r < kRounds; ++r) {
        QueryPerformanceCounter(&a);
        for (int i = 0; i < kMessages; ++i)
            SendMessageA(w, msg, 0, 0);
        QueryPerformanceCounter(&b);
        const double ns = double(b.QuadPart - a.QuadPart) * 1e9 / double(freq.QuadPart) / kMessages;
        if (ns < best) best = ns;
    }
    return best;
}

double PlainChain(HWND w, int levels) {
    const LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
    for (int i = levels - 1; i >= 0; --i)
        gBelow[i] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kChain[i])));
    const double ns = Measure(w, kMsg);
    SetWindowLongPtrA(w, GWLP_WNDPROC, original);
    return ns;
}

struct Subclassed {
    double subscribed;
    double other; // a message no client subscribed to
};

Subclassed ThroughModule(HWND w, int clients) {
    std::vector<glim::Ref<Client>> list;
    for (int i = 0; i < clients; ++i)
        list.push_back(glim::MakeRef<Client>(i == clients - 1 ? glim::mrDefaultAfter : glim::mrNoDefault));
    for (auto& c : list)
        glim::AttachMessage(c.get(), w, kMsg);
    const Subclassed s{Measure(w, kMsg), Measure(w, kMsg + 1)};
    for (auto& c : list)
        glim::DetachMessage(c.get(), w, kMsg);
    return s;
}

// The module keeps its bookkeeping in the window's property list; this is
// what one lookup there costs on the platform at hand.
double OneGetProp(HWND w) {
    SetPropA(w, "GlimBenchKey", reinterpret_cast<HANDLE>(1));
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&a);
    for (int i = 0; i < kMessages; ++i)
        gWork += reinterpret_cast<LONG_PTR>(GetPropA(w, "GlimBenchKey"));
    QueryPerformanceCounter(&b);
    RemovePropA(w, "GlimBenchKey");
    return double(b.QuadPart - a.QuadPart) * 1e9 / double(freq.QuadPart) / kMessages;
}

} // namespace

int main() {
    const HWND w = MakeWindow();
    if (!w) return 1;
    const double base = Measure(w, kMsg);
    const double chain1 = PlainChain(w, 1);
    const double chain3 = PlainChain(w, 3);
    const Subclassed sub1 = ThroughModule(w, 1);
    const Subclassed sub3 = ThroughModule(w, 3);
    const double prop = OneGetProp(w);
    DestroyWindow(w);

    std::printf("messages per round %d, best of %d rounds, ns per SendMessageA\n", kMessages, kRounds);
    std::printf("  plain window procedure          %8.1f\n", base);
    std::printf("  plain chain, 1 procedure        %8.1f\n", chain1);
    std::printf("  plain chain, 3 procedures       %8.1f\n", chain3);
    std::printf("  MSubclass, 1 client             %8.1f\n", sub1.subscribed);
    std::printf("  MSubclass, 3 clients            %8.1f\n", sub3.subscribed);
    std::printf("  MSubclass, unsubscribed message %8.1f (1 client on another message)\n", sub1.other);
    std::printf("  one GetPropA                    %8.1f\n", prop);
    std::printf("ratios\n");
    std::printf("  1 client  / plain chain of 1    %6.2f\n", sub1.subscribed / chain1);
    std::printf("  3 clients / plain chain of 3    %6.2f\n", sub3.subscribed / chain3);
    std::printf("  unsubscribed / plain chain of 1 %6.2f\n", sub1.other / chain1);
    return 0;
}
