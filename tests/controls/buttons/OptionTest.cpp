// GlimOption on a host form: every glyph cell on every skin, one group per
// form across panels with real clicks, loading several True, a click whose
// handler unloads the form, an option with no form, persistence, and
// GlimForm's AutoSkinControl reaching real check boxes and option buttons.
#include "Conversions.h"
#include "GlimError.h"
#include "GlyphTour.h"
#include "RefusingOption.h"
#include "Registration.h"
#include "SkinResourceIds.h"
#include "PropertyBagText.h"
#include "message_boxes.h"
#include "pump.h"

#include <gtest/gtest.h>

using namespace toggletest;
namespace ev = dispid::GlimOption_events;

namespace {

const ToggleKind kOption{"GlimOption", GLIM_RES_OPTION, 2, 4, {0, -1}, true};

class OptionTest : public testing::Test {
  protected:
    bool ValueOf(const std::string& name) {
        return glim::ToBool(*Get(form.Form()->Site(name)->ControlDispatch().get(), "Value"));
    }
    std::string TrueOnes(const std::vector<std::string>& names) {
        std::string s;
        for (const std::string& n : names)
            if (ValueOf(n)) s += n + " ";
        return s;
    }

    // A GlimForm with a check box and an option button beside it; its dispatch.
    IDispatch* AddSkinnedControls() {
        glim::ComPtr<host::ControlSite> skinner =
            form.Form()->AddControl("GlimFormControl.GlimForm", "GlimForm1", 6000, 3000, 480, 480);
        if (!skinner || !form.Add("GlimCheck", "Check1", 300, 300) ||
            !form.Add("GlimOption", "Option1", 300, 900))
            return nullptr;
        return skinner->ControlDispatch().get();
    }

    ToggleForm form{9000, 6000};
};

bool Optioned(host::ControlSite* s) {
    return s && s->ControlDispatch();
}

} // namespace

TEST(OptionGlyphs, EveryCellOnEverySkinFromThePaintedPixels) {
    TourEveryCell(kOption, "toggles_option.png");
}

TEST_F(OptionTest, OneGroupPerFormAcrossPanelsWithRealClicks) {
    ASSERT_TRUE(form.Form()->AddControl("GlimFormControl.GlimContainr", "Panel1", 3000, 300, 5000, 3000));
    const std::vector<std::string> names{"A", "B", "C", "D"};
    ASSERT_TRUE(Optioned(form.Add("GlimOption", "A", 300, 300).get()));
    ASSERT_TRUE(Optioned(form.Add("GlimOption", "B", 300, 900).get()));
    ASSERT_TRUE(Optioned(form.Add("GlimOption", "C", 200, 300, nullptr, "Panel1").get()));
    ASSERT_TRUE(Optioned(form.Add("GlimOption", "D", 200, 900, nullptr, "Panel1").get()));
    for (const std::string& n : names)
        ASSERT_EQ(Put(form.Form()->Site(n)->ControlDispatch().get(), "Caption",
                      glim::Variant::String(L"Option caption")),
                  S_OK);
    std::string seenInClick;
    for (const std::string& n : names)
        form.Form()->Site(n)->Events()->On(ev::Click,
                                           [&](host::EventArgs&) { seenInClick = TrueOnes(names); });

    struct Step {
        const char* click;
        POINT at; // glyph or caption
        const char* before;
    };
    const Step steps[] = {{"B", {6, 6}, ""},    {"C", {40, 7}, "B "}, {"A", {6, 6}, "C "},
                          {"A", {40, 7}, "A "}, {"D", {6, 6}, "A "},  {"B", {50, 5}, "D "}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.click);
        host::ControlSite* site = form.Form()->Site(s.click);
        for (const std::string& n : names)
            form.Log(form.Form()->Site(n)).ClearChanges();
        seenInClick = "-";
        MoveTo(site->Window(), s.at);
        MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        ASSERT_TRUE(glimtest::PumpUntil([&] { return seenInClick != "-"; }));
        EXPECT_EQ(seenInClick, s.before);
        EXPECT_EQ(TrueOnes(names), std::string(s.click) + " ");
        // Each was told once, the clicked one twice (False, then True).
        for (const std::string& n : names)
            EXPECT_EQ(form.Log(form.Form()->Site(n)).Changes(),
                      std::vector<DISPID>(n == s.click ? 2 : 1, dispid::GlimOption::Value))
                << n;
    }
    MoveAway();
}

