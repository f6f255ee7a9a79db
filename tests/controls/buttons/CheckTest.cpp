// GlimCheck on a host form: every glyph cell on every skin, the click cycle
// and hover with real input, persistence with its key order, and bad input.
#include "Conversions.h"
#include "GlimError.h"
#include "GlyphTour.h"
#include "SkinResourceIds.h"
#include "PropertyBagText.h"
#include "pump.h"

#include <gtest/gtest.h>

using namespace toggletest;
namespace ev = dispid::GlimCheck_events;

namespace {

const ToggleKind kCheck{"GlimCheck", GLIM_RES_CHECK, 12, 1, {0, 1, 2}, false};

class CheckTest : public testing::Test {
  protected:
    void SetUp() override {
        site = form.Add("GlimCheck", "Check1", 300, 300);
        ASSERT_TRUE(site);
        d = site->ControlDispatch().get();
        hwnd = site->Window();
        // The first poll after creation has run and stopped.
        ASSERT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseOut) == 1; }));
        Log().ClearCalls();
    }
    long Value() { return glim::ToLong(*Get(d, "Value")); }
    glimtest::SiteRecorder& Log() { return form.Log(site.get()); }
    bool WaitShown(int cell, int skin = 0) {
        return WaitForCell(hwnd, SheetCells(GLIM_RES_CHECK, skin, 12, 1), cell);
    }
    void Click(POINT at) {
        MoveTo(hwnd, at);
        MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    }

    ToggleForm form;
    glim::ComPtr<host::ControlSite> site;
    IDispatch* d = nullptr;
    HWND hwnd = nullptr;
};

} // namespace

TEST(CheckGlyphs, EveryCellOnEverySkinFromThePaintedPixels) {
    TourEveryCell(kCheck, "toggles_check.png");
}

TEST_F(CheckTest, ClicksOnGlyphAndCaptionCycleAndClickSeesTheOldValue) {
    std::vector<long> seen;
    site->Events()->On(ev::Click, [&](host::EventArgs&) { seen.push_back(Value()); });
    struct Step {
        long before;
        POINT at; // glyph or caption
        long after;
    };
    const Step steps[] = {
        {0, {6, 6}, 1}, {1, {40, 6}, 0}, {2, {6, 6}, 0}, {2, {40, 8}, 0}, {7, {6, 6}, 7},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.before);
        seen.clear();
        ASSERT_EQ(Put(d, "Value", glim::Variant::Long(s.before)), S_OK);
        Click(s.at);
        ASSERT_TRUE(glimtest::PumpUntil([&] { return seen.size() == 1; }));
        EXPECT_EQ(seen[0], s.before);
        EXPECT_EQ(Value(), s.after);
    }
    // A put from code raises nothing.
    Log().ClearCalls();
    ASSERT_EQ(Put(d, "Value", glim::Variant::Long(1)), S_OK);
    glimtest::PumpPending();
    EXPECT_EQ(Log().CountOf(ev::Click), 0u);
    MoveAway();
}

TEST_F(CheckTest, APressBesideThePartsReleasedOnTheCaptionLetsGoOfTheMouse) {
    // Between the glyph and the caption lies the control's own window.
    MoveTo(hwnd, POINT{14, 6});
    MouseButtons({MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseDown) == 1; }));
    MoveTo(hwnd, POINT{40, 6});
    MouseButtons({MOUSEEVENTF_LEFTUP});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseUp) == 1; }));
    EXPECT_EQ(GetCapture(), nullptr);
    // Pressed and released on the control: one click.
    EXPECT_EQ(Log().CountOf(ev::Click), 1u);
    EXPECT_EQ(Value(), 1);
    // A click elsewhere on the form is not the check box's.
    MoveTo(hwnd, POINT{40, 120});
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    glimtest::PumpFor(150);
    EXPECT_EQ(Log().CountOf(ev::MouseDown), 1u);
    EXPECT_EQ(Log().CountOf(ev::Click), 1u);
    EXPECT_EQ(Value(), 1);
    MoveAway();
}

