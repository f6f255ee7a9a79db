#include "Fonts.h"

#include "DisplayCache.h"
#include "RuntimeErrors.h"
#include "Text.h"

namespace glim {

ComPtr<IFontDisp> CreateStdFont(const std::string& name, double points, bool bold) {
    return CreateStdFont(Widen(name), points, bold, DEFAULT_CHARSET);
}

ComPtr<IFontDisp> CreateStdFont(const std::wstring& name, double points, bool bold, short charset) {
    std::wstring w = name;
    FONTDESC fd{};
    fd.cbSizeofstruct = sizeof fd;
    fd.lpstrName = w.data();
    fd.cySize.int64 = static_cast<LONGLONG>(points * 10000.0 + 0.5);
    fd.sWeight = static_cast<SHORT>(bold ? FW_BOLD : FW_NORMAL);
    fd.sCharset = charset;
    ComPtr<IFontDisp> font;
    if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, font.put_void()))) RaiseError(kErrOutOfMemory);
    return font;
}

ComPtr<IFontDisp> DefaultGuiFont() {
    LOGFONTA lf{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    const int dpi = CurrentDisplay().dpiY;
    const double points = lf.lfHeight < 0 ? -lf.lfHeight * 72.0 / dpi : 9.0;
    return CreateStdFont(lf.lfFaceName[0] ? lf.lfFaceName : "MS Shell Dlg", points, lf.lfWeight >= FW_BOLD);
}

ComPtr<IFontDisp> CloneFont(IUnknown* font) {
    ComPtr<IFontDisp> result;
    ComPtr<IFont> f;
    if (!font || FAILED(font->QueryInterface(IID_IFont, f.put_void()))) return result;
    ComPtr<IFont> copy;
    if (FAILED(f->Clone(copy.put()))) RaiseError(kErrOutOfMemory);
    copy->QueryInterface(IID_IFontDisp, result.put_void());
    return result;
}

HFONT FontHandle(IUnknown* font) {
    ComPtr<IFont> f;
    if (!font || FAILED(font->QueryInterface(IID_IFont, f.put_void()))) return nullptr;
    HFONT h = nullptr;
    f->get_hFont(&h);
    return h;
}

} // namespace glim
