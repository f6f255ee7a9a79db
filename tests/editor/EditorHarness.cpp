#include "EditorHarness.h"

#include "ImageFiles.h"
#include "Raster.h"
#include "Text.h"

namespace editortest {

POINT CenterOf(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void ClickMenuItem(HWND form, int barIndex, int itemIndex) {
    HMENU bar = GetMenu(form);
    RECT item{};
    GetMenuItemRect(form, bar, static_cast<UINT>(barIndex), &item);
    glimtest::ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    HWND popup = nullptr;
    if (!glimtest::WaitFor([&] { return (popup = glimtest::FindPopupMenu()) != nullptr; })) return;
    RECT rc{};
    GetMenuItemRect(nullptr, GetSubMenu(bar, barIndex), static_cast<UINT>(itemIndex), &rc);
    glimtest::ClickAt({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

void AnswerFileDialog(const std::wstring& name) {
    HWND dialog = nullptr;
    if (!glimtest::WaitFor(
            [&] { return (dialog = glimtest::FindDialog()) != nullptr && IsWindowEnabled(dialog); }, 10000))
        return;
    SetForegroundWindow(dialog);
    if (name.empty()) {
        glimtest::PressKey(VK_ESCAPE);
        return;
    }
    glimtest::TypeText(name);
    glimtest::PressKey(VK_RETURN);
}

bool Screenshot(HWND hwnd, const std::string& file) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    skingen::Raster img(w, h);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = GetPixel(mem, x, y);
            img.Set(x, y, skingen::RGB8(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    dir = dir.substr(0, dir.find_last_of("\\/") + 1) + "screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return skingen::WritePng(dir + "\\" + file, img);
}

std::wstring WideCaption(glim::host::Label* label) {
    return glim::Widen(label->Caption());
}

} // namespace editortest
