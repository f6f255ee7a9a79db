#pragma once
// Resource identifiers of the library's artwork.  The runs indexed by skin
// (0 … 23) and the toolbox images have fixed numbers; the rest are ours.
// Plain macros as well as constants, because the resource script reads them.

// Bitmaps, one per skin s: id = base + s.
#define GLIM_RES_CAPTION 1100 // caption strip, 640 x 50 (skin 4: 640 x 49)
#define GLIM_RES_BORDER 1200  // seven 10 x 10 border tiles
#define GLIM_RES_FILL 3000    // progress-bar fill
#define GLIM_RES_BUTTON 4000  // five 18 x 21 push-button cells
#define GLIM_RES_VTHUMB 5000  // vertical slider thumb
#define GLIM_RES_HTHUMB 5100  // horizontal slider thumb
#define GLIM_RES_CHECK 6000   // check-box sheet, 13 x 156
#define GLIM_RES_OPTION 6100  // option-button sheet, 52 x 26
// Popup-menu item patterns: id = menu style for 1 … 30, and this one for style 0.
#define GLIM_RES_MENU_STYLE0 100
// Toolbox images, 16 x 15, in the order of the classes below.
#define GLIM_RES_TOOLBOX 30000
// Design-time pictures.
#define GLIM_RES_FORM_DESIGN 7000    // GlimForm's 32 x 32 picture
#define GLIM_RES_TOOLTIP_DESIGN 7001 // GlimToolTip's 32 x 32 picture
#define GLIM_RES_FILL_DESIGN 7002    // GlimPressBar's 14 x 24 design fill
#define GLIM_RES_BUTTON_DESIGN 7003  // GlimButton's design sheet (the pixels of skin 2's sheet)
#define GLIM_RES_THUMB_DESIGN 7004   // GlimSlider's 8 x 20 design thumb (the pixels of 5101)
#define GLIM_RES_ABOUT 7200          // the About box picture, 336 x 164
// Icons of the balloon tip, 16 x 16, in IconMode order from this id.
#define GLIM_RES_TIP_ICON 7100
// The hand cursor of GlimButton.HandPointer.
#define GLIM_RES_HAND_CURSOR 101

#ifndef RC_INVOKED
namespace glim::skinres {

constexpr int kSkinCount = 24;
constexpr int kMenuStyleCount = 31; // styles 0 … 30

constexpr int Caption(int skin) {
    return GLIM_RES_CAPTION + skin;
}
constexpr int Border(int skin) {
    return GLIM_RES_BORDER + skin;
}
constexpr int Fill(int skin) {
    return GLIM_RES_FILL + skin;
}
constexpr int Button(int skin) {
    return GLIM_RES_BUTTON + skin;
}
constexpr int VerticalThumb(int skin) {
    return GLIM_RES_VTHUMB + skin;
}
constexpr int HorizontalThumb(int skin) {
    return GLIM_RES_HTHUMB + skin;
}
constexpr int CheckSheet(int skin) {
    return GLIM_RES_CHECK + skin;
}
constexpr int OptionSheet(int skin) {
    return GLIM_RES_OPTION + skin;
}
constexpr int MenuPattern(int style) {
    return style == 0 ? GLIM_RES_MENU_STYLE0 : style;
}

enum class ToolboxImage { Form, Button, Containr, Check, Option, Slider, PressBar, ToolTip };
constexpr int Toolbox(ToolboxImage c) {
    return GLIM_RES_TOOLBOX + static_cast<int>(c);
}

// IconMode: exclamation 0, question 1, information 2, critical 3.
constexpr int TipIcon(int iconMode) {
    return GLIM_RES_TIP_ICON + iconMode;
}

constexpr int kFormDesign = GLIM_RES_FORM_DESIGN;
constexpr int kToolTipDesign = GLIM_RES_TOOLTIP_DESIGN;
constexpr int kFillDesign = GLIM_RES_FILL_DESIGN;
constexpr int kButtonDesign = GLIM_RES_BUTTON_DESIGN;
constexpr int kThumbDesign = GLIM_RES_THUMB_DESIGN;
constexpr int kAbout = GLIM_RES_ABOUT;
constexpr int kHandCursor = GLIM_RES_HAND_CURSOR;

} // namespace glim::skinres
#endif
