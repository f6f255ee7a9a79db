#pragma once
// A host form holding a GlimForm, reached through COM as hosts reach it, and
// readers for the frame it paints.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "HostForm.h"
#include "dispatch.h"
#include "message_boxes.h"
#include "screenshots.h"

namespace skintest {

// GlimForm.dll beside the test program, registered once per run.
std::string DllPath();
void RegisterLibrary();
HMODULE Library();

using glimtest::Invoke;

// SkinFormFile by dispatch identifier, its two texts passed by reference.
HRESULT CallSkinFormFile(IDispatch* control, const std::string& caption, const std::string& border);

class SkinnedForm {
  public:
    // A shown form of the given outer size in twips, with a GlimForm on it
    // and, when asked, a File and a Help menu.
    explicit SkinnedForm(long widthTwips = 6000, long heightTwips = 4500, bool withMenus = false);
    ~SkinnedForm();
    SkinnedForm(const SkinnedForm&) = delete;
    SkinnedForm& operator=(const SkinnedForm&) = delete;

    HWND hWnd() const { return form_->hWnd(); }
    glim::host::HostForm* Form() const { return form_.get(); }
    IDispatch* Control() const { return control_.get(); }

    // The methods, by dispatch identifier; idx is passed by reference.
    HRESULT LoadSkin(short& idx, EXCEPINFO* ei = nullptr);
    HRESULT SkinFormFile(const std::string& caption, const std::string& border);
    HRESULT CloseSkin();
    HRESULT SetMnuStyleIdx(short value);

  private:
    glim::ComPtr<glim::host::HostForm> form_;
    glim::ComPtr<IDispatch> control_;
};

// Pixels of a picture by column and row.
class PictureReader {
  public:
    explicit PictureReader(HBITMAP bitmap); // takes ownership
    ~PictureReader();
    PictureReader(const PictureReader&) = delete;
    PictureReader& operator=(const PictureReader&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
    int width_ = 0, height_ = 0;
};
// The caption (1100 + skin) or border (1200 + skin) bitmap of the library.
HBITMAP SkinBitmap(int id);

// Share of sampled frame pixels that come from these pictures: the caption's
// left part and middle tiles (active or inactive image), the side columns
// and the bottom strip.  1.0 means the whole sample matches.
double FrameMatch(HWND hWnd, const PictureReader& caption, const PictureReader& border);

using glimtest::WindowShot;

// A left-button change (MOUSEEVENTF_LEFTDOWN or LEFTUP) sent as real input
// where the cursor is; true once this thread has taken it from its queue and
// handled it, with all it posted in turn (a menu's modal loop included).
bool SendButton(DWORD flags);
// Moves the cursor to a point of the window (frame coordinates).
void MoveTo(HWND hWnd, POINT windowPoint);

// Column ranges of the bar items: pixels of the menu band that differ from
// the caption artwork under them, grouped where gaps are narrow.
struct Span {
    int left, right, top, bottom;
};
std::vector<Span> PaintedBarItems(HWND hWnd, const PictureReader& caption);

// The thread's "Skin"/"Idx" setting, "<none>" when absent.
std::string StoredIdx();

using glimtest::MessageBoxWatcher;

} // namespace skintest