TEST_F(OptionTest, LoadingAndPutsFromCodeKeepSeveralTrue) {
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    bag->Set("Value", glim::Variant::Bool(true));
    ASSERT_TRUE(form.Add("GlimOption", "A", 300, 300, bag.get()));
    ASSERT_TRUE(form.Add("GlimOption", "B", 300, 900, bag.get()));
    ASSERT_TRUE(form.Add("GlimOption", "C", 300, 1500));
    EXPECT_EQ(TrueOnes({"A", "B", "C"}), "A B ");
    ASSERT_EQ(Put(form.Form()->Site("C")->ControlDispatch().get(), "Value", glim::Variant::Bool(true)), S_OK);
    EXPECT_EQ(TrueOnes({"A", "B", "C"}), "A B C ");
}

TEST_F(OptionTest, AClickWhoseHandlerUnloadsTheFormEndsTheWalk) {
    for (const char* n : {"A", "B", "C"})
        ASSERT_TRUE(form.Add("GlimOption", n, 300, n[0] == 'A' ? 300 : n[0] == 'B' ? 900 : 1500));
    host::ControlSite* b = form.Form()->Site("B");
    int clicks = 0;
    host::HostForm* f = form.Form();
    b->Events()->On(ev::Click, [&](host::EventArgs&) {
        ++clicks;
        f->Unload();
    });
    MoveTo(b->Window(), POINT{6, 6});
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return !f->Loaded(); }));
    glimtest::PumpFor(50);
    EXPECT_EQ(clicks, 1);
    MoveAway();
}

TEST(OptionAlone, AnOptionWithNoFormSetsItselfOnAClick) {
    glimtest::RegisterLibraryOnce();
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"GlimFormControl.GlimOption", &clsid), S_OK);
    glim::ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistPropertyBag, persist.put_void()),
        S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    glim::ComPtr<IOleWindow> window;
    ASSERT_EQ(persist->QueryInterface(IID_IOleWindow, window.put_void()), S_OK);
    HWND hwnd = nullptr;
    ASSERT_EQ(window->GetWindow(&hwnd), S_OK);
    glim::ComPtr<IDispatch> d;
    ASSERT_EQ(persist->QueryInterface(IID_IDispatch, d.put_void()), S_OK);
    // Nobody sits it on a form, so no person can click it: its window gets the click.
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    EXPECT_TRUE(glim::ToBool(*Get(d.get(), "Value")));
}

