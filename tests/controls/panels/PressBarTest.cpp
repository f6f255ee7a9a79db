// GlimPressBar on a host form: fill widths in whole units, captions, the
// errors of its setters, the notifications they send, and its property bag.
#include "Fonts.h"
#include "Handles.h"
#include "PanelsHarness.h"

#include <algorithm>
#include <cstring>

using namespace paneltest;

namespace {

constexpr OLE_COLOR kMagenta = 0x00FF00FF; // no fill strip uses it
constexpr OLE_COLOR kCaptionColor = 0x000000FF;
constexpr long kBarHeight = 450; // 30 pixels: rows 2 to 7 lie above the caption

class PressBarTest : public PanelsTest {
  protected:
    host::ControlSite* AddBar(long width, glim::MemoryPropertyBag* bag = nullptr) {
        host::ControlSite* s =
            Add("GlimFormControl.GlimPressBar", "GlimPressBar1", 300, 300, width, kBarHeight, bag);
        if (!s) return s;
        // Unfilled parts show the back colour: no shape fill, no shape back.
        EXPECT_EQ(PutError(s, "BackColor", glim::Variant::Long(kMagenta)), 0);
        EXPECT_EQ(PutError(s, "FillStyle", glim::Variant::Long(1)), 0);
        EXPECT_EQ(PutError(s, "ForeColor", glim::Variant::Long(kCaptionColor)), 0);
        return s;
    }

    // Pixels of the fill along a row above the caption: from x = 1 to the
    // first column that shows the back colour.
    static int FilledPixels(host::ControlSite* s, int width) {
        int x = 1;
        while (x < width - 1 && Pixel(s, x, 4) != kMagenta)
            ++x;
        return x - 1;
    }
};

// The caption as the label draws it: centred, in the default font, in the
// label's rectangle (57 x 13 pixels centred on the control).
std::vector<bool> CaptionMask(const std::string& text, int width, int height) {
    const int lw = 57, lh = 13;
    glim::OwnedDC dc(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    glim::OwnedBitmap bmp(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    glim::SelectGuard keepBmp(dc.get(), bmp.get());
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    glim::SelectGuard keepFont(dc.get(), glim::FontHandle(glim::DefaultGuiFont().get()));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    const double left = width * 15 / 2.0 - lw * 15 / 2.0, top = height * 15 / 2.0 - lh * 15 / 2.0;
    RECT r{static_cast<LONG>(left / 15 + 0.5), static_cast<LONG>(top / 15 + 0.5), 0, 0};
    r.right = r.left + lw;
    r.bottom = r.top + lh;
    DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
    std::vector<bool> mask(static_cast<size_t>(width) * height);
    const auto* px = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < mask.size(); ++i)
        mask[i] = (px[i] & 0xFFFFFF) == 0xFFFFFF;
    return mask;
}

std::vector<bool> ControlCaptionMask(host::ControlSite* s, int width, int height) {
    UpdateWindow(s->Window());
    std::vector<bool> mask(static_cast<size_t>(width) * height);
    const glim::WindowDC dc(s->Window());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[static_cast<size_t>(y) * width + x] = GetPixel(dc.get(), x, y) == kCaptionColor;
    return mask;
}

} // namespace

TEST_F(PressBarTest, FillGrowsInWholeUnitsAndTheCaptionShowsTheValue) {
    struct Case {
        long width, max, value;
        int fillPixels; // Unit x Value / 15, clipped inside the frame
        const char* caption;
    } cases[] = {
        {1500, 100, 40, 40, "40%"},    // Unit 15
        {1500, 100, 0, 0, "0%"},       //
        {1000, 300, 300, 60, "300%"},  // Unit 3: never looks full
        {2295, 100, 100, 151, "100%"}, // Unit 23: 2300 twips, clipped at the edge
        {1500, 100, 150, 98, "150%"},  // past Max: clipped
        {3000, 100, 100, 198, "100%"}, // Unit 30
        {1485, 200, 15, 7, "15%"},     // 7.425 rounds to 7
        {1350, 20, 15, 68, "15%"},     // 67.5 rounds to 68 (even)
        {1410, 20, 15, 70, "15%"},     // 70.5 rounds to 70 (even)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption + std::string(" at width ") + std::to_string(c.width));
        host::ControlSite* s = AddBar(c.width);
        ASSERT_TRUE(s);
        ASSERT_EQ(PutError(s, "Max", glim::Variant::Long(c.max)), 0);
        ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(c.value)), 0);
        const int w = static_cast<int>(c.width / 15);
        EXPECT_EQ(FilledPixels(s, w), c.fillPixels);
        const std::vector<bool> want = CaptionMask(c.caption, w, 30);
        ASSERT_NE(std::count(want.begin(), want.end(), true), 0);
        EXPECT_EQ(ControlCaptionMask(s, w, 30), want);
        form->RemoveControl("GlimPressBar1");
    }
}

