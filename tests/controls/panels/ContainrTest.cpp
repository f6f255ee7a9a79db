// The gradient panel as hosts use it: made by its ProgID on a host form,
// driven through IDispatch by name and identifier, pixels read back from the
// screen, persistence through ordered bags, and the host's own controls
// placed inside it, reached with real keyboard input.
#include "GlimFormControl.h"
#include "Extender.h"
#include "HostForm.h"
#include "LateBound.h"
#include "PanelsHarness.h"
#include "MemoryPropertyBag.h"
#include "Registration.h"
#include "pump.h"

#include <gtest/gtest.h>
#include <ocidl.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace host = glim::host;
using glim::ComPtr;
using paneltest::ScreenPixel;

namespace {

namespace id = dispid::GlimContainr;
constexpr int kW = 200; // panel size in pixels
constexpr int kH = 100;

struct Colors {
    OLE_COLOR headerLight, headerDark, backLight, backDark, border, text;
};
// Theme 0 and theme 6, written out independently of the control's table.
constexpr Colors kBlue{0xF7E0D3, 0xEDC5A7, 0xFCF4EF, 0xFAE8DC, 0xDCC1AD, 0x7B2D02};
constexpr Colors kOrange{0xD2E2FD, 0xA7C6FA, 0xEFF5FE, 0xDDE9FD, 0x9FC0FA, 0x16366D};

// Row i of a gradient of n rows from light to dark, per channel.
COLORREF GradientRow(COLORREF light, COLORREF dark, int i, int n) {
    const auto ch = [&](int shift) {
        const double l = (light >> shift) & 0xFF, d = (dark >> shift) & 0xFF;
        return static_cast<int>(std::lround(l + (d - l) * i / (n - 1)));
    };
    return RGB(ch(0), ch(8), ch(16));
}

// Equal within one step per channel, where single precision accumulates.
bool Near(COLORREF a, COLORREF b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1)
            return false;
    return true;
}

std::string Hex(COLORREF c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06lX", static_cast<unsigned long>(c));
    return buf;
}

class ContainrTest : public paneltest::PanelsTest {
  protected:
    // Pixels are read from the screen: the form comes first.
    void SetUp() override {
        PanelsTest::SetUp();
        paneltest::BringToFront(form->hWnd());
    }

    long Tx(int px) const { return px * static_cast<long>(host::HostForm::TwipsPerPixelX()); }
    long Ty(int px) const { return px * static_cast<long>(host::HostForm::TwipsPerPixelY()); }

    ComPtr<host::ControlSite> AddPanel(const std::string& name, glim::MemoryPropertyBag* bag = nullptr,
                                       const std::string& container = "") {
        ComPtr<host::ControlSite> s = form->AddControl("GlimFormControl.GlimContainr", name, Tx(20), Ty(20),
                                                       Tx(kW), Ty(kH), bag, container);
        if (s) Log(s.get());
        glimtest::PumpPending();
        return s;
    }
    static IDispatch* Ext(host::ControlSite* s) { return static_cast<IDispatch*>(s->GetExtender()); }

    // Waits until the panel shows c at (x, y) of its client area.
    static bool ShowsAt(HWND hwnd, int x, int y, COLORREF c) {
        return glimtest::PumpUntil([&] { return ScreenPixel(hwnd, x, y) == c; }, 2000);
    }

