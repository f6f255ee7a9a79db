// Colours the platform cannot translate, as hosts hand them over: every
// control refuses one with 380 before anything changes, and a bag holding
// one (an older build's, or written by hand) loads the key's default.
#include "MemoryPropertyBag.h"
#include "PanelsHarness.h"
#include "PropertyBagText.h"
#include "screenshots.h"

using namespace paneltest;

namespace {

std::string SavedText(host::ControlSite* s) {
    return host::BagToText(*Saved(s).get());
}

bool SamePixels(const glimtest::WindowShot& a, const glimtest::WindowShot& b) {
    bool same = a.Width() == b.Width() && a.Height() == b.Height();
    for (int y = 0; same && y < a.Height(); ++y)
        for (int x = 0; same && x < a.Width(); ++x)
            same = a.At(x, y) == b.At(x, y);
    return same;
}

using RefusedColourTest = PanelsTest;

TEST_F(RefusedColourTest, APutChangesNothingAndABagLoadsTheDefault) {
    const long face = static_cast<long>(GetSysColor(COLOR_BTNFACE)),
               systemFace = static_cast<long>(0x8000000F);
    // The first two colours are loaded from a bag too: the first is refused.
    const struct {
        const char* progId;
        std::vector<const char*> colours;
        long byDefault;    // what the first then holds
        const char* later; // a later put, which repaints where the control has one that does
    } controls[] = {
        {"GlimPressBar", {"BackColor", "BorderColor", "FillColor", "ForeColor"}, systemFace, "Value"},
        {"GlimContainr", {"HeaderLightColor", "HeaderDarkColor", "BackLightColor"}, 0xF7E0D3, "Style"},
        {"GlimContainr", {"BackDarkColor", "BorderColor", "TextColor"}, 0xFAE8DC, "Style"},
        {"GlimToolTip", {"TipColor", "BackColor", "FrameColor", "TitleColor"}, 0, "Icon"},
        {"GlimButton", {"BackColor", "BackOver", "ForeColor", "ForeOver", "MaskColor"}, face, "Enabled"},
        {"GlimCheck", {"ForeColor", "BackColor"}, 0, "Enabled"},
        {"GlimOption", {"ForeColor", "BackColor"}, 0, "Enabled"},
    };
    // An unknown high byte, system colour indexes past the last one.
    const long bad[] = {0x12345678, static_cast<long>(0x800000FF), static_cast<long>(0x80FFFFFF)};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.progId);
        const std::string progId = std::string("GlimFormControl.") + c.progId;
        host::ControlSite* s = Add(progId.c_str(), "C", 300, 300, 3000, 1200);
        ASSERT_TRUE(s);
        const std::string saved = SavedText(s);
        UpdateWindow(s->Window());
        const glimtest::WindowShot shown(s->Window());
        for (const char* colour : c.colours) {
            for (long value : bad) {
                const long was = Get(s, colour);
                Log(s).ClearChanges();
                EXPECT_EQ(PutError(s, colour, Variant::Long(value)), 380) << colour;
                EXPECT_EQ(Get(s, colour), was) << colour;
                EXPECT_TRUE(Log(s).Changes().empty()) << colour;
            }
        }
        EXPECT_EQ(SavedText(s), saved);
        InvalidateRect(s->Window(), nullptr, TRUE);
        UpdateWindow(s->Window());
        EXPECT_TRUE(SamePixels(glimtest::WindowShot(s->Window()), shown));
        EXPECT_EQ(PutError(s, c.later, Variant::Long(0)), 0);

        // Loaded from a bag, it takes its default and the key beside it its own
        // value (the button's keys are not its members' names).
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        const bool button = std::string(c.progId) == "GlimButton";
        bag->Set(button ? "BCOL" : c.colours[0], Variant::Long(0x12345678));
        bag->Set(button ? "BCOLO" : c.colours[1], Variant::Long(0x00123456));
        host::ControlSite* loaded = Add(progId.c_str(), "Loaded", 300, 1800, 3000, 1200, bag.get());
        ASSERT_TRUE(loaded);
        EXPECT_EQ(Get(loaded, c.colours[0]), c.byDefault);
        EXPECT_EQ(Get(loaded, c.colours[1]), 0x00123456);
        EXPECT_EQ(SavedText(loaded).find("305419896"), std::string::npos) << "the refused colour was saved";
        form->RemoveControl("C");
        form->RemoveControl("Loaded");
    }
}

} // namespace
