#include "GlimContainr.h"

#include "Conversions.h"
#include "Fonts.h"
#include "OleColor.h"
#include "SkinResourceIds.h"
#include "Text.h"

#include <algorithm>
#include <cmath>

namespace glim {

namespace {

// Header box geometry (pixels): at (1, 1), 23 rows high; the caption sits
// 10 pixels in.
constexpr int kHeaderTop = 1;
constexpr int kHeaderHeight = 23;
constexpr int kBodyTop = kHeaderTop + kHeaderHeight;
constexpr int kLabelLeft = 10;
constexpr const wchar_t* kCaptionFace = L"\u5B8B\u4F53"; // 宋体

constexpr ContainrTheme kThemes[kContainrThemeCount] = {
    {0x00F7E0D3, 0x00EDC5A7, 0x00FCF4EF, 0x00FAE8DC, 0x00DCC1AD, 0x007B2D02}, // XP Blue
    {0x00ECDCD3, 0x00DABAA8, 0x00F8F2EF, 0x00F1E5DD, 0x00D6B4A0, 0x004B2A17}, // XP Dark Blue
    {0x00D8E5C8, 0x00B1CB92, 0x00F1F5EB, 0x00E1EBD5, 0x00AAC688, 0x00213B00}, // XP Dark Green
    {0x00E0EAE8, 0x00C2D6D1, 0x00F4F8F7, 0x00E7EFED, 0x00BCD3CD, 0x00324741}, // XP Green
    {0x00F1E3C8, 0x00E4C992, 0x00FAF5EB, 0x00F5EAD5, 0x00E2C488, 0x00553900}, // XP Light Blue
    {0x00DAF2E3, 0x00B5E5C8, 0x00F1FAF5, 0x00E3F5EA, 0x00AEE3C3, 0x00245738}, // XP Light Green
    {0x00D2E2FD, 0x00A7C6FA, 0x00EFF5FE, 0x00DDE9FD, 0x009FC0FA, 0x0016366D}, // XP Orange
    {0x00E3E3D6, 0x00C9C9AE, 0x00F5F5F0, 0x00EAEAE0, 0x00C4C4A6, 0x0039391D}, // XP Pastel Green
    {0x00EAD7DF, 0x00D5B0BF, 0x00F7F1F3, 0x00EFE1E6, 0x00D1A9B9, 0x0046202F}, // XP Purple
    {0x00D6D2FB, 0x00AEA6F8, 0x00F0EFFE, 0x00E0DDFC, 0x00A79EF7, 0x001D156A}, // XP Red
    {0x00ECEAE9, 0x00D9D6D3, 0x00F8F7F7, 0x00F1EFEE, 0x00D6D2CF, 0x004A4744}, // XP Silver
    {0x00E4FAFC, 0x00B9EEF4, 0x00EEFCFD, 0x00DCF7FA, 0x0095E1EA, 0x0066D5E1}, // XP Yellow
};

namespace id = dispid::GlimContainr;

// A running channel value as a colour byte: halves to even, clamped.
int ChannelByte(float v) {
    return std::clamp(static_cast<int>(std::nearbyint(v)), 0, 255);
}

} // namespace

const ContainrTheme& ContainrThemeColors(int theme) {
    return kThemes[theme];
}

bool DrawVerticalGradient(Surface& s, OLE_COLOR light, OLE_COLOR dark, int y0, int y1, int w, int n) {
    // Nothing is drawn from a colour that cannot be translated.
    const std::optional<COLORREF> lc = TranslateColor(light), dc = TranslateColor(dark);
    if (!lc || !dc || n - 1 == 0) return false;
    const COLORREF l = *lc, d = *dc;
    // Single precision, as the stepping was always computed.
    const float steps = static_cast<float>(n - 1);
    const float stepR = static_cast<float>(GetRValue(l) - GetRValue(d)) / steps;
    const float stepG = static_cast<float>(GetGValue(l) - GetGValue(d)) / steps;
    const float stepB = static_cast<float>(GetBValue(l) - GetBValue(d)) / steps;
    float r = static_cast<float>(GetRValue(l)), g = static_cast<float>(GetGValue(l)),
          b = static_cast<float>(GetBValue(l));
    for (int y = y0; y <= y1; ++y) {
        s.Line(0, y, w, y, RGB(ChannelByte(r), ChannelByte(g), ChannelByte(b)));
        r -= stepR;
        g -= stepG;
        b -= stepB;
    }
    return true;
}

const ControlClass GlimContainr::kClass =
    ClassRecord(skinres::Toolbox(skinres::ToolboxImage::Containr), SIZE{160, 120}, kContainerMiscStatus);

// Every put but Theme's repaints; Theme tells the container before its
// colours go through their own puts.
const Binding<GlimContainr> GlimContainr::kBindings[] = {
    {"BackDarkColor", &GlimContainr::BackDarkColor, nullptr, &GlimContainr::Redraw},
    {"BackLightColor", &GlimContainr::BackLightColor, nullptr, &GlimContainr::Redraw},
    {"BorderColor", &GlimContainr::BorderColor, nullptr, &GlimContainr::Redraw},
    {"Caption", &GlimContainr::Caption, nullptr, &GlimContainr::Redraw},
    {"HeaderDarkColor", &GlimContainr::HeaderDarkColor, nullptr, &GlimContainr::Redraw},
    {"HeaderLightColor", &GlimContainr::HeaderLightColor, nullptr, &GlimContainr::Redraw},
    {"Style", &GlimContainr::Style, nullptr, &GlimContainr::Redraw},
    {"TextColor", &GlimContainr::TextColor, nullptr, &GlimContainr::Redraw},
    {"Theme", &GlimContainr::Theme, nullptr, &GlimContainr::ApplyTheme, kTellFirst},
};

GlimContainr::GlimContainr() : Control(kClass, kBindings), parts(*this) {}

GlimContainr::~GlimContainr() = default;

void GlimContainr::OnInitialize() {
    shell.reset(LoadLibraryA("shell32.dll"));
    Canvas().SetScaleMode(kScalePixels);
    parts.Attach();
    Picture1 = std::make_unique<ConstituentPictureBox>(parts);
    Picture1->Canvas().SetScaleMode(kScalePixels);
    Picture1->Move(kHeaderTop, kHeaderTop, std::max(0, InnerWidth() - 2), kHeaderHeight);
    Label1 = std::make_unique<ConstituentLabel>(Picture1->Constituents());
    Label1->SetBackStyle(0);
    Label1->SetAutoSize(true);
    Label1->SetFont(CreateStdFont(kCaptionFace, 9, false, GB2312_CHARSET).get());
    Label1->SetForeColor(0x00FFFFFF);
    Label1->SetCaption(Caption);
    Label1->Move(kLabelLeft);
}

void GlimContainr::OnTerminate() {
    shell.reset();
}

int GlimContainr::InnerWidth() const {
    return Canvas().PixelWidth();
}

int GlimContainr::InnerHeight() const {
    return Canvas().PixelHeight();
}

void GlimContainr::OnShow() {
    OnResize();
}

void GlimContainr::OnResize() {
    Layout();
}

void GlimContainr::Layout() {
    if (!Picture1) return;
    try {
        if (Width() != 0) {
            Label1->SetTop((Picture1->Canvas().PixelHeight() - Label1->Height()) / 2);
            // Narrower than the border leaves no header box: the layout ends here.
            if (InnerWidth() - 2 < 0) return;
            Picture1->SetWidth(InnerWidth() - 2);
        }
        Redraw();
    } catch (const Error&) {
        // The layout ends quietly; the next repaint shows what it left.
    }
}

void GlimContainr::Redraw() {
    if (!Picture1) return;
    Canvas().Cls();
    Label1->SetCaption(Caption);
    if (Style == 0) {
        Picture1->SetVisible(true);
        DrawHeader(HeaderLightColor, HeaderDarkColor, TextColor);
    } else {
        Picture1->SetVisible(false);
    }
    DrawBody(BackLightColor, BackDarkColor);
    DrawBorder(BorderColor);
    Invalidate();
}

void GlimContainr::DrawHeader(OLE_COLOR light, OLE_COLOR dark, OLE_COLOR text) {
    try {
        Surface& box = Picture1->Canvas();
        if (!DrawVerticalGradient(box, light, dark, 0, box.PixelHeight() - 1, box.PixelWidth(),
                                  box.PixelHeight()))
            return;
        Label1->SetForeColor(text);
        Picture1->Refresh();
    } catch (const Error&) {
    }
}

void GlimContainr::DrawBody(OLE_COLOR light, OLE_COLOR dark) {
    try {
        // The step count comes from the control's own size, so a colour put
        // before the first layout paints the same as one put after it.
        if (Style == 0)
            DrawVerticalGradient(Canvas(), light, dark, kBodyTop, InnerHeight() - 1, InnerWidth() - 1,
                                 InnerHeight() - (kHeaderHeight + 2));
        else
            DrawVerticalGradient(Canvas(), light, dark, 0, InnerHeight() - 1, InnerWidth(), InnerHeight());
    } catch (const Error&) {
    }
}

void GlimContainr::DrawBorder(OLE_COLOR colour) {
    try {
        const int w = InnerWidth(), h = InnerHeight();
        Canvas().Box(0, 0, w - 1, h - 1, colour);
        Canvas().Line(0, h - 1, w, h - 1, colour);
        Canvas().Line(w - 1, 0, w - 1, h - 1, colour);
    } catch (const Error&) {
    }
}

void GlimContainr::ApplyTheme() {
    if (Theme < 0 || Theme >= kContainrThemeCount) return;
    const ContainrTheme& t = kThemes[Theme];
    // Through the puts: each one tells the container and repaints.
    const std::pair<DISPID, OLE_COLOR> puts[] = {
        {id::HeaderLightColor, t.headerLight}, {id::HeaderDarkColor, t.headerDark},
        {id::BackLightColor, t.backLight},     {id::BackDarkColor, t.backDark},
        {id::BorderColor, t.border},           {id::TextColor, t.text},
    };
    for (const auto& [member, colour] : puts)
        PutMember(member, *Variant::Long(static_cast<long>(colour)));
}

} // namespace glim