    // Checks header, body and border pixels against the colours given.
    void ExpectPanel(HWND hwnd, bool header, const Colors& c, const char* what) {
        ASSERT_TRUE(ShowsAt(hwnd, kW / 2, kH - 1, c.border)) << what;
        const int x = kW - 8; // clear of the caption
        const int bodyTop = header ? 24 : 0;
        const int n = header ? kH - 25 : kH;
        if (header) {
            for (int y = 1; y <= 23; ++y) {
                const COLORREF want = GradientRow(c.headerLight, c.headerDark, y - 1, 23);
                EXPECT_TRUE(Near(want, ScreenPixel(hwnd, x, y)))
                    << what << " header row " << y << " want " << Hex(want) << " got "
                    << Hex(ScreenPixel(hwnd, x, y));
            }
        }
        for (int y = std::max(bodyTop, 1); y <= kH - 2; ++y) {
            const COLORREF want = GradientRow(c.backLight, c.backDark, y - bodyTop, n);
            EXPECT_TRUE(Near(want, ScreenPixel(hwnd, x, y)))
                << what << " body row " << y << " want " << Hex(want) << " got "
                << Hex(ScreenPixel(hwnd, x, y));
        }
        // The last body row before the border is the dark colour exactly.
        EXPECT_EQ(c.backDark, ScreenPixel(hwnd, x, kH - 2)) << what;
        for (POINT p : {POINT{0, kH / 2}, POINT{kW - 1, kH / 2}, POINT{kW / 2, 0}, POINT{kW / 2, kH - 1},
                        POINT{0, 0}, POINT{kW - 1, kH - 1}})
            EXPECT_EQ(c.border, ScreenPixel(hwnd, p.x, p.y)) << what << " border at " << p.x << "," << p.y;
    }
};

TEST_F(ContainrTest, NewPanelAnswersByNameAndIdentifier) {
    ComPtr<host::ControlSite> panel = AddPanel("GlimContainr1");
    IDispatch* d = panel->ControlDispatch().get();
    EXPECT_EQ("GlimContainr", panel->TypeName());
    EXPECT_EQ("GlimContainr", glim::GetProperty(d, "Caption").ToText());
    EXPECT_EQ("GlimContainr", glim::GetProperty(d, id::Caption).ToText());
    const struct {
        const char* name;
        DISPID id;
        long value;
    } props[] = {
        {"HeaderLightColor", id::HeaderLightColor, static_cast<long>(kBlue.headerLight)},
        {"HeaderDarkColor", id::HeaderDarkColor, static_cast<long>(kBlue.headerDark)},
        {"BackLightColor", id::BackLightColor, static_cast<long>(kBlue.backLight)},
        {"BackDarkColor", id::BackDarkColor, static_cast<long>(kBlue.backDark)},
        {"BorderColor", id::BorderColor, static_cast<long>(kBlue.border)},
        {"TextColor", id::TextColor, static_cast<long>(kBlue.text)},
        {"Style", id::Style, 0},
        {"Theme", id::Theme, 0},
    };
    for (const auto& p : props) {
        EXPECT_EQ(p.id, glim::DispIdOf(d, p.name)) << p.name;
        EXPECT_EQ(p.value, glim::GetProperty(d, p.name).ToLong()) << p.name;
    }
}

TEST_F(ContainrTest, PaintsHeaderBodyAndBorderFromItsColours) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    IDispatch* d = panel->ControlDispatch().get();
    const HWND hwnd = panel->Window();
    ExpectPanel(hwnd, true, kBlue, "theme 0");

    // Swapped colours run dark to light with the same stepping.
    Colors swapped = kBlue;
    std::swap(swapped.headerLight, swapped.headerDark);
    std::swap(swapped.backLight, swapped.backDark);
    glim::PutProperty(d, id::HeaderLightColor, glim::Variant::Long(static_cast<long>(swapped.headerLight)));
    glim::PutProperty(d, "HeaderDarkColor", glim::Variant::Long(static_cast<long>(swapped.headerDark)));
    glim::PutProperty(d, id::BackLightColor, glim::Variant::Long(static_cast<long>(swapped.backLight)));
    glim::PutProperty(d, "BackDarkColor", glim::Variant::Long(static_cast<long>(swapped.backDark)));
    ExpectPanel(hwnd, true, swapped, "swapped");

    // Any Style but 0 hides the header; the body fills the panel from row 0.
    for (long style : {1L, 5L}) {
        glim::PutProperty(d, "Style", glim::Variant::Long(style));
        ExpectPanel(hwnd, false, swapped, style == 1 ? "style 1" : "style 5");
        EXPECT_EQ(style, glim::GetProperty(d, id::Style).ToLong());
    }
    glim::PutProperty(d, "Style", glim::Variant::Long(0));
    ExpectPanel(hwnd, true, swapped, "style 0 again");
}