TEST_F(OptionTest, MovesReportGlyphAndCaptionPlacesAndNothingFromOutside) {
    glim::ComPtr<host::ControlSite> s = form.Add("GlimOption", "A", 300, 300);
    ASSERT_TRUE(s);
    ASSERT_TRUE(glimtest::PumpUntil([&] { return form.Log(s.get()).CountOf(ev::MouseOut) == 1; }));
    ASSERT_EQ(Put(s->ControlDispatch().get(), "Caption", glim::Variant::String(L"An option")), S_OK);
    glimtest::SiteRecorder& rec = form.Log(s.get());
    struct Case {
        POINT at;
        double x, y; // what MouseMove reports, twips
    };
    for (const Case& c : {Case{{5, 5}, 0, 0}, Case{{12, 12}, 0, 0}}) {
        rec.ClearCalls();
        MoveTo(s->Window(), c.at);
        ASSERT_TRUE(glimtest::PumpUntil([&] { return rec.CountOf(ev::MouseMove) >= 1; }));
        EXPECT_EQ(rec.Calls().back().in.at(2).ToDouble(), c.x);
        EXPECT_EQ(rec.Calls().back().in.at(3).ToDouble(), c.y);
    }
    rec.ClearCalls();
    MoveTo(s->Window(), POINT{40, 7});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec.CountOf(ev::MouseMove) >= 1; }));
    EXPECT_EQ(rec.Calls().back().in.at(2).ToDouble(), 285); // 290 twips, on the 19th pixel
    // Pressed on the glyph and dragged away: nothing from outside.
    MoveTo(s->Window(), POINT{6, 6});
    MouseButtons({MOUSEEVENTF_LEFTDOWN});
    glimtest::PumpPending();
    rec.ClearCalls();
    MoveTo(s->Window(), POINT{6, 60});
    glimtest::PumpFor(50);
    EXPECT_EQ(rec.CountOf(ev::MouseMove), 0u);
    MouseButtons({MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(glimtest::PumpUntil([&] { return rec.CountOf(ev::MouseUp) == 1; }));
    EXPECT_EQ(rec.CountOf(ev::Click), 0u);
    MoveAway();
}

// Layouts inside the toggles work at 15 twips to a pixel whatever the
// screen's scale: the option 240 twips high with its caption from 290, the
// check box as high as its 195-twip glyph with its caption from 245.
TEST(ToggleLayout, GlyphsAndCaptionsLieOnTheirPixelsOnAnyScreen) {
    const struct {
        const char* cls;
        int height, captionLeft; // pixels
    } cases[] = {{"GlimOption", 16, 19}, {"GlimCheck", 13, 16}};
    ToggleForm form(9000, 6000);
    for (const auto& c : cases) {
        glim::ComPtr<host::ControlSite> s = form.Add(c.cls, c.cls, 300, 300);
        ASSERT_TRUE(s) << c.cls;
        IDispatch* d = s->ControlDispatch().get();
        ASSERT_EQ(Put(d, "BackColor", glim::Variant::Long(0xFFFFFF)), S_OK);
        ASSERT_EQ(Put(d, "ForeColor", glim::Variant::Long(0)), S_OK);
        ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"H")), S_OK);
        const HWND w = s->Window();
        RECT r{};
        GetClientRect(w, &r);
        EXPECT_EQ(r.bottom, c.height) << c.cls;
        UpdateWindow(w);
        int ink = -1; // first column of the caption right of the glyph
        for (int x = kCell; x < r.right && ink < 0; ++x)
            for (int y = 0; y < r.bottom && ink < 0; ++y)
                if (glimtest::ClientPixel(w, x, y) != 0xFFFFFF) ink = x;
        EXPECT_GE(ink, c.captionLeft) << c.cls;
        EXPECT_LE(ink, c.captionLeft + 2) << c.cls;
        form.Form()->RemoveControl(c.cls);
    }
}

TEST_F(OptionTest, PersistenceKeysInOrderAndBackThroughText) {
    glim::ComPtr<host::ControlSite> s = form.Add("GlimOption", "A", 300, 300);
    IDispatch* d = s->ControlDispatch().get();
    ASSERT_EQ(Put(d, "Value", glim::Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"选项")), S_OK);
    ASSERT_EQ(Put(d, "Enabled", glim::Variant::Bool(false)), S_OK);
    ASSERT_EQ(Put(d, "BackColor", glim::Variant::Long(0x00FF00)), S_OK);
    ASSERT_EQ(Put(d, "ForeColor", glim::Variant::Long(0x800000)), S_OK);
    ASSERT_EQ(Put(d, "Style", glim::Variant::Integer(5)), S_OK);
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    s->Save(bag.get());
    EXPECT_EQ(bag->Keys(), (std::vector<std::string>{"Font", "Value", "Caption", "Enabled", "BackColor",
                                                     "ForeColor", "SkinIdx"}));
    glim::ComPtr<glim::MemoryPropertyBag> text = host::BagFromText(host::BagToText(*bag.get()));
    glim::ComPtr<host::ControlSite> copy = form.Add("GlimOption", "B", 300, 900, text.get());
    ASSERT_TRUE(copy);
    IDispatch* c = copy->ControlDispatch().get();
    EXPECT_TRUE(glim::ToBool(*Get(c, "Value")));
    EXPECT_EQ(glim::ToText(*Get(c, "Caption")), "\xD1\xA1\xCF\xEE");
    EXPECT_FALSE(glim::ToBool(*Get(c, "Enabled")));
    EXPECT_EQ(glim::ToLong(*Get(c, "BackColor")), 0x00FF00);
    EXPECT_EQ(glim::ToLong(*Get(c, "ForeColor")), 0x800000);
    EXPECT_EQ(glim::ToLong(*Get(c, "Style")), 5);
    // True and disabled on sheet 5: cell 7.
    EXPECT_TRUE(WaitForCell(copy->Window(), SheetCells(GLIM_RES_OPTION, 5, 2, 4), 7));
    // The control is 240 twips high whatever the host asks.
    copy->Move(300, 900, 2400, 1000);
    glimtest::PumpPending();
    RECT r{};
    GetClientRect(copy->Window(), &r);
    EXPECT_EQ(r.bottom, 16);
}

