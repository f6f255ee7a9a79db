#pragma once
// Picture objects: files, resources of the library module, and the GDI
// handles and sizes behind them.
#include "ComPtr.h"
#include "Handles.h"
#include "OlePictures.h"

#include <olectl.h>

#include <cstdint>

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

// Handle and type of a picture (0 / PICTYPE_NONE for Nothing).
OLE_HANDLE PictureHandle(IUnknown* pic);
short PictureType(IUnknown* pic);
// Size in HIMETRIC, 0 x 0 for Nothing.
SIZE PictureSizeHimetric(IUnknown* pic);
// Size in pixels of the screen.
SIZE PictureSizePixels(IUnknown* pic);

// Draws a picture of any type into dc at (x, y), w x h pixels.  A bitmap
// that cannot be selected (it is selected in another DC) and pictures that
// are neither bitmaps nor icons are rendered by the picture object itself.
// Nothing draws nothing; false when the picture could not be drawn.
bool DrawPictureAt(HDC dc, IUnknown* pic, int x, int y, int w, int h);

// A 32-bit top-down DIB section whose pixels (0x00RRGGBB) the caller may
// read and write at bits[y * w + x] once GDI is flushed.
OwnedBitmap CreateTopDownDib(int w, int h, std::uint32_t** bits);

} // namespace glim
