// GlimButton's property bag as a host saves and loads it: the keys in their
// order with their defaults, and bags with missing or odd keys.
#include "ButtonHarness.h"
#include "GlimFormControl.h"
#include "Handles.h"
#include "MemoryPropertyBag.h"

#include <gtest/gtest.h>

using namespace buttontest;
namespace host = glim::host;
using glim::Variant;
namespace id = dispid::GlimButton;

namespace {

glim::ComPtr<glim::MemoryPropertyBag> Saved(ButtonForm& f, const std::string& name) {
    for (const host::ControlData& c : f.Form()->Save())
        if (c.name == name) return c.bag;
    return {};
}

} // namespace

TEST(GlimButtonPersistence, NewInstanceWritesEveryKeyInOrder) {
    ButtonForm f;
    f.Add("B1", 10, 10, 80, 24);
    glim::ComPtr<glim::MemoryPropertyBag> bag = Saved(f, "B1");
    ASSERT_TRUE(bag);
    const std::vector<std::string> expected = {"BTYPE", "ENAB", "FONT",  "COLTYPE", "FOCUSR", "BCOL",
                                               "BCOLO", "FCOL", "FCOLO", "MCOL",    "MPTR",   "MICON",
                                               "PICN",  "PICH", "UMCOL", "SOFT",    "PICPOS", "NGREY",
                                               "FX",    "HAND", "CHECK", "VALUE",   "Caption"};
    EXPECT_EQ(bag->Keys(), expected);
    struct Expect {
        const char* key;
        long value;
    };
    const Expect values[] = {{"BTYPE", 1},
                             {"ENAB", -1},
                             {"COLTYPE", 1},
                             {"FOCUSR", -1},
                             {"BCOL", 0xE0E0E0},
                             {"BCOLO", 0xE0E0E0},
                             {"FCOL", static_cast<long>(GetSysColor(COLOR_BTNTEXT))},
                             {"MCOL", 0xC0C0C0},
                             {"UMCOL", -1},
                             {"SOFT", 0},
                             {"PICPOS", 0},
                             {"NGREY", 0},
                             {"FX", 0},
                             {"HAND", 0},
                             {"CHECK", 0},
                             {"VALUE", 0}};
    for (const Expect& e : values)
        EXPECT_EQ(bag->Get(e.key).ToLong(), e.value) << e.key;
    EXPECT_EQ(bag->Get("Caption").ToText(), "GlimButton");
    // A bag written by a saved instance loads back to the same keys.
    f.Add("B2", 10, 50, 80, 24, bag.get());
    EXPECT_EQ(Saved(f, "B2")->Keys(), expected);
}

TEST(GlimButtonPersistence, DefaultCaptionAndStyleAreLeftOutAndOtherStylesWritten) {
    ButtonForm f;
    f.Add("B1", 10, 10, 80, 24);
    IDispatch* d = f.D("B1");
    ASSERT_EQ(Put(d, id::Caption, Text(L"Label1")), S_OK);
    glim::ComPtr<glim::MemoryPropertyBag> bag = Saved(f, "B1");
    EXPECT_FALSE(bag->Contains("Caption"));
    EXPECT_FALSE(bag->Contains("Style"));
    ASSERT_EQ(Put(d, id::Style, I4(5)), S_OK);
    bag = Saved(f, "B1");
    ASSERT_TRUE(bag->Contains("Style"));
    EXPECT_EQ(bag->Get("Style").ToLong(), 5);
    EXPECT_EQ(bag->Keys().back(), "Style");
}

TEST(GlimButtonPersistence, BagsWithMissingAndOddKeysLoad) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, Variant>> keys;
        long style;     // Style the button reports
        long pointer;   // MousePointer it ends with
        bool icon;      // it has a mouse icon
        long backColor; // BackColor
        long backOver;  // BackOver
    };
    const long face = static_cast<long>(GetSysColor(COLOR_BTNFACE));
    const Case cases[] = {
        {"empty bag", {}, 1, 1, false, face, face},
        {"BCOL only", {{"BCOL", Variant::Long(0x123456)}}, 1, 1, false, 0x123456, 0x123456},
        {"skin 5", {{"Style", Variant::Long(5)}}, 5, 1, false, face, face},
        {"HAND False wins over MPTR and MICON",
         {{"MPTR", Variant::Long(5)}, {"HAND", Variant::Bool(false)}},
         1,
         1,
         false,
         face,
         face},
        {"HAND True", {{"HAND", Variant::Bool(true)}}, 1, 99, true, face, face},
        {"Style not a number", {{"Style", Variant::String("blue")}}, -1, 1, false, face, face},
        {"Style out of range", {{"Style", Variant::Long(40)}}, 40, 1, false, face, face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonForm f;
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        for (const auto& [k, v] : c.keys)
            bag->Set(k, v);
        ASSERT_NE(f.Add("B1", 10, 10, 80, 24, bag.get()), nullptr);
        IDispatch* d = f.D("B1");
        VARIANT r;
        VariantInit(&r);
        const HRESULT styleHr = Invoke(d, id::Style, DISPATCH_PROPERTYGET, {}, &r);
        if (c.style >= 0) {
            EXPECT_EQ(styleHr, S_OK);
            EXPECT_EQ(V_I4(&r), c.style);
        } else {
            EXPECT_NE(styleHr, S_OK) << "a Style that is no number cannot be read as one";
        }
        VariantClear(&r);
        EXPECT_EQ(GetLong(d, id::MousePointer), c.pointer);
        EXPECT_EQ(Invoke(d, id::MouseIcon, DISPATCH_PROPERTYGET, {}, &r), S_OK);
        EXPECT_EQ(V_VT(&r) == VT_DISPATCH && V_DISPATCH(&r) != nullptr, c.icon);
        VariantClear(&r);
        EXPECT_EQ(GetLong(d, id::BackColor), c.backColor);
        EXPECT_EQ(GetLong(d, id::BackOver), c.backOver);
        EXPECT_EQ(Saved(f, "B1")->Keys().size(), c.style == 1 ? 22u : 23u) << "Style kept as read";
    }
}

