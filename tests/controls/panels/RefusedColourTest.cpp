// Colours the platform cannot translate, as hosts hand them over: a put
// refuses one with 380 and changes nothing, and a bag holding one (an older
// build's, or written by hand) loads that property's default and the rest.
#include "MemoryPropertyBag.h"
#include "PanelsHarness.h"
#include "PropertyBagText.h"
#include "screenshots.h"

#include <string>
#include <vector>

using namespace paneltest;

namespace {

// An unknown high byte, system colour indexes past the last one.
constexpr long kBadColours[] = {0x12345678, static_cast<long>(0x800000FF), static_cast<long>(0x80FFFFFF)};

bool SamePixels(const glimtest::WindowShot& a, const glimtest::WindowShot& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

std::string SavedText(host::ControlSite* s) {
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    s->Save(bag.get());
    return host::BagToText(*bag.get());
}

using RefusedColourTest = PanelsTest;

TEST_F(RefusedColourTest, APutIsRefusedBeforeAnythingChanges) {
    const struct {
        const char* progId;
        std::vector<const char*> colours;
    } controls[] = {
        {"GlimFormControl.GlimPressBar", {"BackColor", "BorderColor", "FillColor", "ForeColor"}},
        {"GlimFormControl.GlimContainr",
         {"HeaderLightColor", "HeaderDarkColor", "BackLightColor", "BackDarkColor", "BorderColor",
          "TextColor"}},
        {"GlimFormControl.GlimToolTip", {"BackColor", "FrameColor", "TitleColor", "TipColor"}},
    };
    for (const auto& c : controls) {
        host::ControlSite* s = Add(c.progId, "C", 300, 300, 3000, 1500);
        ASSERT_TRUE(s);
        const std::string saved = SavedText(s);
        UpdateWindow(s->Window());
        const glimtest::WindowShot shown(s->Window());
        for (const char* colour : c.colours) {
            for (long bad : kBadColours) {
                SCOPED_TRACE(std::string(c.progId) + "." + colour + " = " + std::to_string(bad));
                const long was = Get(s, colour);
                Log(s).ClearChanges();
                EXPECT_EQ(PutError(s, colour, Variant::Long(bad)), 380);
                EXPECT_EQ(Get(s, colour), was);
                EXPECT_TRUE(Log(s).Changes().empty());
            }
        }
        EXPECT_EQ(SavedText(s), saved) << c.progId;
        // It still repaints, and shows what it showed.
        InvalidateRect(s->Window(), nullptr, TRUE);
        UpdateWindow(s->Window());
        EXPECT_TRUE(SamePixels(glimtest::WindowShot(s->Window()), shown)) << c.progId;
        form->RemoveControl("C");
    }
}

TEST_F(RefusedColourTest, ABagHoldingOneLoadsItsDefaultAndEveryOtherKey) {
    const struct {
        const char* progId;
        const char* badKey;    // holds a refused colour
        const char* colour;    // the property it loads into; nullptr: a key without one
        long colourDefault;    // what that property then holds
        const char* otherKey;  // a key stored beside it
        const char* otherName; // the property it loads into
        long other;            // its value
    } cases[] = {
        {"GlimFormControl.GlimPressBar", "BackColor", "BackColor", static_cast<long>(0x8000000F), "Max",
         "Max", 70},
        {"GlimFormControl.GlimContainr", "HeaderLightColor", "HeaderLightColor", 0x00F7E0D3, "Theme", "Theme",
         3},
        {"GlimFormControl.GlimToolTip", "TipColor", "TipColor", 0, "Icon", "Icon", 1},
        {"GlimFormControl.GlimSlider", "BackColor", nullptr, 0, "Max", "Max", 20},
        {"GlimFormControl.GlimButton", "BCOL", "BackColor", static_cast<long>(GetSysColor(COLOR_BTNFACE)),
         "BTYPE", "ButtonType", 7},
        {"GlimFormControl.GlimCheck", "ForeColor", "ForeColor", 0, "Value", "Value", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.progId);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        bag->Set(c.badKey, Variant::Long(0x12345678));
        bag->Set(c.otherKey, Variant::Long(c.other));
        host::ControlSite* s = Add(c.progId, "Loaded", 300, 300, 3000, 1500, bag.get());
        ASSERT_TRUE(s);
        if (c.colour) {
            EXPECT_EQ(Get(s, c.colour), c.colourDefault);
        }
        EXPECT_EQ(Get(s, c.otherName), c.other);
        EXPECT_EQ(SavedText(s).find("305419896"), std::string::npos) << "the refused colour was saved";
        form->RemoveControl("Loaded");
    }
}

} // namespace
