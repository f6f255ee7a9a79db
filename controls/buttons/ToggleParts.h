#pragma once
// The parts the check box and the option button share: the caption label,
// the pointer-polling timer, the 24 glyph sheets and the pointer test.  Each
// control owns one and keeps its value, glyph box, layout and click rule.
#include "ConstituentHost.h"
#include "ConstituentLabel.h"
#include "ConstituentTimer.h"
#include "PictureClip.h"
#include "SurfaceWindow.h"

#include <array>
#include <memory>

namespace glim {

// The events both controls raise, with the same identifiers.
namespace toggle_events {
inline constexpr DISPID Click = DISPID_CLICK;
inline constexpr DISPID KeyDown = DISPID_KEYDOWN;
inline constexpr DISPID KeyPress = DISPID_KEYPRESS;
inline constexpr DISPID KeyUp = DISPID_KEYUP;
inline constexpr DISPID MouseOut = 1;
inline constexpr DISPID MouseDown = DISPID_MOUSEDOWN;
inline constexpr DISPID MouseMove = DISPID_MOUSEMOVE;
inline constexpr DISPID MouseUp = DISPID_MOUSEUP;
} // namespace toggle_events

// Glyph states within a row of four cells.
enum GlyphState { kGlyphNormal = 0, kGlyphHover = 1, kGlyphPressed = 2, kGlyphDisabled = 3 };

// Caption colour of a disabled toggle, whatever its ForeColor.
inline constexpr COLORREF kDisabledCaption = RGB(161, 161, 146);

// The sheets of one toggle kind: skin i's sheet is resource first + i, cut
// into rows x cols cells of 13 x 13 pixels.  Each is loaded when first asked.
class GlyphSheets {
  public:
    GlyphSheets(int firstResource, short rows, short cols);
    static bool HasSheet(long skin);
    // The picture of a cell of a skin's sheet; Nothing when the skin has none.
    ComPtr<IPictureDisp> Cell(long skin, int cell);

  private:
    int first_;
    short rows_;
    short cols_;
    std::array<std::unique_ptr<PictureClip>, 24> pc_; // one per skin, made on first use
};

class ToggleParts {
  public:
    ToggleParts(SurfaceWindow& control, int firstSheet, short rows, short cols);

    // Hooks the constituents to the control's window and sets their design look.
    void Attach();

    ConstituentHost& Parts() { return parts_; }
    ConstituentLabel& Label() { return lbl_; }
    ConstituentTimer& Timer() { return timer_; }

    // The cell of a skin's sheet when the glyph box shows another one now;
    // Nothing when it already shows it or the skin has no sheet, so a redraw
    // never fails and never fetches what is on screen.
    ComPtr<IPictureDisp> ChangedCell(short skin, int cell);

    // Starts polling for the pointer leaving (a running poll keeps its pace).
    void WatchPointer() {
        if (!timer_.Enabled()) timer_.SetEnabled(true);
    }
    // Whether the real pointer lies on the control's client area, edges included.
    bool PointerInside() const;

  private:
    SurfaceWindow& control_; // the control that owns these parts
    ConstituentHost parts_;
    ConstituentLabel lbl_; // the caption
    ConstituentTimer timer_;
    GlyphSheets sheets_;
    int shownCell_ = -1; // cell of shownSkin_'s sheet the glyph box shows, -1 none
    short shownSkin_ = -1;
};

} // namespace glim