TEST_F(OptionTest, AutoSkinControlReachesRealChecksAndOptions) {
    IDispatch* g = AddSkinnedControls();
    ASSERT_TRUE(g);
    ASSERT_TRUE(form.Form()->AddControl("TextBox", "Text1", 300, 1500, 1500, 300));
    ASSERT_EQ(Put(g, "MnuStyleIdx", glim::Variant::Integer(7)), S_OK);
    ASSERT_EQ(Invoke(g, dispid::GlimForm::AutoSkinControl, DISPATCH_METHOD, {}), S_OK);
    host::HostForm* f = form.Form();
    EXPECT_EQ(glim::ToLong(*Get(f->Site("Check1")->ControlDispatch().get(), "Style")), 7);
    EXPECT_EQ(glim::ToLong(*Get(f->Site("Option1")->ControlDispatch().get(), "Style")), 7);
    struct Shown {
        const char* name;
        int firstSheet, rows, cols;
    };
    for (const Shown& s : {Shown{"Check1", GLIM_RES_CHECK, 12, 1}, Shown{"Option1", GLIM_RES_OPTION, 2, 4}}) {
        const std::vector<Cell> sheet = SheetCells(s.firstSheet, 7, s.rows, s.cols);
        EXPECT_TRUE(WaitForCell(f->Site(s.name)->Window(), sheet, 0)) << s.name;
    }
}

TEST_F(OptionTest, ALargeCaptionAboveTheTopStillShowsHover) {
    glim::ComPtr<host::ControlSite> s = form.Add("GlimOption", "A", 300, 300);
    ASSERT_TRUE(s);
    IDispatch* d = s->ControlDispatch().get();
    ASSERT_EQ(Put(d, "Caption", glim::Variant::String(L"Large caption")), S_OK);
    // A 16 pt copy of its font puts the caption's top above the control's.
    glim::ComPtr<IFont> font;
    glim::Variant current = Get(d, "Font");
    ASSERT_EQ(current.vt(), VT_DISPATCH);
    ASSERT_EQ(V_DISPATCH(current.get())->QueryInterface(IID_IFont, font.put_void()), S_OK);
    glim::ComPtr<IFont> large;
    ASSERT_EQ(font->Clone(large.put()), S_OK);
    CY size{};
    size.int64 = 160000;
    ASSERT_EQ(large->put_Size(size), S_OK);
    glim::ComPtr<IDispatch> largeDisp;
    ASSERT_EQ(large->QueryInterface(IID_IDispatch, largeDisp.put_void()), S_OK);
    ASSERT_EQ(Put(d, "Font", glim::Variant::Object(largeDisp.get())), S_OK);
    ASSERT_TRUE(glimtest::PumpUntil([&] { return form.Log(s.get()).CountOf(ev::MouseOut) >= 1; }));
    const std::vector<Cell> sheet = SheetCells(GLIM_RES_OPTION, 0, 2, 4);
    for (POINT at : {POINT{30, 1}, POINT{40, 14}}) {
        MoveTo(s->Window(), at);
        EXPECT_TRUE(WaitForCell(s->Window(), sheet, 1)) << at.x << "," << at.y;
        form.Log(s.get()).ClearCalls();
        MoveAway();
        EXPECT_TRUE(glimtest::PumpUntil([&] { return form.Log(s.get()).CountOf(ev::MouseOut) == 1; }));
    }
}

