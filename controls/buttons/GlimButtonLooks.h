#pragma once
// The painter of GlimButton: the palette, the caption layout, the skin
// cells, the pictures and the fifteen looks, drawn into a DC the caller
// gives from the state in GlimButtonFace.  The control keeps that state and
// decides when to paint; nothing here touches the control itself.
#include "ComPtr.h"
#include "Handles.h"

#include <olectl.h>

#include <cstdint>
#include <memory>
#include <string>

namespace glim {

class PictureClip;

// ButtonTypes
enum GlimButtonType : long {
    kLookGlimButton = 1,
    kLookWin32 = 2,
    kLookWinXP = 3,
    kLookMac = 4,
    kLookJavaMetal = 5,
    kLookNetscape6 = 6,
    kLookSimpleFlat = 7,
    kLookFlatHighlight = 8,
    kLookOfficeXP = 9,
    kLookMacOSX = 10,
    kLookTransparent = 11,
    kLook3DHover = 12,
    kLookOvalFlat = 13,
    kLookKDE2 = 14,
    kLookWinXPPress = 15,
};
// ColorTypes
enum GlimButtonScheme : long { kUseWindows = 1, kCustom = 2, kForceStandard = 3, kUseContainer = 4 };
// PicPositions
enum GlimButtonPicPos : long { cbLeft = 0, cbRight = 1, cbTop = 2, cbBottom = 3, cbBackground = 4 };
// fx
enum GlimButtonFx : long { cbNone = 0, cbEmbossed = 1, cbEngraved = 2, cbShadowed = 3 };

// Colours the looks draw with, 0x00BBGGRR each.
struct GlimButtonPalette {
    COLORREF face = 0;        // the button face; base of most shades
    COLORREF light = 0;       // inner light edges, hover fills
    COLORREF highlight = 0;   // light bevel edges and gradients
    COLORREF shadow = 0;      // dark bevel edges, disabled captions, silhouettes
    COLORREF darkShadow = 0;  // outer frames
    COLORREF text = 0;        // caption and focus mark
    COLORREF textOver = 0;    // caption of the pressed Java metal look
    COLORREF mask = 0;        // picture colour that stays transparent
    COLORREF xpFace = 0;      // base of the Windows XP looks and some effects
    COLORREF accent = 0;      // office XP frame
    COLORREF accentLight = 0; // office XP hover fill and effect base
};

// A caption laid out for one font and area (in GlimButtonLooks.cpp), and
// the few last ones of a face: laying a long caption out takes seconds, so
// it is done once per change of text, font or area.
struct GlimButtonCaption;
struct GlimButtonCaptions;

// The button's state, as a paint reads it: the control derives from it.
struct GlimButtonFace {
    long ButtonType = 0;      // the look
    long ColorScheme = 0;     // where the palette comes from
    long PicturePosition = 0; // picture beside or behind the caption
    long SpecialEffect = 0;   // caption and picture effect
    int clientWidth = 0;      // W: client width, pixels
    int clientHeight = 0;     // H: client height, pixels
    OLE_COLOR BackColor = 0;  // the colour properties as set
    OLE_COLOR BackOver = 0;
    OLE_COLOR ForeColor = 0;
    OLE_COLOR ForeOver = 0;
    OLE_COLOR MaskColor = 0xC0C0C0;
    bool UseMaskColor = true;
    bool UseGreyscale = false;
    ComPtr<IPictureDisp> PictureNormal; // the picture beside or behind the caption
    ComPtr<IPictureDisp> PictureOver;   // the same under the pointer
    HDC bgDC = nullptr;                 // captured background of the transparent look
    RECT captionRect{};                 // caption in the up state
    RECT pressedCaptionRect{};          // captionRect moved by (1, 1)
    RECT focusRect{};                   // rectangle of the focus mark
    int captionWidth = 0;               // measured caption, pixels
    int captionHeight = 0;
    int picX = 0; // top-left of the picture
    int picY = 0;
    int picWidth = 0; // size of PictureNormal, 0 without one
    int picHeight = 0;
    bool Enabled = true;
    bool SoftBevel = false;
    bool hasFocus = false;
    bool ShowFocusRect = true;
    GlimButtonPalette palette;        // from GlimButton_ComputeColors
    std::uint8_t lastCaptionCode = 0; // code of the last caption drawing
    bool mouseIsOver = false;         // the hover look is on
    bool CheckBoxBehaviour = false;
    bool Value = false;
    long Style = 1;                               // skin index; picks the white captions
    bool isDefault = false;                       // the container's DisplayAsDefault, read for this paint
    std::string caption;                          // the caption in the system code page
    HFONT font = nullptr;                         // the control's font, borrowed
    const PictureClip* sheet = nullptr;           // skin cells of the look GlimButton
    std::shared_ptr<GlimButtonCaption> layout;    // the caption as last laid out
    std::shared_ptr<GlimButtonCaptions> measured; // recent layouts, shared by copies of the face
};

// Colour arithmetic of the looks.
COLORREF GlimButton_ShiftColor(COLORREF c, long d, bool proportional, bool softBevel);
COLORREF GlimButton_TintColor(COLORREF c, long k);
// The palette for the scheme; parent is asked for its text colour under Use Container.
GlimButtonPalette GlimButton_ComputeColors(const GlimButtonFace& f, HWND parent);

// Bytes of the caption in the system code page.
int GlimButton_AnsiLength(const std::string& ansiText);

// Lays the caption out for the face's size, picture and font; places the picture.
void GlimButton_LayoutCaption(HDC dc, GlimButtonFace& f);
// Picture size in pixels from its HIMETRIC size.
void GlimButton_MeasurePicture(GlimButtonFace& f);

// Paints the whole face for state (0 up, 2 pressed) after the caller has
// cleared dc; the hover face of Custom is used for this paint only.
void GlimButton_PaintFace(HDC dc, GlimButtonFace& f, int state);
// The window region of the look at the face's size (the caller hands it on).
OwnedRegion GlimButton_MakeRegion(long buttonType, int w, int h);

// Copies picture P onto dc with transparency, silhouette, greyscale or blend.
void GlimButton_BlitPicture(HDC dc, int x, int y, int w, int h, IPictureDisp* P, COLORREF maskColour,
                            long solid, bool skipBright, bool greyscale, bool blend, bool useMaskColor);

} // namespace glim
