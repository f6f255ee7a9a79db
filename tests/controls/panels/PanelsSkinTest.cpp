// GlimForm's AutoSkinControl reaching real sliders and bars, and the sheet
// of both controls on every skin: sliders in each rail style, both ways,
// and bars at 0, 40 and 100 percent, panels-sheet.png in "screenshots".
#include "GlimFormControl.h"
#include "PanelsHarness.h"
#include "SkinResourceIds.h"
#include "screenshots.h"

using namespace paneltest;

namespace {

class PanelsSkinTest : public PanelsTest {
  protected:
    void SkinAll(short skin) {
        host::ControlSite* g = form->Site("GlimForm1");
        ASSERT_TRUE(g);
        glim::PutProperty(g->ControlDispatch().get(), "MnuStyleIdx", Variant::Long(skin));
        glim::CallMethod(g->ControlDispatch().get(), "AutoSkinControl");
        glimtest::PumpPending();
    }
};

} // namespace

TEST_F(PanelsSkinTest, AutoSkinControlGivesSlidersAndBarsTheFormsSkin) {
    ASSERT_TRUE(Add("GlimFormControl.GlimForm", "GlimForm1", 60, 60, 480, 480));
    host::ControlSite* h = Add("GlimFormControl.GlimSlider", "GlimSlider1", 600, 900, 1500, 300);
    host::ControlSite* v = Add("GlimFormControl.GlimSlider", "GlimSlider2", 2400, 900, 300, 1500);
    ASSERT_TRUE(h && v);
    ASSERT_EQ(PutError(v, "Orientation", Variant::Long(1)), 0);
    for (short skin : {9, 0, 23}) {
        SCOPED_TRACE(skin);
        DllBitmap strip(glim::skinres::Fill(skin));
        // A bar as high as the strip plus its frame: the fill's rows are the strip's.
        host::ControlSite* bar =
            Add("GlimFormControl.GlimPressBar", "GlimPressBar1", 600, 2700, 1500, (strip.Height() + 2) * 15);
        ASSERT_TRUE(bar);
        SkinAll(skin);
        for (host::ControlSite* s : {h, v, bar})
            EXPECT_EQ(Get(s, "Style"), skin);
        DllBitmap hThumb(glim::skinres::HorizontalThumb(skin)), vThumb(glim::skinres::VerticalThumb(skin));
        EXPECT_TRUE(ShowsBitmapAt(h->Window(), hThumb, 0, 0));
        RECT vr{};
        GetClientRect(v->Window(), &vr);
        EXPECT_TRUE(ShowsBitmapAt(v->Window(), vThumb, 0, vr.bottom - vThumb.Height()));
        ASSERT_EQ(PutError(bar, "Value", Variant::Long(50)), 0);
        bool column = true;
        for (int y = 0; y < strip.Height(); ++y)
            column = column && Pixel(bar, 1, 1 + y) == strip.Pixel(0, y);
        EXPECT_TRUE(column) << "the fill's first column is the strip's";
        form->RemoveControl("GlimPressBar1");
    }
}

TEST_F(PanelsSkinTest, ScreenshotSheetOfEverySkin) {
    form->SetBackColor(0x00F0F0F0);
    form->SetClientSize(6600, 2700);
    ASSERT_TRUE(Add("GlimFormControl.GlimForm", "GlimForm1", 6000, 2100, 480, 480));
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        host::ControlSite* h = Add("GlimFormControl.GlimSlider", "H" + n, 150, 150 + i * 540, 2400, 300);
        host::ControlSite* v = Add("GlimFormControl.GlimSlider", "V" + n, 2700 + i * 480, 150, 300, 2250);
        ASSERT_TRUE(h && v);
        ASSERT_EQ(PutError(v, "Orientation", Variant::Long(1)), 0);
        // Made horizontal first, it took the thumb's height: stretch it again.
        v->Move(2700 + i * 480, 150, 300, 2250);
        for (host::ControlSite* s : {h, v}) {
            ASSERT_EQ(PutError(s, "RailStyle", Variant::Long(i)), 0);
            ASSERT_EQ(PutError(s, "Value", Variant::Long(i * 3 + 1)), 0);
        }
    }
    const long percents[] = {0, 40, 100};
    const char* const bars[] = {"P0", "P1", "P2"};
    for (int i = 0; i < 3; ++i) {
        host::ControlSite* bar = Add("GlimFormControl.GlimPressBar", bars[i], 4800, 150 + i * 600, 1500, 360);
        ASSERT_TRUE(bar);
        ASSERT_EQ(PutError(bar, "Value", Variant::Long(percents[i])), 0);
    }
    RECT client{};
    GetClientRect(form->hWnd(), &client);
    const int cols = 4, tileW = client.right + 4, tileH = client.bottom + 4;
    skingen::Raster sheet(tileW * cols, tileH * (glim::skinres::kSkinCount / cols));
    for (short skin = 0; skin < glim::skinres::kSkinCount; ++skin) {
        SCOPED_TRACE(skin);
        SkinAll(skin);
        // Style reloads the thumbs and lays out; the bars need a new value.
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(PutError(form->Site(bars[i]), "Value", Variant::Long(percents[i])), 0);
        SetForegroundWindow(form->hWnd());
        RedrawWindow(form->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        glimtest::PumpPending();
        const skingen::Raster shot = glimtest::CaptureClient(form->hWnd());
        sheet.CopyFrom(shot, 0, 0, shot.Width(), shot.Height(), (skin % cols) * tileW, (skin / cols) * tileH);
    }
    EXPECT_TRUE(glimtest::WriteShot("panels-sheet.png", sheet));
}