TEST_F(ContainrTest, EveryThemeSetsItsColours) {
    // The twelve themes as the designer lists them.
    constexpr Colors themes[] = {
        kBlue,
        {0xECDCD3, 0xDABAA8, 0xF8F2EF, 0xF1E5DD, 0xD6B4A0, 0x4B2A17},
        {0xD8E5C8, 0xB1CB92, 0xF1F5EB, 0xE1EBD5, 0xAAC688, 0x213B00},
        {0xE0EAE8, 0xC2D6D1, 0xF4F8F7, 0xE7EFED, 0xBCD3CD, 0x324741},
        {0xF1E3C8, 0xE4C992, 0xFAF5EB, 0xF5EAD5, 0xE2C488, 0x553900},
        {0xDAF2E3, 0xB5E5C8, 0xF1FAF5, 0xE3F5EA, 0xAEE3C3, 0x245738},
        kOrange,
        {0xE3E3D6, 0xC9C9AE, 0xF5F5F0, 0xEAEAE0, 0xC4C4A6, 0x39391D},
        {0xEAD7DF, 0xD5B0BF, 0xF7F1F3, 0xEFE1E6, 0xD1A9B9, 0x46202F},
        {0xD6D2FB, 0xAEA6F8, 0xF0EFFE, 0xE0DDFC, 0xA79EF7, 0x1D156A},
        {0xECEAE9, 0xD9D6D3, 0xF8F7F7, 0xF1EFEE, 0xD6D2CF, 0x4A4744},
        {0xE4FAFC, 0xB9EEF4, 0xEEFCFD, 0xDCF7FA, 0x95E1EA, 0x66D5E1},
    };
    ComPtr<host::ControlSite> panel = AddPanel("P");
    IDispatch* d = panel->ControlDispatch().get();
    for (long theme = 11; theme >= 0; --theme) {
        const Colors& c = themes[theme];
        glim::PutProperty(d, id::Theme, glim::Variant::Long(theme));
        const std::pair<DISPID, OLE_COLOR> got[] = {
            {id::HeaderLightColor, c.headerLight}, {id::HeaderDarkColor, c.headerDark},
            {id::BackLightColor, c.backLight},     {id::BackDarkColor, c.backDark},
            {id::BorderColor, c.border},           {id::TextColor, c.text}};
        for (const auto& [member, want] : got)
            EXPECT_EQ(static_cast<long>(want), glim::GetProperty(d, member).ToLong())
                << "theme " << theme << " member " << std::hex << member;
        EXPECT_TRUE(ShowsAt(panel->Window(), kW - 8, 1, c.headerLight)) << "theme " << theme;
        EXPECT_TRUE(ShowsAt(panel->Window(), kW - 8, kH - 2, c.backDark)) << "theme " << theme;
    }
}

TEST_F(ContainrTest, ThemeSetsTheSixColoursThroughTheirOwnPuts) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    IDispatch* d = panel->ControlDispatch().get();
    Log(panel.get()).ClearChanges();
    glim::PutProperty(d, "Theme", glim::Variant::Long(6));
    const std::vector<DISPID> seven{id::Theme,          id::HeaderLightColor, id::HeaderDarkColor,
                                    id::BackLightColor, id::BackDarkColor,    id::BorderColor,
                                    id::TextColor};
    EXPECT_EQ(seven, Log(panel.get()).Changes());
    EXPECT_EQ(static_cast<long>(kOrange.text), glim::GetProperty(d, "TextColor").ToLong());
    ExpectPanel(panel->Window(), true, kOrange, "theme 6");

    // Outside 0 .. 11 the value is kept and notified, and nothing else changes.
    for (long theme : {12L, -1L}) {
        Log(panel.get()).ClearChanges();
        glim::PutProperty(d, id::Theme, glim::Variant::Long(theme));
        EXPECT_EQ(std::vector<DISPID>{id::Theme}, Log(panel.get()).Changes());
        EXPECT_EQ(theme, glim::GetProperty(d, "Theme").ToLong());
        EXPECT_EQ(static_cast<long>(kOrange.headerLight), glim::GetProperty(d, "HeaderLightColor").ToLong());
    }
}

