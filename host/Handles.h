#pragma once
// Owners for the USER and GDI handles the host creates.  Release() hands a
// handle to whoever takes it over (a window taking its menu bar).
#include <windows.h>

#include <utility>

namespace glim::host {

template <class H, BOOL(WINAPI* Free)(H)>
class HandleOwner {
  public:
    HandleOwner() = default;
    explicit HandleOwner(H h) : h_(h) {}
    HandleOwner(HandleOwner&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    HandleOwner& operator=(HandleOwner&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    ~HandleOwner() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    H release() { return std::exchange(h_, nullptr); }
    void reset(H h = nullptr) {
        if (h_) Free(h_);
        h_ = h;
    }

  private:
    H h_ = nullptr;
};

inline BOOL WINAPI DeleteBrush(HBRUSH h) {
    return DeleteObject(h);
}

using MenuHandle = HandleOwner<HMENU, DestroyMenu>;
using BrushHandle = HandleOwner<HBRUSH, DeleteBrush>;
using WindowHandle = HandleOwner<HWND, DestroyWindow>;

// A window DC borrowed for the length of a scope.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and selects the old one back on scope exit.
class SelectIn {
  public:
    SelectIn(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectIn() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectIn(const SelectIn&) = delete;
    SelectIn& operator=(const SelectIn&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace glim::host