TEST_F(PressBarTest, FailingSettersKeepWhatTheyHadStoredBeforeTheFailingStep) {
    host::ControlSite* s = AddBar(1500);
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(40)), 0);
    struct Case {
        const char* name;
        long value;
        long error;
        const char* readBack; // property read afterwards
        long expected;
        int fillPixels; // fill afterwards
    } cases[] = {
        // Max 0: the division fails before anything is stored.
        {"Max", 0, 0, "Max", 0, 40},
        {"Value", 70, 11, "Value", 40, 40},
        {"Max", 100, 0, "Max", 100, 40},
        // A negative fill is refused after Value was stored.
        {"Value", -5, 380, "Value", -5, 40},
        {"Value", 60, 0, "Value", 60, 60},
        // Style: no strip for 24, overflow before storing for 40000, and
        // overflow of the identifier after storing for 29800.
        {"Style", 24, 326, "Style", 24, 60},
        {"Style", 40000, 6, "Style", 24, 60},
        {"Style", 29800, 6, "Style", 29800, 60},
        {"Style", 3, 0, "Style", 3, 60},
        {"BorderStyle", 7, 380, "BorderStyle", 1, 60},
        {"FillStyle", 8, 380, "FillStyle", 1, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
        Log(s).ClearChanges();
        EXPECT_EQ(PutError(s, c.name, glim::Variant::Long(c.value)), c.error);
        EXPECT_EQ(Get(s, c.readBack), c.expected);
        EXPECT_EQ(FilledPixels(s, 100), c.fillPixels);
        // Only a setter that ran to its end tells the container.
        if (c.error == 0) {
            ASSERT_EQ(Log(s).Changes().size(), 1u);
            EXPECT_EQ(Log(s).Changes()[0], glim::DispIdOf(s->ControlDispatch().get(), c.name));
        } else {
            EXPECT_TRUE(Log(s).Changes().empty());
        }
    }
}

TEST_F(PressBarTest, EverySetterNotifiesItsOwnIdentifierOnce) {
    host::ControlSite* s = AddBar(1500);
    ASSERT_TRUE(s);
    const struct {
        const char* name;
        DISPID id;
        long value;
    } cases[] = {
        {"Value", 0x6803000B, 20},      {"Max", 0x6803000A, 50},         {"Min", 0x68030009, 5},
        {"BackColor", 0x68030008, 255}, {"Style", 0x68030007, 7},        {"BorderStyle", 0x68030006, 3},
        {"BackStyle", 0x68030005, 1},   {"BorderColor", 0x68030004, 12}, {"BorderWidth", 0x68030003, 2},
        {"FillColor", 0x68030002, 99},  {"FillStyle", 0x68030001, 6},    {"ForeColor", 0x68030000, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Log(s).ClearChanges();
        ASSERT_EQ(PutError(s, c.name, glim::Variant::Long(c.value)), 0);
        ASSERT_EQ(Log(s).Changes().size(), 1u);
        EXPECT_EQ(Log(s).Changes()[0], c.id);
        // Read back by identifier as well as by name.
        EXPECT_EQ(GetById(s, c.id), c.value);
        EXPECT_EQ(Get(s, c.name), c.value);
    }
}

TEST_F(PressBarTest, AResizeEmptiesTheFillAndKeepsTheCaption) {
    host::ControlSite* s = AddBar(1500);
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(50)), 0);
    ASSERT_EQ(FilledPixels(s, 100), 50);
    s->Move(300, 300, 1800, kBarHeight);
    glimtest::PumpPending();
    EXPECT_EQ(FilledPixels(s, 120), 0);
    EXPECT_EQ(ControlCaptionMask(s, 120, 30), CaptionMask("50%", 120, 30));
    EXPECT_EQ(Get(s, "Value"), 50);
}

