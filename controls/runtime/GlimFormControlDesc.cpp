#include "GlimFormControlDesc.h"

#include <olectl.h>

#include <array>

namespace glim::typelib {
namespace {

constexpr TypeRef kI2{VarType::I2};
constexpr TypeRef kI4{VarType::I4};
constexpr TypeRef kBool{VarType::Bool};
constexpr TypeRef kBstr{VarType::Bstr};
constexpr TypeRef kR4{VarType::R4};
constexpr TypeRef kVariant{VarType::Variant};
constexpr TypeRef kDispatch{VarType::Dispatch};
constexpr TypeRef kColor{VarType::OleColor};
constexpr TypeRef kFont{VarType::Font};
constexpr TypeRef kPicture{VarType::Picture};
constexpr TypeRef kVoid{VarType::Void};

constexpr TypeRef EnumOf(const char* name) {
    return {VarType::Enum, name};
}

constexpr Member Prop(const char* name, DISPID id, TypeRef type, unsigned access = kGet | kPut,
                      const char* help = nullptr) {
    return {name, id, MemberKind::Property, type, access, {}, help};
}

constexpr Member Method(const char* name, DISPID id, std::span<const Param> params = {},
                        TypeRef ret = kVoid) {
    return {name, id, MemberKind::Method, ret, 0, params};
}

// A persisted key holding the property of the same name.
constexpr Persisted Key(const char* key, VarType type, double dflt = 0) {
    return {key, nullptr, type, {DefaultFrom::Constant, dflt, nullptr}};
}

// A key written even when it holds its default.
constexpr Persisted Always(Persisted p) {
    p.always = true;
    return p;
}

// A key whose member's put tells the container under the key's name.
constexpr Persisted TellsAsKey(Persisted p) {
    p.notifyKey = true;
    return p;
}

// A key read at its own place (from 1) rather than where it is written.
constexpr Persisted ReadAt(int place, Persisted p) {
    p.readAt = place;
    return p;
}

// ---- Enumerations ------------------------------------------------------

// The skin names hosts show, as code page 936 bytes.
constexpr Enumerator kMnuStyle[] = {
    {"\xC0\xB6\xC9\xAB\xBE\xAD\xB5\xE4\x31", 0},      // 蓝色经典1
    {"\xCA\xB1\xC9\xD0\xCA\xC0\xBD\xE7", 1},          // 时尚世界
    {"\xC0\xB6\xC9\xAB\xF7\xC8\xC1\xA6\x31", 2},      // 蓝色魅力1
    {"\xD3\xC4\xC0\xB6\xCA\xC0\xBD\xE7", 3},          // 幽蓝世界
    {"\xC1\xF7\xCF\xDF\xD4\xEC\xD0\xCD\x31", 4},      // 流线造型1
    {"\xC1\xF7\xCF\xDF\xD4\xEC\xD0\xCD\x32", 5},      // 流线造型2
    {"\xC9\xEE\xBA\xA3\xD3\xC4\xC0\xB6", 6},          // 深海幽蓝
    {"\xBD\xF0\xCA\xF4\xCA\xB1\xB4\xFA", 7},          // 金属时代
    {"\xC0\xB6\xC9\xAB\xF7\xC8\xC1\xA6\x32", 8},      // 蓝色魅力2
    {"\xB5\xE7\xD7\xD3\xCA\xB1\xC9\xD0\x31", 9},      // 电子时尚1
    {"\xB7\xA2\xB9\xE2\xBD\xF0\xCA\xF4", 10},         // 发光金属
    {"\xE7\xCD\xB7\xD7\xCA\xC0\xBD\xE7", 11},         // 缤纷世界
    {"\xC0\xB6\xC9\xAB\xBE\xAD\xB5\xE4\x32", 12},     // 蓝色经典2
    {"\xB5\xE7\xD7\xD3\xCA\xB1\xC9\xD0\x32", 13},     // 电子时尚2
    {"\xB5\xE7\xD7\xD3\xCA\xB1\xC9\xD0\x33", 14},     // 电子时尚3
    {"\xCC\xF5\xCE\xC6\xD6\xAE\xC3\xC0", 15},         // 条纹之美
    {"\xCC\xEC\xC0\xB6\xB9\xE2\xD4\xF3", 16},         // 天蓝光泽
    {"\xC0\xB6\xC9\xAB\xB3\xAC\xC6\xBD", 17},         // 蓝色超平
    {"\xCA\xB1\xC9\xD0\xC0\xB6\xC9\xAB", 18},         // 时尚蓝色
    {"Mac", 19},                                      // Mac
    {"\xBA\xEC\xC9\xAB\xB9\xDC\xB5\xC0", 20},         // 红色管道
    {"XP\xCA\xB1\xB4\xFA", 21},                       // XP时代
    {"\xCE\xA2\xD0\xCD\xCA\xC0\xBD\xE7", 22},         // 微型世界
    {"\xCB\xAE\xBE\xA7\xC7\xC9\xBF\xCB\xC1\xA6", 23}, // 水晶巧克力
};

constexpr Enumerator kButtonTypes[] = {
    {"GlimButton", 1}, {"Windows 32-bit", 2}, {"Windows XP", 3},        {"Mac", 4},
    {"Java metal", 5}, {"Netscape 6", 6},     {"Simple Flat", 7},       {"Flat Highlight", 8},
    {"office XP", 9},  {"MacOS-X", 10},       {"TRANSPARENT", 11},      {"3D Hover", 12},
    {"Oval Flat", 13}, {"KDE 2", 14},         {"Windows XP Press", 15},
};
constexpr Enumerator kColorTypes[] = {
    {"Use Windows", 1}, {"Custom", 2}, {"Force Standard", 3}, {"Use Container", 4}};
constexpr Enumerator kPicPositions[] = {
    {"cbLeft", 0}, {"cbRight", 1}, {"cbTop", 2}, {"cbBottom", 3}, {"cbBackground", 4}};
constexpr Enumerator kFx[] = {{"cbNone", 0}, {"cbEmbossed", 1}, {"cbEngraved", 2}, {"cbShadowed", 3}};
constexpr Enumerator kState[] = {{"Unchecked", 0}, {"Checked", 1}, {"Mixed", 2}};
constexpr Enumerator kOrientation[] = {{"Horizontal", 0}, {"Vertical", 1}};
constexpr Enumerator kRailStyle[] = {{"Sunken", 0}, {"Raised", 1}, {"SunkenSoft", 2}, {"RaisedSoft", 3}};
constexpr Enumerator kContainerStyles[] = {{"Header Visible", 0}, {"Header Invisible", 1}};
constexpr Enumerator kContainerThemes[] = {
    {"XP Blue", 0},       {"XP Dark Blue", 1},   {"XP Dark Green", 2}, {"XP Green", 3},
    {"XP Light Blue", 4}, {"XP Light Green", 5}, {"XP Orange", 6},     {"XP Pastel Green", 7},
    {"XP Purple", 8},     {"XP Red", 9},         {"XP Silver", 10},    {"XP Yellow", 11},
};
constexpr Enumerator kIconMode[] = {
    {"Exclamation Icon", 0}, {"Question Icon", 1}, {"Information Icon", 2}, {"Critical Icon", 3}};
// The trailing blank of "Transparents " is part of the name hosts show.
constexpr Enumerator kBdStyle[] = {{"Transparents ", 0}, {"Solid", 1},     {"Dash", 2},
                                   {"Dot", 3},           {"Dash -Dot", 4}, {"Dash -Dot- Dot", 5},
                                   {"Inside Solid", 6}};
constexpr Enumerator kBackStyles[] = {{"Transparents ", 0}, {"Solid", 1}};
constexpr Enumerator kFillStyleS[] = {{"Solid", 0},         {"Transparents", 1},    {"Horizontal line", 2},
                                      {"Vertical Line", 3}, {"Upward Diagonal", 4}, {"DownWard Diagonal", 5},
                                      {"Cross", 6},         {"Diagonal Cross", 7}};
constexpr Enumerator kShapes[] = {{"Rectangle", 0},         {"Square", 1},        {"Oval", 2}, {"Circle", 3},
                                  {"Rounded Rectangle", 4}, {"Rounded Square", 5}};

constexpr Enumeration kEnums[] = {
    {"MnuStyle", nullptr, kMnuStyle},
    {"ButtonTypes", "{6E5A58F4-28B6-4D8A-85C5-CD58C800A6FC}", kButtonTypes, true},
    {"ColorTypes", "{E8281BAE-9E39-476E-B5A3-D88C230CBE4F}", kColorTypes, true},
    {"PicPositions", "{50A7D1D9-FDEC-4604-A615-37411C4F913C}", kPicPositions, true},
    {"fx", "{17E4AA94-C86B-42B4-87BA-1DE986B56EEE}", kFx, true},
    {"State", "{3BA52C92-0244-47BA-BF3A-ED85D34903E8}", kState, true},
    {"sOrientationConstants", nullptr, kOrientation},
    {"sRailStyleConstants", nullptr, kRailStyle},
    {"XPContainerStyles", nullptr, kContainerStyles},
    {"XPContainerThemes", nullptr, kContainerThemes},
    {"IconMode", nullptr, kIconMode},
    {"BdStyle", nullptr, kBdStyle},
    {"BackStyles", nullptr, kBackStyles},
    {"FillStyleS", nullptr, kFillStyleS},
    {"Shapes", nullptr, kShapes},
};

constexpr TypeRef kMnuStyleT = EnumOf("MnuStyle");

// Help text "样式" of the skin index properties.
constexpr const char* kStyleHelp = "\xD1\xF9\xCA\xBD";

// ---- GlimForm ----------------------------------------------------------

constexpr Param kLoadSkin[] = {{"idx", kI2, true}};
constexpr Param kSkinFormFile[] = {{"MainPicFileName", kBstr, true}, {"BorderPicName", kBstr, true}};
constexpr Param kMiniSize[] = {{"SetMiniSize", kBool, true}};
constexpr Param kAddToTry[] = {{"Menu", kDispatch, true}, {"ToolTip", kBstr, true}};
constexpr Param kSetWindowOnTop[] = {{"SetOntop", kBool, true}};

constexpr Member kGlimForm[] = {
    Prop("TmpColor", 0x40030007, kI4),
    Method("LoadSkin", 0x60030002, kLoadSkin, kVariant),
    Method("SkinFormFile", 0x60030003, kSkinFormFile, kVariant),
    // "设置窗口菜单的样式,请将它设置为(0-10)以内的数字"
    Prop("MnuStyleIdx", 0x68030000, kMnuStyleT, kGet | kPut,
         "\xC9\xE8\xD6\xC3\xB4\xB0\xBF\xDA\xB2\xCB\xB5\xA5\xB5\xC4\xD1\xF9\xCA\xBD,"
         "\xC7\xEB\xBD\xAB\xCB\xFC\xC9\xE8\xD6"
         "\xC3\xCE\xAA(0-10)\xD2\xD4\xC4\xDA\xB5\xC4\xCA\xFD\xD7\xD6"),
    Method("CloseSkin", 0x6003000d, {}, kVariant),
    Method("MiniSize", 0x6003000e, kMiniSize, kVariant),
    Method("AddToTry", 0x6003000f, kAddToTry, kVariant),
    Method("UnloadTryIcon", 0x60030010, {}, kVariant),
    Method("SetWindowOnTop", 0x60030011, kSetWindowOnTop, kVariant),
    Method("DoRndForm", 0x60030012, {}, kVariant),
    Method("AutoSkinControl", 0x60030013, {}, kVariant),
};

// The skin index is kept as a 16-bit value: a put that does not fit overflows.
constexpr Persisted kGlimFormKeys[] = {Key("MnuStyleIdx", VarType::I2, 0)};

// ---- Shared event shapes -------------------------------------------------

constexpr Param kMouseArgs[] = {
    {"Button", kI2, true}, {"Shift", kI2, true}, {"X", kR4, true}, {"Y", kR4, true}};
constexpr Param kKeyArgs[] = {{"KeyCode", kI2, true}, {"Shift", kI2, true}};
constexpr Param kKeyPressArgs[] = {{"KeyAscii", kI2, true}};

// ---- GlimButton ----------------------------------------------------------

constexpr Member kGlimButton[] = {
    Prop("BackColor", DISPID_BACKCOLOR, kColor),
    Prop("BackOver", 0x68030019, kColor),
    Prop("ForeColor", DISPID_FORECOLOR, kColor),
    Prop("ForeOver", 0x68030018, kColor),
    Prop("MaskColor", 0x68030017, kColor),
    Prop("ButtonType", 0x68030016, EnumOf("ButtonTypes")),
    Prop("Enabled", DISPID_ENABLED, kBool),
    Prop("Font", DISPID_FONT, kFont, kGet | kPutRef),
    Prop("FontBold", 0x68030015, kBool),
    Prop("FontItalic", 0x68030014, kBool),
    Prop("FontUnderline", 0x68030013, kBool),
    Prop("FontSize", 0x68030012, kI2),
    Prop("FontName", 0x68030011, kBstr),
    Prop("ColorScheme", 0x68030010, EnumOf("ColorTypes")),
    Prop("ShowFocusRect", 0x6803000f, kBool),
    // The form runtime's mouse-pointer constants are not part of this
    // library; the property carries their 32-bit value.
    Prop("MousePointer", 0x6803000e, kI4),
    Prop("MouseIcon", 0x6803000d, kPicture, kGet | kPutRef),
    Prop("HandPointer", 0x6803000c, kBool),
    Prop("hWnd", DISPID_HWND, kI4, kGet),
    Prop("SoftBevel", 0x6803000b, kBool),
    Prop("PictureNormal", 0x6803000a, kPicture, kGet | kPutRef),
    Prop("PictureOver", 0x68030009, kPicture, kGet | kPutRef),
    Prop("PicturePosition", 0x68030008, EnumOf("PicPositions")),
    Prop("UseMaskColor", 0x68030007, kBool),
    Prop("UseGreyscale", 0x68030006, kBool),
    Prop("SpecialEffect", 0x68030005, EnumOf("fx")),
    Prop("CheckBoxBehaviour", 0x68030004, kBool),
    Prop("Value", 0x68030003, kBool),
    Prop("Version", 0x68030002, kBstr, kGet),
    Method("DisableRefresh", 0x6003003c),
    Method("Refresh", 0x6003003d),
    Prop("Style", 0x68030001, kMnuStyleT, kGet | kPut, kStyleHelp),
    Prop("Caption", 0x68030000, kBstr),
};

constexpr Event kGlimButtonEvents[] = {
    {"Click", 1},
    {"MouseDown", 2, kMouseArgs},
    {"MouseMove", 3, kMouseArgs},
    {"MouseUp", 4, kMouseArgs},
    {"KeyPress", 5, kKeyPressArgs},
    {"KeyDown", 6, kKeyArgs},
    {"KeyUp", 7, kKeyArgs},
    {"MouseOver", 8},
    {"MouseOut", 9},
};

// A key of the button: written even at its default, and told under its own name.
constexpr Persisted ButtonKey(Persisted p) {
    return Always(TellsAsKey(p));
}

// Every key but Style and Caption is written even at its default.  The
// colours default to the system's at load, the hover colours to the colours
// just read, the font to the button's own.
constexpr Persisted kGlimButtonKeys[] = {
    ButtonKey({"BTYPE", "ButtonType", VarType::I4, {DefaultFrom::Constant, 1}}),
    ButtonKey({"ENAB", "Enabled", VarType::Bool, {DefaultFrom::Constant, -1}}),
    ButtonKey({"FONT", "Font", VarType::Font, {DefaultFrom::Key, 0, "FONT"}}),
    ButtonKey({"COLTYPE", "ColorScheme", VarType::I4, {DefaultFrom::Constant, 1}}),
    ButtonKey({"FOCUSR", "ShowFocusRect", VarType::Bool, {DefaultFrom::Constant, -1}}),
    ButtonKey({"BCOL", "BackColor", VarType::I4, {DefaultFrom::SysColor, COLOR_BTNFACE}}),
    ButtonKey({"BCOLO", "BackOver", VarType::I4, {DefaultFrom::Key, 0, "BCOL"}}),
    ButtonKey({"FCOL", "ForeColor", VarType::I4, {DefaultFrom::SysColor, COLOR_BTNTEXT}}),
    ButtonKey({"FCOLO", "ForeOver", VarType::I4, {DefaultFrom::Key, 0, "FCOL"}}),
    ButtonKey({"MCOL", "MaskColor", VarType::I4, {DefaultFrom::Constant, 0xC0C0C0}}),
    ButtonKey({"MPTR", "MousePointer", VarType::I2, {}}),
    ButtonKey({"MICON", "MouseIcon", VarType::Picture, {DefaultFrom::Nothing}}),
    ButtonKey({"PICN", "PictureNormal", VarType::Picture, {DefaultFrom::Nothing}}),
    ButtonKey({"PICH", "PictureOver", VarType::Picture, {DefaultFrom::Nothing}}),
    ButtonKey({"UMCOL", "UseMaskColor", VarType::Bool, {DefaultFrom::Constant, -1}}),
    ButtonKey({"SOFT", "SoftBevel", VarType::Bool, {}}),
    ButtonKey({"PICPOS", "PicturePosition", VarType::I4, {}}),
    ButtonKey({"NGREY", "UseGreyscale", VarType::Bool, {}}),
    ButtonKey({"FX", "SpecialEffect", VarType::I4, {}}),
    ButtonKey({"HAND", "HandPointer", VarType::Bool, {}}),
    ButtonKey({"CHECK", "CheckBoxBehaviour", VarType::Bool, {}}),
    ButtonKey({"VALUE", "Value", VarType::Bool, {}}),
    // Kept as read, whatever it holds.
    {"Style", nullptr, VarType::Variant, {DefaultFrom::Constant, 1}},
    {"Caption", nullptr, VarType::Bstr, {DefaultFrom::Constant, 0, "Label1"}},
};

// ---- GlimCheck and GlimOption --------------------------------------------

constexpr Member kGlimCheck[] = {
    Prop("Enabled", DISPID_ENABLED, kBool),
    Prop("Value", 0x68030001, EnumOf("State")),
    Prop("Caption", DISPID_CAPTION, kBstr),
    Prop("Font", DISPID_FONT, kFont, kGet | kPutRef),
    Prop("BackColor", DISPID_BACKCOLOR, kColor),
    Prop("ForeColor", DISPID_FORECOLOR, kColor),
    Prop("Style", 0x68030000, kMnuStyleT, kGet | kPut, kStyleHelp),
};

// Click and the key and mouse events of the check box and the option button.
constexpr Event kToggleEvents[] = {
    {"Click", DISPID_CLICK},
    {"KeyDown", DISPID_KEYDOWN, kKeyArgs},
    {"KeyPress", DISPID_KEYPRESS, kKeyPressArgs},
    {"KeyUp", DISPID_KEYUP, kKeyArgs},
    {"MouseOut", 1},
    {"MouseDown", DISPID_MOUSEDOWN, kMouseArgs},
    {"MouseMove", DISPID_MOUSEMOVE, kMouseArgs},
    {"MouseUp", DISPID_MOUSEUP, kMouseArgs},
};

constexpr Member kGlimOption[] = {
    Prop("Enabled", DISPID_ENABLED, kBool),
    Prop("Value", 0x68030003, kBool),
    Prop("Caption", DISPID_CAPTION, kBstr),
    Prop("Font", 0x68030002, kFont, kGet | kPutRef),
    Prop("BackColor", 0x68030001, kColor),
    Prop("ForeColor", DISPID_FORECOLOR, kColor),
    // "界面样式" followed by CR LF.
    Prop("Style", 0x68030000, kMnuStyleT, kGet | kPut, "\xBD\xE7\xC3\xE6\xD1\xF9\xCA\xBD\r\n"),
};

// The keys of the check box and the option button, in the order they are
// written; loading reads the value first and the skin last.  The check
// box's value is a 32-bit integer, the option button's a Boolean.
constexpr std::array<Persisted, 7> ToggleKeys(VarType value) {
    return {{
        ReadAt(4, {"Font", nullptr, VarType::Font, {DefaultFrom::AmbientFont}}),
        ReadAt(1, Key("Value", value, 0)),
        ReadAt(2, {"Caption", nullptr, VarType::Bstr, {DefaultFrom::AmbientDisplayName}}),
        ReadAt(3, Key("Enabled", VarType::Bool, -1)),
        ReadAt(5, Key("BackColor", VarType::I4, 0xE0E0E0)),
        ReadAt(6, Key("ForeColor", VarType::I4, 0)),
        ReadAt(7, TellsAsKey({"SkinIdx", "Style", VarType::I2, {}})),
    }};
}
constexpr auto kGlimCheckKeys = ToggleKeys(VarType::I4);
constexpr auto kGlimOptionKeys = ToggleKeys(VarType::Bool);
static_assert(ValidReadingOrder(kGlimCheckKeys) && ValidReadingOrder(kGlimOptionKeys));

// ---- GlimSlider ------------------------------------------------------------

constexpr Param kShiftArg[] = {{"Shift", kI2, true}};

// Enabled is the slider's own member, not the standard one.
constexpr Member kGlimSlider[] = {
    Prop("Enabled", 0x68030006, kBool),
    Prop("Max", 0x68030005, kI4),
    Prop("Min", 0x68030004, kI4),
    Prop("Value", DISPID_VALUE, kI4),
    Prop("Orientation", 0x68030003, EnumOf("sOrientationConstants")),
    Prop("RailStyle", 0x68030002, EnumOf("sRailStyleConstants")),
    Prop("ShowValueTip", 0x68030001, kBool),
    Prop("Style", 0x68030000, kMnuStyleT),
};

// The back colour and the pictures have no member; Min, Max and Value are
// kept as 16 bits.  The pictures and Style are read last.
constexpr Persisted kGlimSliderKeys[] = {
    ReadAt(1, Key("BackColor", VarType::I4, 0xE0E0E0)),
    ReadAt(2, Key("Enabled", VarType::Bool, -1)),
    ReadAt(9, {"SliderIcon", nullptr, VarType::Picture, {DefaultFrom::Nothing}}),
    ReadAt(3, Key("Orientation", VarType::I4, 0)),
    ReadAt(10, {"RailPicture", nullptr, VarType::Picture, {DefaultFrom::Nothing}}),
    ReadAt(4, Key("RailStyle", VarType::I4, 3)),
    ReadAt(5, Key("ShowValueTip", VarType::Bool, -1)),
    ReadAt(6, Key("Min", VarType::I2, 0)),
    ReadAt(7, Key("Max", VarType::I2, 10)),
    ReadAt(8, Key("Value", VarType::I2, 0)),
    ReadAt(11, Key("Style", VarType::I4, 0)),
};
static_assert(ValidReadingOrder(kGlimSliderKeys));

constexpr Event kGlimSliderEvents[] = {
    {"Change", 1},
    {"Click", 2},
    {"ArrivedFirst", 3},
    {"ArrivedLast", 4},
    {"MouseDown", 5, kShiftArg},
    {"MouseUp", 6, kShiftArg},
};

// ---- GlimPressBar ----------------------------------------------------------

constexpr Member kGlimPressBar[] = {
    // "进度条的当前值"
    Prop("Value", 0x6803000B, kI4, kGet | kPut, "\xBD\xF8\xB6\xC8\xCC\xF5\xB5\xC4\xB5\xB1\xC7\xB0\xD6\xB5"),
    // "进度条的最大值"
    Prop("Max", 0x6803000A, kI4, kGet | kPut, "\xBD\xF8\xB6\xC8\xCC\xF5\xB5\xC4\xD7\xEE\xB4\xF3\xD6\xB5"),
    // "进度条的最小值"
    Prop("Min", 0x68030009, kI4, kGet | kPut, "\xBD\xF8\xB6\xC8\xCC\xF5\xB5\xC4\xD7\xEE\xD0\xA1\xD6\xB5"),
    // "进度条的背景色。"
    Prop("BackColor", 0x68030008, kColor, kGet | kPut,
         "\xBD\xF8\xB6\xC8\xCC\xF5\xB5\xC4\xB1\xB3\xBE\xB0\xC9\xAB\xA1\xA3"),
    // "进度条样式"
    Prop("Style", 0x68030007, kMnuStyleT, kGet | kPut, "\xBD\xF8\xB6\xC8\xCC\xF5\xD1\xF9\xCA\xBD"),
    // "返回/设置对象的边框样式。"
    Prop("BorderStyle", 0x68030006, EnumOf("BdStyle"), kGet | kPut,
         "\xB7\xB5\xBB\xD8/\xC9\xE8\xD6\xC3\xB6\xD4\xCF\xF3\xB5\xC4\xB1\xDF\xBF\xF2\xD1\xF9\xCA\xBD\xA1\xA3"),
    // "指出 Label 或 Shape 的背景样式是透明的还是不透明的。"
    Prop("BackStyle", 0x68030005, EnumOf("BackStyles"), kGet | kPut,
         "\xD6\xB8\xB3\xF6 Label \xBB\xF2 Shape "
         "\xB5\xC4\xB1\xB3\xBE\xB0\xD1\xF9\xCA\xBD\xCA\xC7\xCD\xB8\xC3\xF7\xB5\xC4\xBB\xB9\xCA\xC7\xB2\xBB"
         "\xCD\xB8\xC3"
         "\xF7\xB5\xC4\xA1\xA3"),
    // "返回/设置对象的边框颜色。"
    Prop("BorderColor", 0x68030004, kColor, kGet | kPut,
         "\xB7\xB5\xBB\xD8/\xC9\xE8\xD6\xC3\xB6\xD4\xCF\xF3\xB5\xC4\xB1\xDF\xBF\xF2\xD1\xD5\xC9\xAB\xA1\xA3"),
    // "返回/设置控件的边框宽度。"
    Prop("BorderWidth", 0x68030003, kI2, kGet | kPut,
         "\xB7\xB5\xBB\xD8/\xC9\xE8\xD6\xC3\xBF\xD8\xBC\xFE\xB5\xC4\xB1\xDF\xBF\xF2\xBF\xED\xB6\xC8\xA1\xA3"),
    // "返回/设置填充形状、圆环和方框所使用的颜色。"
    Prop("FillColor", 0x68030002, kColor, kGet | kPut,
         "\xB7\xB5\xBB\xD8/"
         "\xC9\xE8\xD6\xC3\xCC\xEE\xB3\xE4\xD0\xCE\xD7\xB4\xA1\xA2\xD4\xB2\xBB\xB7\xBA\xCD\xB7\xBD\xBF"
         "\xF2\xCB\xF9\xCA\xB9\xD3\xC3\xB5\xC4\xD1\xD5\xC9\xAB\xA1\xA3"),
    // "返回/设置一个 shape 控件的填充样式。"
    Prop("FillStyle", 0x68030001, EnumOf("FillStyleS"), kGet | kPut,
         "\xB7\xB5\xBB\xD8/\xC9\xE8\xD6\xC3\xD2\xBB\xB8\xF6 shape "
         "\xBF\xD8\xBC\xFE\xB5\xC4\xCC\xEE\xB3\xE4\xD1\xF9\xCA\xBD\xA1\xA3"),
    // "返回/设置对象中文本和图形的前景色。"
    Prop("ForeColor", 0x68030000, kColor, kGet | kPut,
         "\xB7\xB5\xBB\xD8/"
         "\xC9\xE8\xD6\xC3\xB6\xD4\xCF\xF3\xD6\xD0\xCE\xC4\xB1\xBE\xBA\xCD\xCD\xBC\xD0\xCE\xB5\xC4\xC7"
         "\xB0\xBE\xB0\xC9\xAB\xA1\xA3"),
};

// System colours are kept as the 32-bit signed values they are stored as.
constexpr Persisted kGlimPressBarKeys[] = {
    Key("Value", VarType::I4, 0),
    Key("Max", VarType::I4, 100),
    Key("Min", VarType::I4, 0),
    Key("BackColor", VarType::I4, static_cast<int>(0x8000000Fu)),
    Key("Style", VarType::I2, 0),
    Key("BorderStyle", VarType::I2, 1),
    Key("BackStyle", VarType::I2, 0),
    Key("BorderColor", VarType::I4, static_cast<int>(0x80000001u)),
    Key("BorderWidth", VarType::I2, 1),
    Key("FillColor", VarType::I4, 0),
    Key("FillStyle", VarType::I2, 3),
    Key("Shape", VarType::I2, 4),
    Key("ForeColor", VarType::I4, 0xFFFFFF),
};

// ---- GlimContainr ----------------------------------------------------------

constexpr Member kGlimContainr[] = {
    Prop("BackDarkColor", 0x68030008, kColor),
    Prop("BackLightColor", 0x68030007, kColor),
    Prop("BorderColor", 0x68030006, kColor),
    Prop("Caption", 0x68030005, kBstr),
    Prop("HeaderDarkColor", 0x68030004, kColor),
    Prop("HeaderLightColor", 0x68030003, kColor),
    Prop("Style", 0x68030002, EnumOf("XPContainerStyles")),
    Prop("TextColor", 0x68030001, kColor),
    Prop("Theme", 0x68030000, EnumOf("XPContainerThemes")),
};

// Defaults: the colours of theme 0.
constexpr Persisted kGlimContainrKeys[] = {
    Key("HeaderLightColor", VarType::I4, 0x00F7E0D3),
    Key("HeaderDarkColor", VarType::I4, 0x00EDC5A7),
    Key("BackLightColor", VarType::I4, 0x00FCF4EF),
    Key("BackDarkColor", VarType::I4, 0x00FAE8DC),
    Key("BorderColor", VarType::I4, 0x00DCC1AD),
    Key("TextColor", VarType::I4, 0x007B2D02),
    {"Caption", nullptr, VarType::Bstr, {DefaultFrom::Constant, 0, "GlimContainr"}},
    Key("Style", VarType::I4, 0),
    Key("Theme", VarType::I4, 0),
};

// ---- GlimToolTip -----------------------------------------------------------

constexpr Member kGlimToolTip[] = {
    Prop("BackColor", 0x68030007, kColor),  Prop("Font", DISPID_FONT, kFont, kGet | kPutRef),
    Prop("FrameColor", 0x68030006, kColor), Prop("TipText", 0x68030005, kBstr),
    Prop("TitleText", 0x68030004, kBstr),   Prop("Icon", 0x68030003, EnumOf("IconMode")),
    Method("ShowTip", 0x6003000C),          Prop("Ctrl_hWnd", 0x68030002, kI4),
    Prop("TitleColor", 0x68030001, kColor), Prop("TipColor", 0x68030000, kColor),
};

// The bound window is read but never written: a loaded tip starts unbound.
constexpr Persisted kGlimToolTipKeys[] = {
    Key("BackColor", VarType::I4, 0x009BFFFF),
    {"Font", nullptr, VarType::Font, {DefaultFrom::AmbientFont}},
    Key("FrameColor", VarType::I4, 0),
    {"TipText", nullptr, VarType::Bstr, {DefaultFrom::Constant, 0, "This is the tip!"}},
    {"TitleText", nullptr, VarType::Bstr, {DefaultFrom::Constant, 0, "Title"}},
    Key("Icon", VarType::I4, 2),
    {"Ctrl_hWnd", nullptr, VarType::I4, {}, true},
    Key("TitleColor", VarType::I4, 0),
    Key("TipColor", VarType::I4, 0),
};

// ---- Classes ---------------------------------------------------------------

constexpr CoClass kClasses[] = {
    {"GlimForm",
     "{B93D7AB9-14EA-4A04-B40F-8EC5989B7E2D}",
     "{E441576B-5194-4B43-A742-15626D2D728C}",
     "{8E59526A-526F-4C23-9BB5-97DDD83FC081}",
     true,
     kGlimForm,
     {},
     kGlimFormKeys},
    {"GlimButton", "{17D15A53-D580-4012-8824-CD49B3536822}", "{09409EF5-7FDA-403C-B331-0601DA03C351}",
     "{252FB6B0-0A80-494D-BC1F-A28FA9E0EB46}", true, kGlimButton, kGlimButtonEvents, kGlimButtonKeys},
    {"GlimContainr",
     "{EDCDA200-FED9-4876-BCB1-20E7EB21AC68}",
     "{E5777A3D-D3EB-41B9-988F-575E97ED8F6F}",
     "{9CDD364F-655F-4775-BE49-17358B7C9EE4}",
     true,
     kGlimContainr,
     {},
     kGlimContainrKeys},
    {"GlimCheck", "{FA5A00F5-2A7E-4DA7-90D2-0B208E3A7325}", "{39F5944D-2D6D-4CD5-A5EA-90B065F6282C}",
     "{9C0A843B-1970-4E14-BA88-2EEB9E9A3343}", true, kGlimCheck, kToggleEvents, kGlimCheckKeys},
    {"GlimOption", "{121C98C1-AD7D-4715-9A5E-A2B0CC6BA2FC}", "{36CD2606-8B81-4A9B-9E5A-3E8093E2E059}",
     "{0154661B-AC55-408C-A59E-EEE0A59468C3}", true, kGlimOption, kToggleEvents, kGlimOptionKeys},
    {"GlimSlider", "{0646B140-770D-4F12-A26F-D09FD9F91C94}", "{0ABD073D-5F06-47EF-80BE-2AC94B6B985E}",
     "{DFB2DF06-9FFF-427F-88D8-ADDF09E359E9}", true, kGlimSlider, kGlimSliderEvents, kGlimSliderKeys},
    {"GlimPressBar",
     "{A06C5764-1712-4088-A96E-4BB9C2B5431B}",
     "{9C1D1458-0399-445A-965A-96C0F2FE8536}",
     "{6EF28BD5-D930-4059-BA8B-05B073F0B66F}",
     true,
     kGlimPressBar,
     {},
     kGlimPressBarKeys},
    {"GlimToolTip",
     "{649EDBDB-8458-478F-862A-4F35DE169851}",
     "{2DD6BE23-AB79-4391-AC34-1039DF71BE1F}",
     "{03384292-2261-4FFD-9669-33016482DD75}",
     true,
     kGlimToolTip,
     {},
     kGlimToolTipKeys},
    // The two design-time property pages have no members and no events.
    {"PropertyPage1", "{5B5A1508-2A4A-4328-B64A-33360124B80D}", "{40CE4A0E-DC6F-428C-97E9-27DB6FCAC366}",
     nullptr, false},
    {"PropertyPage2", "{3505C805-A4B7-4F95-890E-D97623DDB231}", "{C1A5F719-8CEA-4D69-AAA9-2AE2DB6F0647}",
     nullptr, false},
};

constexpr Library kLibrary = {
    "GlimFormControl", "{EF977422-E047-42A7-A004-1C0695C81FCF}", 1, 0, 1033, kEnums, kClasses,
};

} // namespace

const Library& GlimFormControl() {
    return kLibrary;
}

const CoClass* FindClass(const char* name) {
    for (const CoClass& c : kLibrary.classes)
        if (lstrcmpA(c.name, name) == 0) return &c;
    return nullptr;
}

} // namespace glim::typelib