TEST_F(ContainrTest, SystemColoursAreTranslated) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    IDispatch* d = panel->ControlDispatch().get();
    const HWND hwnd = panel->Window();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const struct {
        const char* what;
        DISPID id;
        long value;
        POINT at;
        COLORREF want;
    } cases[] = {
        // A system colour starts the body gradient with its current value.
        {"system light", id::BackLightColor, static_cast<long>(0x8000000D), {kW - 8, 24}, highlight},
        {"system border", id::BorderColor, static_cast<long>(0x8000000D), {0, kH / 2}, highlight},
    };
    for (const auto& c : cases) {
        glim::PutProperty(d, "Theme", glim::Variant::Long(0));
        glim::PutProperty(d, c.id, glim::Variant::Long(c.value));
        EXPECT_TRUE(
            glimtest::PumpUntil([&] { return Near(c.want, ScreenPixel(hwnd, c.at.x, c.at.y)); }, 2000))
            << c.what << ": want " << Hex(c.want) << " got " << Hex(ScreenPixel(hwnd, c.at.x, c.at.y));
    }
}

TEST_F(ContainrTest, ColoursPutBeforeAnyLayoutStepOverTheControlsOwnSize) {
    // Unsited, as a host has it between creation and placing it.
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"GlimFormControl.GlimContainr", &clsid));
    ComPtr<IDispatch> d;
    ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()));
    auto init = d.As<IPersistStreamInit>();
    ASSERT_TRUE(init);
    ASSERT_EQ(S_OK, init->InitNew());
    glim::PutProperty(d.get(), "BackLightColor", glim::Variant::Long(0xFFFFFF));
    glim::PutProperty(d.get(), "BackDarkColor", glim::Variant::Long(0x000000));

    auto view = d.As<IViewObject>();
    auto ole = d.As<IOleObject>();
    ASSERT_TRUE(view && ole);
    SIZEL himetric{};
    ASSERT_EQ(S_OK, ole->GetExtent(DVASPECT_CONTENT, &himetric));
    const HDC screen = GetDC(nullptr);
    const int w = MulDiv(himetric.cx, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    const int h = MulDiv(himetric.cy, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    const HDC mem = CreateCompatibleDC(screen);
    const HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(mem, bmp);
    const RECTL bounds{0, 0, w, h};
    ASSERT_EQ(S_OK,
              view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, mem, &bounds, nullptr, nullptr, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(mem, w / 2, 24));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(mem, w / 2, h - 2));
    EXPECT_TRUE(
        Near(GradientRow(0xFFFFFF, 0, (h - 25) / 2, h - 25), GetPixel(mem, w / 2, 24 + (h - 25) / 2)));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ole->Close(OLECLOSE_NOSAVE);
}

TEST_F(ContainrTest, KeepsItsPaintingWhenCoveredAndUncovered) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    const HWND hwnd = panel->Window();
    ExpectPanel(hwnd, true, kBlue, "before");
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND cover =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(cover);
    glimtest::PumpUntil([&] { return ScreenPixel(hwnd, kW / 2, kH - 1) != kBlue.border; }, 1000);
    DestroyWindow(cover);
    ExpectPanel(hwnd, true, kBlue, "uncovered");
}

