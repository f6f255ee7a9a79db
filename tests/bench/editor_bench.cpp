// Versolo's file work on a 10,000-line LRC file against the platform doing
// the same with its own calls (ReadFile / WriteFile and an ANSI edit
// window; then a Unicode edit of the document box's styles, size and font,
// so that what is left is the wrapper's own cost).  Prints milliseconds
// (best of five) and the ratios; startup_bench times Versolo's start.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "HostForm.h"
#include "LyricsDocument.h"
#include "TextBox.h"
#include "TextFile.h"
#include "Clock.h"

namespace {

constexpr int kRounds = 5;

// The file's bytes through the platform's own calls alone.
std::string PlatformRead(const std::wstring& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

template <class F>
double Best(F&& f) {
    double best = 1e30;
    for (int i = 0; i < kRounds; ++i) {
        const double t0 = NowMs();
        f();
        best = std::min(best, NowMs() - t0);
    }
    return best;
}

// The best times of two operations whose rounds alternate, so that both
// meet the same load on a shared machine.
template <class F, class G>
std::pair<double, double> BestSideBySide(F&& f, G&& g) {
    double bestF = 1e30, bestG = 1e30;
    for (int i = 0; i < kRounds; ++i) {
        double t0 = NowMs();
        f();
        bestF = std::min(bestF, NowMs() - t0);
        t0 = NowMs();
        g();
        bestG = std::min(bestG, NowMs() - t0);
    }
    return {bestF, bestG};
}

// Milliseconds from CreateProcess to a visible window of the process; -1 when none came.
} // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 1;
    wchar_t tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring file = std::wstring(tmp) + L"editor_bench.lrc",
                       out = std::wstring(tmp) + L"editor_bench_out.lrc";
    std::wstring doc;
    for (int i = 0; i < 10000; ++i)
        doc += L"[" + std::to_wstring(i / 60) + L":" + std::to_wstring(i % 60) + L".250]第" +
               std::to_wstring(i) + L"行歌词 some words\r\n";
    bool lossy = false;
    glim::host::WriteTextFile(file, versolo::EncodeLrc(doc, CP_ACP, &lossy));

    {
        glim::ComPtr<glim::host::HostForm> form = glim::host::HostForm::Create("bench", 9000, 6000);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        bag->Set("MultiLine", glim::Variant::Bool(true));
        bag->Set("ScrollBars", glim::Variant::Long(3));
        auto* box = dynamic_cast<glim::host::TextBox*>(
            form->AddControl("TextBox", "Text2", 0, 0, 7215, 3015, bag.get())->Builtin());
        HWND plain =
            CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL,
                            0, 0, 480, 200, form->hWnd(), nullptr, nullptr, nullptr);
        SendMessageA(plain, EM_SETLIMITTEXT, 0, 0);
        form->Show();
        // The same class, styles, size and font as the box, on a form of its
        // own so that neither covers the other.
        glim::ComPtr<glim::host::HostForm> likeForm = glim::host::HostForm::Create("like", 9000, 6000);
        RECT boxRect{};
        GetWindowRect(box->Window(), &boxRect);
        HWND like = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                    static_cast<DWORD>(GetWindowLongPtrW(box->Window(), GWL_STYLE)), 0, 0,
                                    boxRect.right - boxRect.left, boxRect.bottom - boxRect.top,
                                    likeForm->hWnd(), nullptr, nullptr, nullptr);
        SendMessageW(like, EM_SETLIMITTEXT, 0, 0);
        SendMessageW(like, WM_SETFONT, SendMessageW(box->Window(), WM_GETFONT, 0, 0), FALSE);
        likeForm->Show();
        Pump();

        const auto openBox = [&] {
            box->SetWideText(L"");
            box->SetWideText(versolo::DecodeLrc(glim::host::ReadTextFile(file), CP_ACP).value());
        };
        const double open = Best(openBox);
        // The same without the edit window: what the file work itself costs.
        std::wstring decoded;
        const double readDecode =
            Best([&] { decoded = versolo::DecodeLrc(glim::host::ReadTextFile(file), CP_ACP).value(); });
        const double openPlatform = Best([&] {
            SetWindowTextA(plain, "");
            const std::string bytes = PlatformRead(file);
            SetWindowTextA(plain, bytes.c_str());
        });
        const auto [openPaired, openLike] = BestSideBySide(openBox, [&] {
            SetWindowTextW(like, L"");
            const std::string bytes = PlatformRead(file);
            std::wstring wide(bytes.size(), L'\0');
            wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(),
                                                                static_cast<int>(bytes.size()), wide.data(),
                                                                static_cast<int>(wide.size()))));
            SetWindowTextW(like, wide.c_str());
        });
        const double save = Best([&] {
            bool l = false;
            glim::host::WriteTextFile(out, versolo::EncodeLrc(box->WideText(), CP_ACP, &l));
        });
        const double savePlatform = Best([&] {
            const int n = GetWindowTextLengthA(plain);
            std::string bytes(static_cast<size_t>(n) + 1, '\0');
            GetWindowTextA(plain, bytes.data(), n + 1);
            bytes.resize(static_cast<size_t>(n));
            bytes += "\r\n";
            HANDLE h = CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD put = 0;
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
            CloseHandle(h);
        });
        std::printf("open 10000-line LRC:  %8.2f ms   platform %8.2f ms   ratio %5.2f   (goal < 50 ms)\n",
                    open, openPlatform, open / openPlatform);
        std::printf("  of which reading and decoding the file: %8.2f ms (%zu characters)\n", readDecode,
                    decoded.size());
        std::printf(
            "open 10000-line LRC:  %8.2f ms   like-for-like platform edit %8.2f ms   ratio %5.2f   (goal <= "
            "1.1)\n",
            openPaired, openLike, openPaired / openLike);
        std::printf(
            "  the wrapper's own cost: %8.2f ms (the same class, styles and font, read and decoded alike)\n",
            openPaired - openLike);
        std::printf("save 10000-line LRC:  %8.2f ms   platform %8.2f ms   ratio %5.2f   (goal < 50 ms)\n",
                    save, savePlatform, save / savePlatform);
        DestroyWindow(plain);
        DestroyWindow(like);
        likeForm->Unload();
        form->Unload();
    }

    DeleteFileW(file.c_str());
    DeleteFileW(out.c_str());
    OleUninitialize();
    return 0;
}
