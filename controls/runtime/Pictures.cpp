#include "Pictures.h"
#include "NonCopyable.h"

#include "Handles.h"
#include "RuntimeErrors.h"
#include "Screen.h"
#include "Text.h"

namespace glim {

HMODULE ModuleHandle() {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleHandle), &m);
    return m;
}

std::string ModulePath() {
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(ModuleHandle(), path, sizeof path);
    return path;
}

namespace {

class GlobalMemory : NonCopyable {
  public:
    explicit GlobalMemory(SIZE_T size) : h_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
    ~GlobalMemory() {
        if (h_) GlobalFree(h_);
    }
    HGLOBAL get() const { return h_; }
    HGLOBAL release() {
        HGLOBAL h = h_;
        h_ = nullptr;
        return h;
    }

  private:
    HGLOBAL h_;
};

} // namespace

ComPtr<IPictureDisp> LoadPicture(const std::string& path) {
    ComPtr<IPictureDisp> pic;
    if (path.empty()) return pic;
    OwnedFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD err = GetLastError();
        RaiseError((err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME)
                       ? kErrFileNotFound
                       : kErrPathAccess);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF)
        RaiseError(kErrInvalidPicture);
    GlobalMemory mem(static_cast<SIZE_T>(size.QuadPart));
    if (!mem.get()) RaiseError(kErrOutOfMemory);
    void* data = GlobalLock(mem.get());
    DWORD read = 0;
    const BOOL ok = ReadFile(file.get(), data, static_cast<DWORD>(size.QuadPart), &read, nullptr);
    GlobalUnlock(mem.get());
    if (!ok || read != size.QuadPart) RaiseError(kErrPathAccess);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(mem.get(), TRUE, stream.put()))) RaiseError(kErrOutOfMemory);
    mem.release(); // the stream frees it now
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size.QuadPart), FALSE, IID_IPictureDisp,
                              pic.put_void())) ||
        !pic)
        RaiseError(kErrInvalidPicture);
    return pic;
}

ComPtr<IPictureDisp> LoadResPicture(int id, ResourceKind kind) {
    const UINT type = kind == kResBitmap ? IMAGE_BITMAP : kind == kResIcon ? IMAGE_ICON : IMAGE_CURSOR;
    // Icons and cursors are the module's shared ones, made once: one made
    // and destroyed on every load keeps memory inside the platform.
    const UINT flags = kind == kResBitmap ? LR_CREATEDIBSECTION : LR_DEFAULTSIZE | LR_SHARED;
    // Resource numbers are 16-bit: a larger one would name another resource.
    HANDLE h = id <= 0 || id > 0xFFFF ? nullptr
                                      : LoadImageA(ModuleHandle(), MAKEINTRESOURCEA(id), type, 0, 0, flags);
    if (!h)
        RaiseError(kErrResourceNotFound, "Resource with identifier '" + std::to_string(id) + "' not found");
    if (kind == kResBitmap) return PictureFromBitmap(static_cast<HBITMAP>(h), true);
    return PictureFromIcon(static_cast<HICON>(h), false);
}

OLE_HANDLE PictureHandle(IUnknown* pic) {
    ComPtr<IPicture> p;
    if (!pic || FAILED(pic->QueryInterface(IID_IPicture, p.put_void()))) return 0;
    OLE_HANDLE h = 0;
    p->get_Handle(&h);
    return h;
}

short PictureType(IUnknown* pic) {
    ComPtr<IPicture> p;
    if (!pic || FAILED(pic->QueryInterface(IID_IPicture, p.put_void()))) return PICTYPE_NONE;
    SHORT t = PICTYPE_NONE;
    p->get_Type(&t);
    return t;
}

SIZE PictureSizeHimetric(IUnknown* pic) {
    ComPtr<IPicture> p;
    SIZE s{0, 0};
    if (!pic || FAILED(pic->QueryInterface(IID_IPicture, p.put_void()))) return s;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    p->get_Width(&w);
    p->get_Height(&h);
    s.cx = w;
    s.cy = h;
    SHORT type = PICTYPE_NONE;
    p->get_Type(&type);
    if (type == PICTYPE_ENHMETAFILE && (w == 0 || h == 0)) {
        // Some picture objects report no size for metafiles: the frame is in HIMETRIC.
        OLE_HANDLE handle = 0;
        p->get_Handle(&handle);
        ENHMETAHEADER header{};
        if (GetEnhMetaFileHeader(HandleFromOle<HENHMETAFILE>(handle), sizeof header, &header)) {
            s.cx = header.rclFrame.right - header.rclFrame.left;
            s.cy = header.rclFrame.bottom - header.rclFrame.top;
        }
    }
    return s;
}

SIZE PictureSizePixels(IUnknown* pic) {
    const SIZE hm = PictureSizeHimetric(pic);
    return SIZE{HimetricToPixelsX(hm.cx), HimetricToPixelsY(hm.cy)};
}

bool DrawPictureAt(HDC dc, IUnknown* pic, int x, int y, int w, int h) {
    ComPtr<IPicture> p;
    if (!pic || FAILED(pic->QueryInterface(IID_IPicture, p.put_void()))) return false;
    SHORT type = PICTYPE_NONE;
    p->get_Type(&type);
    if (type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED) return true;
    OLE_HANDLE handle = 0;
    p->get_Handle(&handle);
    if (type == PICTYPE_ICON)
        return DrawIconEx(dc, x, y, HandleFromOle<HICON>(handle), w, h, 0, nullptr, DI_NORMAL) != FALSE;
    if (type == PICTYPE_BITMAP) {
        const SIZE px = PictureSizePixels(pic);
        OwnedDC src(CreateCompatibleDC(dc));
        const HGDIOBJ old = SelectObject(src.get(), HandleFromOle<HGDIOBJ>(handle));
        if (old) {
            const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
            const BOOL ok = StretchBlt(dc, x, y, w, h, src.get(), 0, 0, px.cx, px.cy, SRCCOPY);
            SetStretchBltMode(dc, oldMode);
            SelectObject(src.get(), old);
            if (ok) return true;
        }
    }
    const SIZE hm = PictureSizeHimetric(pic);
    return SUCCEEDED(p->Render(dc, x, y, w, h, 0, hm.cy, hm.cx, -hm.cy, nullptr));
}

OwnedBitmap CreateTopDownDib(int w, int h, std::uint32_t** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    OwnedBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!bmp) RaiseError(kErrOutOfMemory);
    *bits = static_cast<std::uint32_t*>(p);
    return bmp;
}

} // namespace glim