TEST_F(ContainrTest, APaintRedrawsWithTheSystemColoursOfNow) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    const HWND hwnd = panel->Window();
    glim::PutProperty(panel->ControlDispatch().get(), "BorderColor", glim::Variant::Long(0x8000000D));
    const COLORREF before = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_TRUE(ShowsAt(hwnd, 0, kH / 2, before));
    const int which = COLOR_HIGHLIGHT;
    const COLORREF now = before ^ 0x00408020;
    ASSERT_TRUE(SetSysColors(1, &which, &now));
    InvalidateRect(hwnd, nullptr, FALSE);
    const bool shown = ShowsAt(hwnd, 0, kH / 2, now);
    // A paint that left its window invalid would come back without end.
    glimtest::PumpFor(100);
    const bool settled = !GetUpdateRect(hwnd, nullptr, FALSE);
    SetSysColors(1, &which, &before);
    EXPECT_TRUE(shown) << "got " << Hex(ScreenPixel(hwnd, 0, kH / 2));
    EXPECT_TRUE(settled);
}

TEST_F(ContainrTest, PersistsInOrderAndReadsColoursAsStored) {
    ComPtr<host::ControlSite> panel = AddPanel("P");
    IDispatch* d = panel->ControlDispatch().get();
    glim::PutProperty(d, "Theme", glim::Variant::Long(3));
    glim::PutProperty(d, "BackLightColor", glim::Variant::Long(0x123456));
    glim::PutProperty(d, "Caption", glim::Variant::String(paneltest::Ansi(L"\u7248\u6743\u4FE1\u606F")));
    glim::PutProperty(d, "Style", glim::Variant::Long(1));
    const glim::ComPtr<glim::MemoryPropertyBag> bag = paneltest::Saved(panel.get());
    const std::vector<std::string> order{"HeaderLightColor", "HeaderDarkColor", "BackLightColor",
                                         "BackDarkColor",    "BorderColor",     "TextColor",
                                         "Caption",          "Style",           "Theme"};
    EXPECT_EQ(order, bag->Keys());
    EXPECT_EQ(0x123456, bag->Get("BackLightColor").ToLong());

    // Defaults are left out.
    ComPtr<host::ControlSite> plain = AddPanel("Plain");
    EXPECT_EQ(0u, paneltest::Saved(plain.get())->Count());

    // Read back in another order: the colours come back as stored, not
    // from the stored theme, and nothing is notified.
    ComPtr<glim::MemoryPropertyBag> in = glim::MemoryPropertyBag::Create();
    in->Set("Theme", glim::Variant::Long(6));
    in->Set("Caption", glim::Variant::String(paneltest::Ansi(L"\u52A9\u624B")));
    in->Set("BackLightColor", glim::Variant::Long(0xFAE8DC));
    ComPtr<host::ControlSite> loaded = AddPanel("Loaded", in.get());
    IDispatch* l = loaded->ControlDispatch().get();
    EXPECT_EQ(6, glim::GetProperty(l, "Theme").ToLong());
    EXPECT_EQ(0xFAE8DC, glim::GetProperty(l, "BackLightColor").ToLong());
    EXPECT_EQ(static_cast<long>(kBlue.headerLight), glim::GetProperty(l, "HeaderLightColor").ToLong());
    EXPECT_EQ(paneltest::Ansi(L"\u52A9\u624B"), glim::GetProperty(l, "Caption").ToText());
    EXPECT_TRUE(Log(loaded.get()).Changes().empty());
    EXPECT_TRUE(ShowsAt(loaded->Window(), kW - 8, 24, 0xFAE8DC));
}

