#include "message_boxes.h"

namespace glimtest {

namespace {

std::vector<MessageBoxWatcher::Seen> gBoxes;

BOOL CALLBACK CloseBox(HWND hwnd, LPARAM) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
    char title[256] = {}, text[512] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    // The message text is the box's static with the id 0xFFFF.
    GetDlgItemTextA(hwnd, 0xFFFF, text, sizeof text);
    gBoxes.push_back({title, text});
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &CloseBox, 0);
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher() {
    gBoxes.clear();
    timer_ = SetTimer(nullptr, 0, 30, &Tick);
}

MessageBoxWatcher::~MessageBoxWatcher() {
    KillTimer(nullptr, timer_);
}

const std::vector<MessageBoxWatcher::Seen>& MessageBoxWatcher::Boxes() const {
    return gBoxes;
}

} // namespace glimtest