TEST(GlimButtonPersistence, TheFontIsTheButtonsOwnEvenWhenItsCaptionTurnsBold) {
    ButtonForm f;
    f.Add("B1", 10, 10, 80, 24);
    f.Add("B2", 10, 50, 80, 24);
    IDispatch* b1 = f.D("B1");
    ASSERT_EQ(Put(b1, id::FontBold, Bool(true)), S_OK);
    EXPECT_EQ(GetLong(b1, id::FontBold), -1);
    EXPECT_EQ(GetLong(f.D("B2"), id::FontBold), 0);
    BOOL bold = TRUE;
    glim::ComPtr<IFont> formFont;
    f.Form()->Font()->QueryInterface(IID_IFont, formFont.put_void());
    ASSERT_TRUE(formFont);
    formFont->get_Bold(&bold);
    EXPECT_FALSE(bold) << "the host form's font stays as it was";

    // The default button of the looks MacOSX and KDE 2 paints its caption
    // bold and leaves its font as it was.
    ASSERT_EQ(Put(b1, id::FontBold, Bool(false)), S_OK);
    f.Form()->SetDefaultSite(f.Form()->Site("B1"));
    for (long look : {10, 14}) {
        ASSERT_EQ(Put(b1, id::ButtonType, I4(look)), S_OK);
        PumpFor(20);
        EXPECT_EQ(GetLong(b1, id::FontBold), 0) << look;
    }
    formFont->get_Bold(&bold);
    EXPECT_FALSE(bold);
}

// Loaded at the size it was created with, so that no resize follows, the
// button still lays out for what it read: the window region of its look,
// and the pressed toggle, with or without a font in the bag.
TEST(GlimButtonPersistence, ALoadAtTheCreationSizeLaysOutForWhatItRead) {
    constexpr int W = 80, H = 24; // the size of a new instance
    struct Case {
        long look;
        bool noFont;                // the bag's FONT is Nothing
        std::vector<POINT> out, in; // pixels the region leaves out and keeps
    } cases[] = {
        {3, false, {{1, 0}, {0, 1}, {W - 1, H - 2}}, {{1, 1}, {2, 0}}},  // Windows XP
        {7, true, {}, {{0, 0}, {W - 1, H - 1}}},                         // Simple Flat
        {13, false, {{0, 0}, {W - 1, 0}}, {{W / 2, H / 2}, {W / 2, 1}}}, // Oval Flat
        {14, true, {{0, 0}, {W - 1, H - 1}}, {{1, 0}}},                  // KDE 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.look);
        ButtonForm f;
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        bag->Set("BTYPE", Variant::Long(c.look));
        bag->Set("COLTYPE", Variant::Long(3)); // Force Standard
        bag->Set("CHECK", Variant::Bool(true));
        bag->Set("VALUE", Variant::Bool(true));
        if (c.noFont) bag->Set("FONT", Variant::Object(nullptr));
        ASSERT_NE(f.Add("B1", 10, 10, W, H, bag.get()), nullptr);
        glim::OwnedRegion rgn(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(f.Wnd("B1"), rgn.get()), ERROR);
        for (POINT p : c.out)
            EXPECT_FALSE(PtInRegion(rgn.get(), p.x, p.y)) << p.x << "," << p.y;
        for (POINT p : c.in)
            EXPECT_TRUE(PtInRegion(rgn.get(), p.x, p.y)) << p.x << "," << p.y;
        // Simple Flat under Force Standard shows its shadow in the corner when pressed.
        if (c.look == 7) {
            PumpFor(20);
            EXPECT_EQ(ScreenPixel(f.Wnd("B1"), 0, 0), 0x808080u);
        }
    }
}
