#include "Interaction.h"

#include "RuntimeErrors.h"

#include <cctype>
#include <vector>

namespace glim {

int MsgBox(const std::string& prompt, UINT buttons, const std::string& title) {
    HWND owner = GetActiveWindow();
    return MessageBoxA(owner, prompt.c_str(), title.c_str(), buttons | MB_SETFOREGROUND);
}

bool DoEvents(const bool* stop) {
    MSG msg;
    while (!(stop && *stop) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

namespace {

struct NamedKey {
    const char* name;
    WORD vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"TAB", VK_TAB},       {"ENTER", VK_RETURN},   {"ESC", VK_ESCAPE},  {"ESCAPE", VK_ESCAPE},
    {"BS", VK_BACK},       {"BACKSPACE", VK_BACK}, {"DEL", VK_DELETE},  {"DELETE", VK_DELETE},
    {"INSERT", VK_INSERT}, {"LEFT", VK_LEFT},      {"RIGHT", VK_RIGHT}, {"UP", VK_UP},
    {"DOWN", VK_DOWN},     {"HOME", VK_HOME},      {"END", VK_END},     {"PGUP", VK_PRIOR},
    {"PGDN", VK_NEXT},     {"F1", VK_F1},          {"F2", VK_F2},       {"F3", VK_F3},
    {"F4", VK_F4},         {"F5", VK_F5},          {"F6", VK_F6},       {"F7", VK_F7},
    {"F8", VK_F8},         {"F9", VK_F9},          {"F10", VK_F10},     {"F11", VK_F11},
    {"F12", VK_F12},
};

void AddKey(std::vector<INPUT>& in, WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
}

void AddStroke(std::vector<INPUT>& in, const std::vector<WORD>& mods, WORD vk) {
    for (WORD m : mods)
        AddKey(in, m, false);
    AddKey(in, vk, false);
    AddKey(in, vk, true);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it)
        AddKey(in, *it, true);
}

} // namespace

void SendKeys(const std::string& keys) {
    std::vector<INPUT> in;
    std::vector<WORD> mods;
    for (size_t i = 0; i < keys.size(); ++i) {
        const char c = keys[i];
        if (c == '+' || c == '^' || c == '%') {
            mods.push_back(c == '+' ? VK_SHIFT : c == '^' ? VK_CONTROL : VK_MENU);
            continue;
        }
        WORD vk = 0;
        std::vector<WORD> extra;
        if (c == '{') {
            const size_t close = keys.find('}', i + 2);
            if (close == std::string::npos) RaiseError(kErrInvalidCall);
            std::string name = keys.substr(i + 1, close - i - 1);
            for (char& ch : name)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            i = close;
            for (const NamedKey& k : kNamedKeys)
                if (name == k.name) vk = k.vk;
            if (!vk && name.size() == 1) vk = static_cast<WORD>(LOBYTE(VkKeyScanA(name[0])));
            if (!vk) RaiseError(kErrInvalidCall);
        } else if (c == '~') {
            vk = VK_RETURN;
        } else {
            const SHORT scan = VkKeyScanA(c);
            if (scan == -1) RaiseError(kErrInvalidCall);
            vk = LOBYTE(scan);
            if (HIBYTE(scan) & 1) extra.push_back(VK_SHIFT);
        }
        extra.insert(extra.begin(), mods.begin(), mods.end());
        AddStroke(in, extra, vk);
        mods.clear();
    }
    if (!in.empty()) SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

} // namespace glim
