#include "MMControl.h"

#include "Handles.h"
#include "LateLibrary.h"
#include "Text.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <mmsystem.h>

namespace glim::host {

namespace {
const char* const kClass = "GlimHostMMControl";
// Loaded by the first command: the media libraries cost nothing until a song plays.
LateLibrary winmm("winmm.dll");

MCIERROR SendString(const std::wstring& command, wchar_t* reply, UINT room, HWND notify) {
    return winmm.Proc<decltype(mciSendStringW)>("mciSendStringW")(command.c_str(), reply, room, notify);
}
const int kButtons = 9;
// The bar's buttons in order, and the command each one sends.
const char* const kButtonCommands[kButtons] = {"PREV", "NEXT", "PLAY",   "PAUSE", "BACK",
                                               "STEP", "STOP", "RECORD", "EJECT"};

std::string Upper(std::string s) {
    CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// A triangle pointing left (dir -1) or right (+1) inside a box.
void Triangle(HDC dc, int x, int y, int w, int h, int dir) {
    POINT p[3];
    if (dir > 0)
        p[0] = {x, y}, p[1] = {x, y + h}, p[2] = {x + w, y + h / 2};
    else
        p[0] = {x + w, y}, p[1] = {x + w, y + h}, p[2] = {x, y + h / 2};
    Polygon(dc, p, 3);
}

void Bar(HDC dc, int x, int y, int w, int h) {
    Rectangle(dc, x, y, x + w, y + h);
}

void Glyph(HDC dc, int button, const RECT& rc) {
    const int s = std::max<int>(6, std::min(rc.right - rc.left, rc.bottom - rc.top) / 3);
    const int x = (rc.left + rc.right - s) / 2, y = (rc.top + rc.bottom - s) / 2;
    switch (button) {
    case 0: // previous: bar, then a left triangle
        Bar(dc, x, y, 2, s);
        Triangle(dc, x + 3, y, s - 3, s, -1);
        break;
    case 1: // next
        Triangle(dc, x, y, s - 3, s, 1);
        Bar(dc, x + s - 2, y, 2, s);
        break;
    case 2: // play
        Triangle(dc, x, y, s, s, 1);
        break;
    case 3: // pause
        Bar(dc, x, y, s / 3, s);
        Bar(dc, x + s - s / 3, y, s / 3, s);
        break;
    case 4: // back
        Triangle(dc, x, y, s / 2, s, -1);
        Bar(dc, x + s / 2 + 1, y, 2, s);
        break;
    case 5: // step
        Bar(dc, x + s / 2 - 3, y, 2, s);
        Triangle(dc, x + s / 2, y, s / 2, s, 1);
        break;
    case 6: // stop
        Bar(dc, x, y, s, s);
        break;
    case 7: { // record: a dot
        Ellipse(dc, x, y, x + s, y + s);
        break;
    }
    default: { // eject: a roof over a bar
        POINT p[3] = {{x, y + s * 2 / 3}, {x + s, y + s * 2 / 3}, {x + s / 2, y}};
        Polygon(dc, p, 3);
        Bar(dc, x, y + s * 3 / 4, s, s / 4);
        break;
    }
    }
}

long ModeOf(const std::wstring& mode) {
    if (mode == L"stopped") return 525;
    if (mode == L"playing") return 526;
    if (mode == L"recording") return 527;
    if (mode == L"seeking") return 528;
    if (mode == L"paused") return 529;
    if (mode == L"open" || mode == L"ready") return 530;
    return 524;
}
} // namespace

std::span<const MMControl::Member> MMControl::Members() {
    static const Member members[] = {
        {"FileName", 22, &MMControl::fileName_, kPersist},
        {"Command", 23, {}, 0, 0, &MMControl::NoCommand, &MMControl::Command},
        {"Position", 37, {}, kReadOnly, 0, &MMControl::Position},
        {"Error", 40, &MMControl::error_, kReadOnly},
        {"ErrorMessage", 41, &MMControl::errorMessage_, kReadOnly},
        {"Mode", 42, {}, kReadOnly, 0, &MMControl::Mode},
    };
    return members;
}

MMControl::MMControl() : IntrinsicControl("MMControl", Members()) {
    static unsigned next = 0;
    alias_ = L"glimmm" + std::to_wstring(++next);
}

MMControl::~MMControl() {
    DestroyWindowNow();
    Close();
}

HWND MMControl::CreateWindowIn(HWND parent, const RECT& px, HostForm*) {
    // Hidden until the form places it: see ShownByForm.
    return MakeWindow(kClass, WindowProc, parent, px, WS_CHILD);
}

void MMControl::DestroyWindowNow() {
    if (!hwnd_) return;
    IntrinsicControl::DestroyWindowNow();
    // Notifications would go to a window that is gone.
    Close();
}

bool MMControl::Send(const std::wstring& command, std::wstring* reply, bool notify) {
    wchar_t buffer[256] = {};
    const MCIERROR code = SendString(command, buffer, 256, notify && hwnd_ ? hwnd_ : nullptr);
    if (reply) *reply = buffer;
    if (code == 0) return true;
    error_ = static_cast<long>(code);
    wchar_t text[256] = {};
    if (!winmm.Proc<decltype(mciGetErrorStringW)>("mciGetErrorStringW")(code, text, 256))
        swprintf(text, 256, L"MCI error %lu", code);
    errorMessage_ = Narrow(text);
    return false;
}

std::wstring MMControl::Status(const wchar_t* item) const {
    if (!open_) return {};
    wchar_t buffer[128] = {};
    const std::wstring command = L"status " + alias_ + L" " + item;
    if (SendString(command, buffer, 128, nullptr) != 0) return {};
    return buffer;
}

void MMControl::Close() {
    if (!open_) return;
    SendString(L"close " + alias_, nullptr, 0, nullptr);
    open_ = false;
}

void MMControl::Command(const std::string& command) {
    error_ = 0;
    errorMessage_.clear();
    const std::string name = Upper(command);
    const std::wstring& a = alias_;
    if (name == "OPEN") {
        Close();
        if (fileName_.empty()) {
            error_ = MCIERR_FILENAME_REQUIRED;
            errorMessage_ = "A file name is required";
        } else if (Send(L"open \"" + fileName_ + L"\" alias " + a)) {
            open_ = true;
            Send(L"set " + a + L" time format milliseconds");
        }
    } else if (name == "CLOSE") {
        if (open_) Send(L"close " + a);
        open_ = false;
    } else if (!open_) {
        error_ = MCIERR_INVALID_DEVICE_NAME;
        errorMessage_ = "No device is open";
    } else if (name == "PLAY") {
        Send(L"play " + a, nullptr, true);
    } else if (name == "PAUSE") {
        // Pause toggles: a paused device resumes where it stopped.
        if (Status(L"mode") == L"paused") {
            if (!Send(L"resume " + a)) {
                error_ = 0;
                errorMessage_.clear();
                Send(L"play " + a, nullptr, true);
            }
        } else {
            Send(L"pause " + a);
        }
    } else if (name == "STOP") {
        Send(L"stop " + a);
    } else if (name == "PREV") {
        Send(L"seek " + a + L" to start");
    } else if (name == "NEXT") {
        Send(L"seek " + a + L" to end");
    } else if (name == "BACK") {
        Send(L"step " + a + L" reverse");
    } else if (name == "STEP") {
        Send(L"step " + a);
    } else if (name == "RECORD") {
        Send(L"record " + a);
    } else if (name == "EJECT") {
        Send(L"set " + a + L" door open");
    } else {
        error_ = MCIERR_UNRECOGNIZED_COMMAND;
        errorMessage_ = "Unrecognized command: " + command;
    }
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

long MMControl::Position() const {
    const std::wstring pos = Status(L"position");
    return pos.empty() ? 0 : static_cast<long>(std::wcstol(pos.c_str(), nullptr, 10));
}

long MMControl::Mode() const {
    return open_ ? ModeOf(Status(L"mode")) : 524;
}

int MMControl::ButtonAt(int x) const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int w = rc.right - rc.left;
    if (w <= 0 || x < 0 || x >= w) return -1;
    return std::min(kButtons - 1, x * kButtons / w);
}

void MMControl::Paint(HDC dc) const {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int w = rc.right - rc.left;
    OwnedBrush ink(CreateSolidBrush(GetSysColor(open_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT)));
    SelectGuard brush(dc, ink.get());
    SelectGuard pen(dc, GetStockObject(NULL_PEN));
    for (int i = 0; i < kButtons; ++i) {
        RECT cell{i * w / kButtons, rc.top, (i + 1) * w / kButtons, rc.bottom};
        DrawFrameControl(dc, &cell, DFC_BUTTON, DFCS_BUTTONPUSH | (i == pressed_ ? DFCS_PUSHED : 0));
        Glyph(dc, i, cell);
    }
}

LRESULT CALLBACK MMControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MMControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // the buttons cover the whole client area
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        self->pressed_ = self->ButtonAt(static_cast<short>(LOWORD(lParam)));
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        const int pressed = std::exchange(self->pressed_, -1);
        if (GetCapture() == hwnd) ReleaseCapture();
        InvalidateRect(hwnd, nullptr, FALSE);
        if (pressed >= 0 && pressed == self->ButtonAt(static_cast<short>(LOWORD(lParam)))) {
            ComPtr<MMControl> keep(self);
            self->Command(kButtonCommands[pressed]);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        self->pressed_ = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case MM_MCINOTIFY:
        // Playback ended or was cut short: the buttons show the new state.
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace glim::host