TEST_F(CheckTest, HoverOverGlyphAndCaptionAndOneMouseOutOnLeaving) {
    // Twice over: the second visit comes after the poll has run, which must
    // not leave the hover test in other units.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        for (POINT at : {POINT{6, 6}, POINT{30, 1}, POINT{60, 10}}) {
            Log().ClearCalls();
            MoveTo(hwnd, at);
            EXPECT_TRUE(WaitShown(1)) << at.x << "," << at.y;
            EXPECT_GE(Log().CountOf(ev::MouseMove), 1u);
            MoveAway();
            EXPECT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseOut) == 1; }));
            EXPECT_TRUE(WaitShown(0));
            glimtest::PumpFor(60);
            EXPECT_EQ(Log().CountOf(ev::MouseOut), 1u);
        }
    }
    // The caption reports its own place, on whole pixels.
    Log().ClearCalls();
    MoveTo(hwnd, POINT{40, 6});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseMove) >= 1; }));
    const auto& call = Log().Calls().back();
    EXPECT_EQ(call.in.at(2).ToDouble(), 240); // 245 twips, on the 16th pixel
    EXPECT_EQ(call.in.at(3).ToDouble(), 0);
    MoveAway();
}

TEST_F(CheckTest, PersistenceWritesItsKeysInOrderWithDefaultsLeftOut) {
    glim::ComPtr<glim::MemoryPropertyBag> fresh = glim::MemoryPropertyBag::Create();
    site->Save(fresh.get());
    EXPECT_EQ(fresh->Keys(), std::vector<std::string>{"Font"});

    ASSERT_EQ(Put(d, "Value", glim::Variant::Long(2)), S_OK);
    ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"Saved")), S_OK);
    ASSERT_EQ(Put(d, "BackColor", glim::Variant::Long(0x123456)), S_OK);
    ASSERT_EQ(Put(d, "ForeColor", glim::Variant::Long(0x0000FF)), S_OK);
    ASSERT_EQ(Put(d, "Style", glim::Variant::Integer(5)), S_OK);
    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    site->Save(bag.get());
    const std::vector<std::string> order{"Font",      "Value",     "Caption", "Enabled",
                                         "BackColor", "ForeColor", "SkinIdx"};
    EXPECT_EQ(bag->Keys(), order);

    // Read back through text, as a form file holds it.
    glim::ComPtr<glim::MemoryPropertyBag> text = host::BagFromText(host::BagToText(*bag.get()));
    glim::ComPtr<host::ControlSite> copy = form.Add("GlimCheck", "Check2", 300, 900, text.get());
    ASSERT_TRUE(copy);
    IDispatch* c = copy->ControlDispatch().get();
    EXPECT_EQ(glim::ToLong(*Get(c, "Value")), 2);
    EXPECT_EQ(glim::ToText(*Get(c, "Caption")), "Saved");
    EXPECT_EQ(glim::ToLong(*Get(c, "BackColor")), 0x123456);
    EXPECT_EQ(glim::ToLong(*Get(c, "ForeColor")), 0x0000FF);
    EXPECT_EQ(glim::ToLong(*Get(c, "Style")), 5);
    EXPECT_FALSE(glim::ToBool(*Get(c, "Enabled")));
    // Loading notified no SkinIdx and no Enabled.
    for (DISPID id : form.Log(copy.get()).Changes()) {
        EXPECT_NE(id, dispid::GlimCheck::Enabled);
        EXPECT_NE(id, dispid::GlimCheck::Style);
    }
    // Mixed and disabled on sheet 5 as soon as loading has ended.
    EXPECT_TRUE(WaitForCell(copy->Window(), SheetCells(GLIM_RES_CHECK, 5, 12, 1), 11));
}

