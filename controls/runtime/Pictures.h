#pragma once
// Picture objects: files, resources of the library module, and the GDI
// handles and sizes behind them.
#include "ComPtr.h"

#include <olectl.h>

#include <string>

namespace glim {

// The module the runtime is linked into (the DLL, or a test program).
HMODULE ModuleHandle();
std::string ModulePath();

// Resource kinds as hosts name them.
enum ResourceKind { kResBitmap = 0, kResIcon = 1, kResCursor = 2 };

// A picture file in any format the platform's loader takes.  An empty path
// gives Nothing; a missing file raises 53, an unreadable picture 481.
ComPtr<IPictureDisp> LoadPicture(const std::string& path);
// A bitmap, icon or cursor resource of ModuleHandle(); raises 326 when absent.
ComPtr<IPictureDisp> LoadResPicture(int id, ResourceKind kind);
// Wraps a GDI bitmap; the picture owns it when own is true.
ComPtr<IPictureDisp> PictureFromBitmap(HBITMAP bmp, bool own);

// Handle and type of a picture (0 / PICTYPE_NONE for Nothing).
OLE_HANDLE PictureHandle(IUnknown* pic);
short PictureType(IUnknown* pic);
// Size in HIMETRIC, 0 x 0 for Nothing.
SIZE PictureSizeHimetric(IUnknown* pic);
// Size in pixels of the screen.
SIZE PictureSizePixels(IUnknown* pic);

} // namespace glim
