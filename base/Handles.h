#pragma once
// Owners for GDI and USER handles, and views that never free.
#include "NonCopyable.h"

#include <windows.h>

#include <utility>

namespace glim {

// A GDI or USER handle as a picture object hands it out: an OLE_HANDLE is
// a 32-bit UINT, and such handles are sign-extended 32-bit values.
template <class H>
H HandleFromOle(UINT h) {
    return reinterpret_cast<H>(static_cast<LONG_PTR>(static_cast<LONG>(h)));
}

// Owns one handle and frees it with Free::operator() unless released.
template <class H, class Free>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, H{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    void reset(H h = H{}) {
        if (H old = std::exchange(h_, h)) Free{}(old);
    }
    // The handle now belongs to someone else (a window region, for one).
    H release() { return std::exchange(h_, H{}); }
    // For out-parameters: frees what is held first.
    H* put() {
        reset();
        return &h_;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }

  private:
    H h_{};
};

// An owner's deleter that calls Free.
template <auto Free>
struct FreeWith {
    template <class H>
    void operator()(H h) const {
        Free(h);
    }
};
using CloseKernelHandle = FreeWith<CloseHandle>;

template <class H>
using OwnedGdiObject = UniqueHandle<H, FreeWith<DeleteObject>>;
using OwnedBitmap = OwnedGdiObject<HBITMAP>;
using OwnedBrush = OwnedGdiObject<HBRUSH>;
using OwnedPen = OwnedGdiObject<HPEN>;
using OwnedFont = OwnedGdiObject<HFONT>;
using OwnedRegion = OwnedGdiObject<HRGN>;
using OwnedDC = UniqueHandle<HDC, FreeWith<DeleteDC>>;
using OwnedWindow = UniqueHandle<HWND, FreeWith<DestroyWindow>>;
using OwnedIcon = UniqueHandle<HICON, FreeWith<DestroyIcon>>;
using OwnedCursor = UniqueHandle<HCURSOR, FreeWith<DestroyCursor>>;
using OwnedMenu = UniqueHandle<HMENU, FreeWith<DestroyMenu>>;
using OwnedKey = UniqueHandle<HKEY, FreeWith<RegCloseKey>>;
using OwnedModule = UniqueHandle<HMODULE, FreeWith<FreeLibrary>>;

// A file as CreateFile opens it; a failed open (INVALID_HANDLE_VALUE) is
// held as empty, so the owner tests false and GetLastError still tells why.
class OwnedFile : public UniqueHandle<HANDLE, CloseKernelHandle> {
  public:
    explicit OwnedFile(HANDLE h) : UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

// Selects an object into a DC and puts the old one back when it ends.
class SelectGuard : NonCopyable {
  public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    // False when nothing was selected (no object, or the DC refused it).
    bool selected() const { return old_ != nullptr; }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC borrowed with Get and given back with ReleaseDC.
template <HDC(WINAPI* Get)(HWND)>
class BorrowedDC : NonCopyable {
  public:
    explicit BorrowedDC(HWND hwnd) : hwnd_(hwnd), dc_(Get(hwnd)) {}
    ~BorrowedDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};
// The client area's DC.
using WindowDC = BorrowedDC<GetDC>;
// The DC of a whole window, frame included.
using NonClientDC = BorrowedDC<GetWindowDC>;

// The desktop's one window-update lock (LockWindowUpdate).  While someone
// else holds it, taking it fails, and that lock is not ours to end.
class WindowUpdateLock : NonCopyable {
  public:
    explicit WindowUpdateLock(HWND hwnd) : taken_(LockWindowUpdate(hwnd) != FALSE) {}
    ~WindowUpdateLock() {
        if (taken_) LockWindowUpdate(nullptr);
    }
    bool taken() const { return taken_; }

  private:
    bool taken_;
};

// A screen DC on "DISPLAY", deleted at the end of the scope.  Making one is
// dear under Wine; what only needs the screen's format takes ScreenDC
// (DisplayCache.h).
class DisplayDC {
  public:
    DisplayDC() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
    HDC get() const { return dc_.get(); }

  private:
    OwnedDC dc_;
};

} // namespace glim