TEST_F(OptionTest, AnOptionRefusingItsPutDoesNotBreakTheClick) {
    RefusingOption::Register();
    ASSERT_TRUE(form.Add("GlimOption", "A", 300, 300));
    ASSERT_TRUE(form.Form()->AddControl(RefusingOption::ClsidText(), "F", 300, 900, 1200, 240));
    ASSERT_TRUE(form.Add("GlimOption", "C", 300, 1500));
    ASSERT_EQ(Put(form.Form()->Site("A")->ControlDispatch().get(), "Value", glim::Variant::Bool(true)), S_OK);
    RefusingOption::putsRefused = 0;
    host::ControlSite* c = form.Form()->Site("C");
    MoveTo(c->Window(), POINT{6, 6});
    MouseButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    // A before the refusing member and C after it both got their puts.
    ASSERT_TRUE(glimtest::PumpUntil([&] { return ValueOf("C"); }));
    EXPECT_FALSE(ValueOf("A"));
    EXPECT_EQ(RefusingOption::putsRefused, 1);
    MoveAway();
    form.Form()->RemoveControl("F");
    RefusingOption::Revoke();
}

TEST_F(OptionTest, DispatchIdentifiersReachTheSameMembersAsNames) {
    glim::ComPtr<host::ControlSite> s = form.Add("GlimOption", "A", 300, 300);
    IDispatch* d = s->ControlDispatch().get();
    ASSERT_EQ(Put(d, "BackColor", glim::Variant::Long(0x112233)), S_OK);
    ASSERT_EQ(Put(d, "Value", glim::Variant::Bool(true)), S_OK);
    ASSERT_EQ(Put(d, "Style", glim::Variant::Integer(9)), S_OK);
    struct Member {
        const char* name;
        DISPID id;
    };
    // GlimOption's own identifiers, not the standard ones GlimCheck uses.
    const Member members[] = {{"BackColor", 0x68030001},   {"Font", 0x68030002},
                              {"Value", 0x68030003},       {"Style", 0x68030000},
                              {"Caption", DISPID_CAPTION}, {"Enabled", DISPID_ENABLED}};
    for (const Member& m : members) {
        SCOPED_TRACE(m.name);
        glim::Variant byId;
        ASSERT_EQ(Invoke(d, m.id, DISPATCH_PROPERTYGET, {}, byId.get()), S_OK);
        glim::Variant byName = Get(d, m.name);
        ASSERT_EQ(byId.vt(), byName.vt());
        if (byId.vt() == VT_DISPATCH) {
            glim::ComPtr<IUnknown> a, b;
            V_DISPATCH(byId.get())->QueryInterface(IID_IUnknown, a.put_void());
            V_DISPATCH(byName.get())->QueryInterface(IID_IUnknown, b.put_void());
            EXPECT_EQ(a.get(), b.get());
        } else {
            EXPECT_EQ(glim::ToText(*byId), glim::ToText(*byName));
        }
    }
}

TEST_F(OptionTest, AutoSkinControlStopsAtASkinWithoutASheet) {
    IDispatch* g = AddSkinnedControls();
    ASSERT_TRUE(g);
    ASSERT_EQ(Put(g, "MnuStyleIdx", glim::Variant::Integer(30)), S_OK);
    glimtest::MessageBoxWatcher boxes;
    EXPECT_EQ(Invoke(g, dispid::GlimForm::AutoSkinControl, DISPATCH_METHOD, {}), S_OK);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.substr(0, 3), "340");
    // The check box kept the index it refused; the walk never reached the option.
    EXPECT_EQ(glim::ToLong(*Get(form.Form()->Site("Check1")->ControlDispatch().get(), "Style")), 30);
    EXPECT_EQ(glim::ToLong(*Get(form.Form()->Site("Option1")->ControlDispatch().get(), "Style")), 0);
}