TEST_F(ContainrTest, HeldControlsAreChildrenClippedAndMovingWithThePanel) {
    ComPtr<host::ControlSite> panel = AddPanel("Panel");
    // A button well inside, a text box running past the panel's right edge.
    ComPtr<host::ControlSite> inner = form->AddControl("GlimFormControl.GlimButton", "Inner", Tx(10), Ty(30),
                                                       Tx(80), Ty(24), nullptr, "Panel");
    ComPtr<host::ControlSite> wide =
        form->AddControl("TextBox", "Wide", Tx(120), Ty(62), Tx(200), Ty(24), nullptr, "Panel");
    glimtest::PumpPending();
    const HWND p = panel->Window();
    EXPECT_EQ(p, GetParent(inner->Window()));
    EXPECT_EQ(p, GetParent(wide->Window()));

    RECT pr{}, ir{};
    GetWindowRect(p, &pr);
    GetWindowRect(inner->Window(), &ir);
    EXPECT_EQ(pr.left + 10, ir.left);
    EXPECT_EQ(pr.top + 30, ir.top);

    // Inside the panel the wide box shows; past the edge the form does.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_TRUE(ShowsAt(p, kW - 8, 74, window));
    COLORREF formColor = 0;
    OleTranslateColor(form->BackColor(), nullptr, &formColor);
    EXPECT_EQ(formColor, ScreenPixel(p, kW + 8, 74));

    // Moving the panel carries its controls.
    glim::PutProperty(Ext(panel.get()), "Left", glim::Variant::Long(Tx(60)));
    glim::PutProperty(Ext(panel.get()), "Top", glim::Variant::Long(Ty(50)));
    glimtest::PumpPending();
    RECT pr2{}, ir2{};
    GetWindowRect(p, &pr2);
    GetWindowRect(inner->Window(), &ir2);
    EXPECT_EQ(pr.left + 40, pr2.left);
    EXPECT_EQ(pr2.left + 10, ir2.left);
    EXPECT_EQ(pr2.top + 30, ir2.top);
    EXPECT_EQ(Tx(10), glim::GetProperty(Ext(inner.get()), "Left").ToLong());
}

TEST_F(ContainrTest, TabMovesTheFocusIntoAndOutOfThePanel) {
    ComPtr<host::ControlSite> before = form->AddControl("TextBox", "Before", Tx(240), Ty(20), Tx(80), Ty(24));
    ComPtr<host::ControlSite> panel = AddPanel("Panel");
    ComPtr<host::ControlSite> a =
        form->AddControl("GlimFormControl.GlimButton", "A", Tx(10), Ty(30), Tx(80), Ty(24), nullptr, "Panel");
    ComPtr<host::ControlSite> b =
        form->AddControl("TextBox", "B", Tx(10), Ty(60), Tx(80), Ty(24), nullptr, "Panel");
    ComPtr<host::ControlSite> after = form->AddControl("TextBox", "After", Tx(240), Ty(60), Tx(80), Ty(24));
    ASSERT_TRUE(paneltest::BringToFront(form->hWnd()));
    before->Focus();
    const auto focusIs = [&](host::ControlSite* s) {
        return paneltest::PumpHostUntil([&] { return form->FocusedSite() == s; });
    };
    ASSERT_TRUE(focusIs(before.get()));
    const struct {
        bool shift;
        host::ControlSite* then;
    } steps[] = {{false, a.get()}, {false, b.get()}, {false, after.get()},
                 {true, b.get()},  {true, a.get()},  {true, before.get()}};
    for (const auto& s : steps) {
        glimtest::PressKey(VK_TAB, s.shift);
        EXPECT_TRUE(focusIs(s.then)) << "Tab" << (s.shift ? " with Shift" : "") << " should reach "
                                     << s.then->Name() << ", focus is on "
                                     << (form->FocusedSite() ? form->FocusedSite()->Name() : "nothing");
    }
}

} // namespace

namespace {

TEST_F(ContainrTest, AutoSkinControlLeavesARealPanelAlone) {
    ComPtr<host::ControlSite> skinner =
        form->AddControl("GlimFormControl.GlimForm", "GlimForm1", Tx(240), Ty(20), Tx(32), Ty(32));
    ComPtr<host::ControlSite> panel = AddPanel("Panel");
    IDispatch* f = skinner->ControlDispatch().get();
    glim::PutProperty(f, "MnuStyleIdx", glim::Variant::Long(5));
    Log(panel.get()).ClearChanges();
    glim::CallMethod(f, "AutoSkinControl");
    EXPECT_EQ(0, glim::GetProperty(panel->ControlDispatch().get(), "Style").ToLong());
    EXPECT_TRUE(Log(panel.get()).Changes().empty());
    ExpectPanel(panel->Window(), true, kBlue, "after AutoSkinControl");
}

} // namespace