TEST_F(CheckTest, BagsWithWrongTypesFailTheLoadAndAnUnknownSkinLoads) {
    struct Case {
        const char* key;
        glim::Variant value;
        bool loads;
    };
    const Case cases[] = {
        {"Value", glim::Variant::String(L"lots"), false},
        {"SkinIdx", glim::Variant::Long(70000), false},
        {"BackColor", glim::Variant::String(L"red"), false},
        {"SkinIdx", glim::Variant::Integer(40), true},
        {"Value", glim::Variant::Long(9), true},
    };
    int n = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.key);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        bag->Set(k.key, glim::Variant(*k.value));
        const std::string name = "Bad" + std::to_string(++n);
        if (!k.loads) {
            EXPECT_THROW(form.Add("GlimCheck", name, 300, 900, bag.get()), glim::Error);
            continue;
        }
        glim::ComPtr<host::ControlSite> s = form.Add("GlimCheck", name, 300, 900, bag.get());
        ASSERT_TRUE(s);
        // Mouse, poll and puts keep working.
        MoveTo(s->Window(), POINT{6, 6});
        MoveAway();
        EXPECT_TRUE(glimtest::PumpUntil([&] { return form.Log(s.get()).CountOf(ev::MouseOut) >= 1; }));
        EXPECT_EQ(Put(s->ControlDispatch().get(), "Value", glim::Variant::Long(1)), S_OK);
        form.Form()->RemoveControl(name);
    }
}

TEST_F(CheckTest, StyleWithoutSheetRaisesOnceAndNothingLaterFails) {
    ASSERT_EQ(Put(d, "Value", glim::Variant::Long(1)), S_OK);
    ASSERT_TRUE(WaitShown(4));
    Log().ClearChanges();
    EXCEPINFO ei{};
    EXPECT_EQ(Put(d, "Style", glim::Variant::Integer(24), &ei), DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A0000 + 340));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    EXPECT_TRUE(Log().Changes().empty());
    EXPECT_EQ(glim::ToLong(*Get(d, "Style")), 24);
    // Redraws from puts, the mouse and the poll draw nothing and raise nothing.
    EXPECT_EQ(Put(d, "Value", glim::Variant::Long(0)), S_OK);
    EXPECT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
    EXPECT_EQ(Put(d, "Enabled", glim::Variant::Bool(true)), S_OK);
    Click(POINT{6, 6});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Value() == 1; }));
    MoveAway();
    EXPECT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::MouseOut) >= 1; }));
    // Out of 16 bits: overflow, and nothing stored.
    EXPECT_EQ(Put(d, "Style", glim::Variant::Long(40000), &ei), DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A0000 + 6));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    EXPECT_EQ(glim::ToLong(*Get(d, "Style")), 24);
    // A skin with a sheet draws again.
    EXPECT_EQ(Put(d, "Style", glim::Variant::Integer(3)), S_OK);
    EXPECT_TRUE(WaitShown(4, 3));
}

TEST_F(CheckTest, HeightFollowsTheGlyphWhateverTheHostGives) {
    for (long h : {60L, 195L, 2000L}) {
        site->Move(300, 300, 2400, h);
        glimtest::PumpPending();
        RECT r{};
        GetClientRect(hwnd, &r);
        EXPECT_EQ(r.bottom, 13) << h;
    }
}

TEST_F(CheckTest, KeysPassThroughAndNeverChangeTheValue) {
    std::vector<long> pressed;
    site->Events()->On(ev::KeyPress, [&](host::EventArgs& a) {
        ASSERT_TRUE(a.IsByRef(0));
        pressed.push_back(a.Get(0).ToLong());
    });
    Click(POINT{6, 6}); // focus comes with the click
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Value() == 1; }));
    MoveAway();
    for (WORD key : {WORD(VK_SPACE), WORD('A'), WORD(VK_RETURN)})
        glimtest::PressKey(key);
    ASSERT_TRUE(glimtest::PumpUntil([&] { return Log().CountOf(ev::KeyUp) == 3; }));
    EXPECT_EQ(Log().CountOf(ev::KeyDown), 3u);
    EXPECT_EQ(pressed, (std::vector<long>{' ', 'a', '\r'}));
    EXPECT_EQ(Value(), 1);
}