TEST_F(PressBarTest, PropertyBagKeepsItsKeyOrderAndLeavesDefaultsOut) {
    host::ControlSite* s = Add("GlimFormControl.GlimPressBar", "GlimPressBar1", 300, 300, 1500, kBarHeight);
    ASSERT_TRUE(s);
    // A new bar differs from the persisted defaults only in the frame's
    // design fill colour.
    EXPECT_EQ(Saved(s)->Keys(), (std::vector<std::string>{"FillColor"}));
    const struct {
        const char* name;
        long value;
    } puts[] = {{"ForeColor", 0x123456}, {"Value", 30},      {"FillStyle", 3},
                {"FillColor", 0},        {"Max", 60},        {"BorderWidth", 3},
                {"Style", 21},           {"Min", -4},        {"BackStyle", 1},
                {"BorderStyle", 2},      {"BorderColor", 7}, {"BackColor", 0x00F0E0D0}};
    for (const auto& p : puts)
        ASSERT_EQ(PutError(s, p.name, glim::Variant::Long(p.value)), 0) << p.name;
    const glim::ComPtr<glim::MemoryPropertyBag> bag = Saved(s);
    EXPECT_EQ(bag->Keys(),
              (std::vector<std::string>{"Value", "Max", "Min", "BackColor", "Style", "BorderStyle",
                                        "BackStyle", "BorderColor", "BorderWidth", "ForeColor"}));
    host::ControlSite* copy =
        Add("GlimFormControl.GlimPressBar", "GlimPressBar2", 300, 1200, 1500, kBarHeight, bag.get());
    ASSERT_TRUE(copy);
    for (const auto& p : puts)
        EXPECT_EQ(Get(copy, p.name), p.value) << p.name;
}

TEST_F(PressBarTest, OddBagsLoadWhatTheyCanOrFailWithAClearError) {
    struct Case {
        const char* label;
        std::vector<std::pair<const char*, glim::Variant>> keys;
        bool loads;
        long style; // Style read back
        long max;
    } cases[] = {
        {"empty bag", {}, true, 0, 100},
        // A skin without a strip keeps the design fill and every other key.
        {"style 30", {{"Style", glim::Variant::Long(30)}, {"Max", glim::Variant::Long(70)}}, true, 30, 70},
        {"style -1", {{"Style", glim::Variant::Long(-1)}, {"Max", glim::Variant::Long(70)}}, true, -1, 70},
        {"style as text", {{"Style", glim::Variant::String("5")}}, true, 5, 100},
        {"max not a number", {{"Max", glim::Variant::String("many")}}, false, 0, 0},
        {"border style 9", {{"BorderStyle", glim::Variant::Long(9)}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        for (const auto& [k, v] : c.keys)
            bag->Set(k, v);
        glim::ComPtr<host::ControlSite> s;
        bool loaded = true;
        try {
            s = form->AddControl("GlimFormControl.GlimPressBar", "Bar", 300, 300, 1500, kBarHeight,
                                 bag.get());
        } catch (const glim::Error&) {
            loaded = false;
        }
        EXPECT_EQ(loaded && s, c.loads);
        if (!loaded || !s) continue;
        EXPECT_EQ(Get(s.get(), "Style"), c.style);
        EXPECT_EQ(Get(s.get(), "Max"), c.max);
        form->RemoveControl("Bar");
    }
}
