#pragma once
// What the check box and the option button share: the caption label, the
// pointer-polling timer, the 24 glyph sheets, the colours, font and skin
// index, their persistence, and the pointer test.  Each control owns one
// and keeps its value, glyph box, layout and click rule itself.
#include "ConstituentHost.h"
#include "ConstituentLabel.h"
#include "ConstituentTimer.h"
#include "ControlBase.h"
#include "PictureClip.h"

#include <array>
#include <functional>
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

// Layouts work in twips at a fixed 15 per pixel.
inline constexpr double kTwipsPerPixel = 15;
// A twips position on a whole pixel, so nothing lands between two.
double SnapToPixel(double twips);

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
    // The control's side: its own rules for the glyph and the layout.
    struct Owner {
        virtual void DrawState() = 0; // rest cell for the value (disabled one when disabled)
        virtual void Layout() = 0;    // places glyph and caption, fixes the height

      protected:
        ~Owner() = default;
    };

    ToggleParts(ControlBase& control, Owner& owner, int firstSheet, short rows, short cols);

    // Hooks the constituents to the control's window and sets their design look.
    void Attach();

    ConstituentHost& Parts() { return parts_; }
    ConstituentLabel& Label() { return lbl_; }
    ConstituentTimer& Timer() { return timer_; }

    // The cell of the current skin when the glyph box shows another one now;
    // Nothing when it already shows it or the skin has no sheet, so a redraw
    // never fails and never fetches what is on screen.
    ComPtr<IPictureDisp> ChangedCell(int cell);
    bool HasSheet() const { return GlyphSheets::HasSheet(skinIdx_); }

    // Starts polling for the pointer leaving (a running poll keeps its pace).
    void WatchPointer() {
        if (!timer_.Enabled()) timer_.SetEnabled(true);
    }
    // Whether the real pointer lies on the control's client area, edges included.
    bool PointerInside() const;

    // Properties with their side effects; each put may raise.
    bool Enabled() const { return control_.Enabled(); }
    void PutEnabled(bool enabled);
    std::string Caption() const { return lbl_.Caption(); }
    void PutCaption(const std::string& caption);
    IFontDisp* Font() const { return font_.get(); }
    void PutRefFont(IFontDisp* font);
    OLE_COLOR BackColor() const { return backColor_; }
    void PutBackColor(OLE_COLOR c);
    OLE_COLOR ForeColor() const { return foreColor_; }
    void PutForeColor(OLE_COLOR c);
    short Style() const { return skinIdx_; }
    // A skin index outside 16 bits raises 6; one with no sheet is kept, then raises 340.
    void PutStyle(long style);
    // The control's background at creation: the back colour not yet set.
    void PaintBackground();

    // Life cycle; putValue / readValue / writeValue handle the control's own Value.
    void InitProperties(const std::function<void()>& putValue);
    void ReadProperties(const PropertyBag& bag, const std::function<void()>& readValue);
    void WriteProperties(const PropertyBag& bag, const std::function<void()>& writeValue);

    // Events with by-reference arguments, as hosts get them.
    void RaiseMouse(DISPID id, short button, short shift, float x, float y);
    void RaiseKey(DISPID id, short& keyCode, short shift);
    void RaiseKeyPress(short& keyAscii);

  private:
    void ShowCaptionColour();

    ControlBase& control_; // the control that owns these parts
    Owner& owner_;         // the same control, for its rules
    ConstituentHost parts_;
    ConstituentLabel lbl_; // the caption
    ConstituentTimer timer_;
    GlyphSheets sheets_;
    ComPtr<IFontDisp> font_;  // Font; also the control's and the label's font
    OLE_COLOR backColor_ = 0; // BackColor, the control's background
    OLE_COLOR foreColor_ = 0; // ForeColor, the caption colour while enabled
    short skinIdx_ = 0;       // Style, persisted as "SkinIdx"
    int shownCell_ = -1;      // cell of shownSkin_'s sheet the glyph box shows, -1 none
    short shownSkin_ = -1;
};

} // namespace glim