TEST_F(CheckTest, DisabledCaptionIsGreyWhateverTheForeColor) {
    ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"WWWW MMMM")), S_OK);
    ASSERT_EQ(Put(d, "ForeColor", glim::Variant::Long(0x0000FF)), S_OK);
    // Whether some pixel of the caption has exactly this colour; soon: once
    // the paint that brings it has come.
    auto captionHas = [&](COLORREF c) {
        for (int y = 0; y < 13; ++y)
            for (int x = 16; x < 80; ++x)
                if (glimtest::ClientPixel(hwnd, x, y) == c) return true;
        return false;
    };
    auto soon = [&](COLORREF c) { return glimtest::PumpUntil([&] { return captionHas(c); }); };
    EXPECT_TRUE(soon(RGB(255, 0, 0)));
    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
    EXPECT_TRUE(soon(RGB(161, 161, 146)));
    EXPECT_FALSE(captionHas(RGB(255, 0, 0)));
    // A colour put while disabled shows once enabled again.
    ASSERT_EQ(Put(d, "ForeColor", glim::Variant::Long(0xFF0000)), S_OK);
    glimtest::PumpPending();
    UpdateWindow(hwnd);
    EXPECT_FALSE(captionHas(RGB(0, 0, 255)));
    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(true)), S_OK);
    EXPECT_TRUE(soon(RGB(0, 0, 255)));
}

TEST(ToggleLeaks, LooksHoverAndControlsThatComeAndGoLeaveNothing) {
    ToggleForm form;
    glim::ComPtr<host::ControlSite> check = form.Add("GlimCheck", "Check1", 300, 300);
    glim::ComPtr<host::ControlSite> option = form.Add("GlimOption", "Option1", 300, 900);
    ASSERT_TRUE(check && option);
    // Every skin, value and state through the puts, and the pointer in and out.
    auto round = [&] {
        for (short skin = 0; skin < 24; ++skin)
            for (host::ControlSite* s : {check.get(), option.get()}) {
                IDispatch* d = s->ControlDispatch().get();
                ASSERT_EQ(Put(d, "Style", glim::Variant::Integer(skin)), S_OK);
                for (long v : {0L, 1L, 2L}) {
                    ASSERT_EQ(Put(d, "Value",
                                  s == check.get() ? glim::Variant::Long(v) : glim::Variant::Bool(v != 0)),
                              S_OK);
                    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
                    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(true)), S_OK);
                }
                MoveTo(s->Window(), POINT{6, 6});
                MoveAway();
                glimtest::PumpUntil([&] { return form.Log(s).CountOf(ev::MouseOut) >= 1; });
                form.Log(s).ClearCalls();
            }
    };
    // The first round sets up what is kept (sheets, fonts); the counts are
    // exact, so one more round shows anything kept per look.
    round();
    glimtest::PumpPending();
    const int gdi = glimtest::CountGdiObjects(), user = glimtest::CountUserObjects();
    round();
    glimtest::PumpPending();
    EXPECT_EQ(glimtest::CountGdiObjects(), gdi) << "GDI objects after the looks";
    EXPECT_EQ(glimtest::CountUserObjects(), user) << "USER objects after the looks";

    auto comeAndGo = [&] {
        ASSERT_TRUE(form.Add("GlimCheck", "Passing1", 300, 1500));
        ASSERT_TRUE(form.Add("GlimOption", "Passing2", 300, 2100));
        form.Form()->RemoveControl("Passing1");
        form.Form()->RemoveControl("Passing2");
        glimtest::PumpPending();
    };
    comeAndGo();
    const int gdiAfterOne = glimtest::CountGdiObjects(), userAfterOne = glimtest::CountUserObjects();
    for (int i = 0; i < 3; ++i)
        comeAndGo();
    EXPECT_EQ(glimtest::CountGdiObjects(), gdiAfterOne) << "GDI objects after controls came and went";
    EXPECT_EQ(glimtest::CountUserObjects(), userAfterOne) << "USER objects after controls came and went";
}
