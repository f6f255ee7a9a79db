#pragma once
// Standard font objects and the GDI fonts behind them.
#include "ComPtr.h"

#include <olectl.h>

#include <string>

namespace glim {

ComPtr<IFontDisp> CreateStdFont(const std::string& name, double points, bool bold = false);
// A face named in UTF-16 with its character set, so a Chinese face name
// reaches the font whatever the system code page is.
ComPtr<IFontDisp> CreateStdFont(const std::wstring& name, double points, bool bold, short charset);
// The font the desktop uses for dialogs, as a standard font object.
ComPtr<IFontDisp> DefaultGuiFont();
// A separate copy (changing it leaves the original alone); Nothing gives Nothing.
ComPtr<IFontDisp> CloneFont(IUnknown* font);
// The GDI font of a font object, owned by the object.
HFONT FontHandle(IUnknown* font);

} // namespace glim
