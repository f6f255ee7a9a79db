// GlimSlider on a host form: its setters with their checks, events and
// notifications, the groove and thumb it paints, dragging with real input
// (releases outside the control and the form), the value tip, and bags.
#include "Fonts.h"
#include "GlimFormControl.h"
#include "PanelsHarness.h"
#include "Pictures.h"
#include "SkinResourceIds.h"

#include <cmath>

using namespace paneltest;

namespace {

namespace ev = dispid::GlimSlider_events;
constexpr COLORREF kBack = 0x00E0E0E0;

class SliderTest : public PanelsTest {
  protected:
    // A horizontal slider of the design thumb (8 x 20) with a client area
    // widthPx wide, at (40, 60) pixels of the form.
    host::ControlSite* AddSlider(int widthPx, glim::MemoryPropertyBag* bag = nullptr) {
        host::ControlSite* s = Add("GlimFormControl.GlimSlider", "GlimSlider1", 600, 900,
                                   static_cast<long>(widthPx * host::HostForm::TwipsPerPixelX()), 1680, bag);
        if (s) Log(s).ClearCalls();
        return s;
    }

    // A slider from 0 to 8 on a track of 64 pixels, nothing recorded yet.
    host::ControlSite* AddEightSteps() {
        host::ControlSite* s = AddSlider(72);
        if (!s || PutError(s, "Max", glim::Variant::Long(8)) != 0) return nullptr;
        Log(s).ClearCalls();
        return s;
    }

    std::vector<DISPID> Events(host::ControlSite* s) {
        std::vector<DISPID> ids;
        for (const auto& c : Log(s).Calls())
            ids.push_back(c.id);
        return ids;
    }

    static RECT ClientSize(host::ControlSite* s) {
        RECT r{};
        GetClientRect(s->Window(), &r);
        return r;
    }

    // Presses, moves or releases at a client point of the slider (which may
    // lie outside it) and waits until the slider has seen it.
    void Press(host::ControlSite* s, int x, int y, DWORD flag = MOUSEEVENTF_LEFTDOWN) {
        const size_t before = Log(s).Calls().size();
        MouseAt(OnScreen(s->Window(), x, y), {flag});
        PumpUntilQuiet(s, before);
    }
    void MoveTo(host::ControlSite* s, int x, int y, long expectValue) {
        MouseAt(OnScreen(s->Window(), x, y));
        glimtest::PumpUntil([&] { return Get(s, "Value") == expectValue; }, 3000);
    }
    // Waits for the events an input brings (or a short quiet spell).
    void PumpUntilQuiet(host::ControlSite* s, size_t before) {
        glimtest::PumpUntil([&] { return Log(s).Calls().size() > before; }, 1500);
        glimtest::PumpPending();
    }
};

// The value tip window of this thread: a visible borderless tool window
// that is not the host form.
HWND FindTip() {
    struct Find {
        static BOOL CALLBACK One(HWND hwnd, LPARAM lp) {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (IsWindowVisible(hwnd) && (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
                std::string(cls) == "GlimSurfaceWindow") {
                *reinterpret_cast<HWND*>(lp) = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find::One, reinterpret_cast<LPARAM>(&tip));
    return tip;
}

// Where the tip must be for a value over a horizontal 8 x 20 thumb.
RECT ExpectedTip(HWND slider, double thumbLeft, long value) {
    const std::string text = std::to_string(value);
    glim::DisplayDC dc;
    glim::SelectGuard keep(dc.get(), glim::FontHandle(glim::DefaultGuiFont().get()));
    SIZE ext{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &ext);
    RECT rc{};
    GetWindowRect(slider, &rc);
    const long x = std::lrint(rc.left + thumbLeft + (8.0 - ext.cx - 4) * 0.5);
    const long y = std::lrint(rc.top + 0.0 - 12 - 5);
    return RECT{x, y, x + ext.cx + 4, y + 15};
}

} // namespace

TEST_F(SliderTest, ANewSliderShowsTheDesignThumbOnARaisedSoftGroove) {
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    const struct {
        const char* name;
        long value;
    } defaults[] = {{"Min", 0},         {"Max", 10},  {"Value", 0},    {"RailStyle", 3},
                    {"Orientation", 0}, {"Style", 0}, {"Enabled", -1}, {"ShowValueTip", -1}};
    for (const auto& d : defaults)
        EXPECT_EQ(Get(s, d.name), d.value) << d.name;
    // The height follows the thumb whatever the container asked.
    EXPECT_EQ(ClientSize(s).right, 100);
    EXPECT_EQ(ClientSize(s).bottom, 20);
    EXPECT_TRUE(ShowsBitmapAt(s->Window(), DllBitmap(5101), 0, 0));
    // BDR_RAISEDINNER on (2, 8) - (98, 12): highlight above, shadow below.
    EXPECT_EQ(Pixel(s, 50, 8), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(s, 50, 11), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(s, 50, 7), kBack);
    EXPECT_EQ(Pixel(s, 98, 10), kBack);
}

TEST_F(SliderTest, GrooveEdgesFollowTheRailStyle) {
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT), hilite = GetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
    const struct {
        long style;
        COLORREF top, top2, bottom2, bottom; // rows 8, 9, 10, 11 at x = 50
    } cases[] = {
        {0, shadow, dark, light, hilite},  // EDGE_SUNKEN
        {1, light, hilite, shadow, dark},  // EDGE_RAISED
        {2, shadow, kBack, kBack, hilite}, // BDR_SUNKENOUTER
        {3, hilite, kBack, kBack, shadow}, // BDR_RAISEDINNER
        {4, kBack, kBack, kBack, kBack},   // an edge of nothing
        {7, kBack, kBack, kBack, kBack},   // no groove
        {99, kBack, kBack, kBack, kBack},  // rail picture, but none persisted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        ASSERT_EQ(PutError(s, "RailStyle", glim::Variant::Long(c.style)), 0);
        EXPECT_EQ(Pixel(s, 50, 8), c.top);
        EXPECT_EQ(Pixel(s, 50, 9), c.top2);
        EXPECT_EQ(Pixel(s, 50, 10), c.bottom2);
        EXPECT_EQ(Pixel(s, 50, 11), c.bottom);
        EXPECT_EQ(Get(s, "RailStyle"), c.style);
    }
}

TEST_F(SliderTest, SettersCheckTheirValuesRaiseEventsAndNotify) {
    host::ControlSite* s = AddSlider(88); // track 80: 8 pixels per unit
    ASSERT_TRUE(s);
    DllBitmap thumb(5101);
    struct Step {
        const char* name;
        long value;
        long error;
        long valueAfter;
        std::vector<DISPID> events;
        std::vector<DISPID> changes;
        int thumbLeft; // where the thumb shows afterwards, -1: not checked
    } steps[] = {
        {"Value", 11, 380, 0, {}, {}, 0},
        {"Value", -1, 380, 0, {}, {}, 0},
        {"Value", 9, 0, 9, {ev::Change}, {DISPID_VALUE}, 72},
        {"Value", 10, 0, 10, {ev::Change, ev::ArrivedLast}, {DISPID_VALUE}, 80},
        // The same value again: nothing raised, still notified.
        {"Value", 10, 0, 10, {}, {DISPID_VALUE}, 80},
        {"Value", 7, 0, 7, {ev::Change}, {DISPID_VALUE}, 56},
        {"Min", 3, 0, 3, {ev::Change, ev::ArrivedFirst}, {DISPID_VALUE, 0x68030004}, 0},
        {"Min", 10, 380, 3, {}, {}, 0},
        {"Max", 3, 380, 3, {}, {}, 0},
        {"Value", 8, 0, 8, {ev::Change}, {DISPID_VALUE}, 57}, // 80 x 5 / 7 = 57.1
        // A smaller Max leaves Value and the thumb alone.
        {"Max", 5, 0, 8, {}, {0x68030005}, 57},
        {"Max", 40000, 6, 8, {}, {}, 57},
        // A range that does not fit 16 bits is refused before anything is
        // stored, so the form can still be loaded.
        {"Min", -32763, 6, 8, {}, {}, 57}, // 5 - -32763 = 32768
        {"Min", -32768, 6, 8, {}, {}, 57},
        {"Enabled", 0, 0, 8, {}, {0x68030006}, 57},
        {"ShowValueTip", 0, 0, 8, {}, {0x68030001}, 57},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(std::string(st.name) + " = " + std::to_string(st.value));
        Log(s).ClearCalls();
        Log(s).ClearChanges();
        EXPECT_EQ(PutError(s, st.name, glim::Variant::Long(st.value)), st.error);
        EXPECT_EQ(GetById(s, DISPID_VALUE), st.valueAfter);
        EXPECT_EQ(Events(s), st.events);
        EXPECT_EQ(Log(s).Changes(), st.changes);
        if (st.thumbLeft >= 0) {
            EXPECT_TRUE(ShowsBitmapAt(s->Window(), thumb, st.thumbLeft, 0));
        }
    }
    EXPECT_EQ(Get(s, "Min"), 3);
    EXPECT_EQ(Get(s, "Max"), 5);
}

TEST_F(SliderTest, StyleAndOrientationLoadTheSkinsThumbs) {
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    for (int skin : {0, 7, 23}) {
        SCOPED_TRACE(skin);
        ASSERT_EQ(PutError(s, "Style", glim::Variant::Long(skin)), 0);
        DllBitmap h(glim::skinres::HorizontalThumb(skin));
        EXPECT_EQ(ClientSize(s).bottom, h.Height());
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), h, 0, 0));
        ASSERT_EQ(PutError(s, "Orientation", glim::Variant::Long(1)), 0);
        DllBitmap v(glim::skinres::VerticalThumb(skin));
        EXPECT_EQ(ClientSize(s).right, v.Width());
        // Value = Min rests at the bottom.
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), v, 0, ClientSize(s).bottom - v.Height()));
        ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(10)), 0);
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), v, 0, 0));
        ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(0)), 0);
        ASSERT_EQ(PutError(s, "Orientation", glim::Variant::Long(0)), 0);
    }
    // No thumb for skin 30: the error comes back, the value stays stored.
    Log(s).ClearChanges();
    EXPECT_EQ(PutError(s, "Style", glim::Variant::Long(30)), 326);
    EXPECT_EQ(Get(s, "Style"), 30);
    EXPECT_TRUE(Log(s).Changes().empty());
    // 5100 + 65537 is no resource number, not skin 1's thumb cut to 16 bits.
    EXPECT_EQ(PutError(s, "Style", glim::Variant::Long(65537)), 326);
    EXPECT_TRUE(ShowsBitmapAt(s->Window(), DllBitmap(glim::skinres::HorizontalThumb(23)), 0, 0));
}

TEST_F(SliderTest, DraggingSnapsToValuesWithTiesToEvenAndRaisesEachArrivalOnce) {
    host::ControlSite* s = AddSlider(72); // track 64
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Max", glim::Variant::Long(8)), 0);
    DllBitmap thumb(5101);
    Log(s).ClearCalls();

    // A press on the thumb moves nothing and raises only MouseDown.
    Press(s, 4, 10);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseDown}));
    HWND tip = FindTip();
    ASSERT_TRUE(tip);
    EXPECT_EQ(GetWindowLongA(tip, GWL_STYLE) & WS_CAPTION, 0);

    const struct {
        int x;       // pointer, client pixels (grabbed 4 pixels inside the thumb)
        long value;  //
        int snapped; // thumb left
    } moves[] = {
        {48, 6, 48},  // left 44: 5.5 -> 6
        {40, 4, 32},  // left 36: 4.5 -> 4
        {31, 3, 24},  // left 27: 3.375 -> 3
        {300, 8, 64}, // beyond the control: the end of the track
        {900, 8, 64}, // beyond the form
        {-400, 0, 0}, // beyond the other end
        {-10, 0, 0},
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.x);
        MoveTo(s, m.x, 10, m.value);
        EXPECT_EQ(Get(s, "Value"), m.value);
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), thumb, m.snapped, 0));
        // The tip follows the thumb with the value in it.
        tip = FindTip();
        ASSERT_TRUE(tip);
        RECT r{};
        GetWindowRect(tip, &r);
        const RECT want = ExpectedTip(s->Window(), m.snapped, m.value);
        EXPECT_EQ(r.left, want.left);
        EXPECT_EQ(r.top, want.top);
        EXPECT_EQ(r.right, want.right);
        EXPECT_EQ(r.bottom, want.bottom);
    }
    // Each end was reached once, whatever the pointer did beyond it.
    const std::vector<DISPID> changes{ev::MouseDown, ev::Change,      ev::Change, ev::Change,
                                      ev::Change,    ev::ArrivedLast, ev::Change, ev::ArrivedFirst};
    EXPECT_EQ(Events(s), changes);

    // The release outside the form ends the drag without a click.
    Log(s).ClearCalls();
    Press(s, -400, 300, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseUp}));
    EXPECT_FALSE(FindTip());
    // Moves after the release drag nothing.
    MouseAt(OnScreen(s->Window(), 40, 10));
    glimtest::PumpFor(100);
    EXPECT_EQ(Get(s, "Value"), 0);
}

TEST_F(SliderTest, APressBesideTheThumbJumpsAndRaisesChangeBeforeMouseDown) {
    host::ControlSite* s = AddEightSteps();
    ASSERT_TRUE(s);
    // GrabX = 4, thumb left 46: 5.75 -> 6, snapped to 48.
    Press(s, 50, 10);
    EXPECT_EQ(Get(s, "Value"), 6);
    EXPECT_TRUE(ShowsBitmapAt(s->Window(), DllBitmap(5101), 48, 0));
    EXPECT_TRUE(FindTip());
    Press(s, 50, 10, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::Change, ev::MouseDown, ev::Click, ev::MouseUp}));
    EXPECT_FALSE(FindTip());
    // The shift state goes to the host by reference.
    const auto& calls = Log(s).Calls();
    ASSERT_EQ(calls[1].in.size(), 1u);
    EXPECT_EQ(calls[1].in[0].ToLong(), 0);
}

TEST_F(SliderTest, OtherButtonsAndADisabledSliderOnlyEndOrClick) {
    host::ControlSite* s = AddSlider(72);
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Max", glim::Variant::Long(8)), 0);
    struct Case {
        const char* label;
        bool enabled;
        std::vector<DWORD> input; // at (50, 10), one event after another
        std::vector<DISPID> events;
        long value;
    } cases[] = {
        // The right button ends a drag without a click; the left release
        // inside still clicks.
        {"right release in a drag",
         true,
         {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_LEFTUP},
         {ev::Change, ev::MouseDown, ev::MouseUp, ev::Click},
         6},
        {"right click alone", true, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}, {}, 0},
        {"disabled", false, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}, {ev::Click}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(0)), 0);
        ASSERT_EQ(PutError(s, "Enabled", glim::Variant::Bool(c.enabled)), 0);
        Log(s).ClearCalls();
        for (DWORD f : c.input) {
            MouseAt(OnScreen(s->Window(), 50, 10), {f});
            glimtest::PumpFor(60);
            if (f == MOUSEEVENTF_RIGHTUP && c.enabled && c.input.size() > 2) {
                EXPECT_FALSE(FindTip());
            }
        }
        glimtest::PumpUntil([&] { return Events(s).size() >= c.events.size(); }, 1500);
        EXPECT_EQ(Events(s), c.events);
        EXPECT_EQ(Get(s, "Value"), c.value);
        EXPECT_FALSE(FindTip());
    }
}

TEST_F(SliderTest, ATrackOfNoLengthNeverRaisesOutOfTheMouse) {
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Min", glim::Variant::Long(3)), 0);
    // Width 0: the layout gives it exactly the thumb's width.
    s->Move(600, 900, 0, 300);
    glimtest::PumpPending();
    ASSERT_EQ(ClientSize(s).right, 8);
    Log(s).ClearCalls();
    Press(s, 4, 10);
    MouseAt(OnScreen(s->Window(), 60, 10));
    glimtest::PumpFor(100);
    Press(s, 60, 10, MOUSEEVENTF_LEFTUP);
    // The press ran to its end: MouseDown raised, no value set.
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseDown, ev::MouseUp}));
    EXPECT_EQ(Get(s, "Value"), 3);
}

TEST_F(SliderTest, PropertyBagsRoundTripAndOddOnesStillLoad) {
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    // The thumb picture is the only value that is not a default.
    EXPECT_EQ(Saved(s)->Keys(), (std::vector<std::string>{"SliderIcon"}));
    const struct {
        const char* name;
        long value;
    } puts[] = {{"Max", 20},    {"Min", -4},         {"Value", 7}, {"RailStyle", 0},
                {"Enabled", 0}, {"ShowValueTip", 0}, {"Style", 5}};
    for (const auto& p : puts)
        ASSERT_EQ(PutError(s, p.name, glim::Variant::Long(p.value)), 0) << p.name;
    const glim::ComPtr<glim::MemoryPropertyBag> bag = Saved(s);
    EXPECT_EQ(bag->Keys(), (std::vector<std::string>{"Enabled", "SliderIcon", "RailStyle", "ShowValueTip",
                                                     "Min", "Max", "Value", "Style"}));
    form->RemoveControl("GlimSlider1");
    s = AddSlider(100, bag.get());
    ASSERT_TRUE(s);
    for (const auto& p : puts)
        EXPECT_EQ(Get(s, p.name), p.value) << p.name;
    // The stored thumb (skin 5's) came back at 11/24 of the track.
    DllBitmap skin5(glim::skinres::HorizontalThumb(5));
    const int left = static_cast<int>(std::lrint((100 - skin5.Width()) * 11.0 / 24));
    EXPECT_TRUE(ShowsBitmapAt(s->Window(), skin5, left, 0));
    // LastValue starts at 0: setting 0 stores it without moving or raising.
    ASSERT_EQ(PutError(s, "Value", glim::Variant::Long(0)), 0);
    EXPECT_TRUE(Events(s).empty());
    EXPECT_TRUE(ShowsBitmapAt(s->Window(), skin5, left, 0));
}

TEST_F(SliderTest, BagsWithMissingOddAndOutOfRangeValues) {
    DllBitmap design(5101);
    struct Case {
        const char* label;
        std::vector<std::pair<const char*, glim::Variant>> keys;
        long error;    // of the load, 0 when it loads
        int thumbLeft; // where the design thumb shows
        long value;
    } cases[] = {
        // No thumb picture: the design thumb, not a collapsed control.
        {"empty", {}, 0, 0, 0},
        // Min = Max: no division by the empty range, the thumb at the start.
        {"min equals max",
         {{"Min", glim::Variant::Long(5)},
          {"Max", glim::Variant::Long(5)},
          {"Value", glim::Variant::Long(5)}},
         0,
         0,
         5},
        {"range beyond 16 bits",
         {{"Min", glim::Variant::Long(-32760)},
          {"Max", glim::Variant::Long(10)},
          {"Value", glim::Variant::Long(10)}},
         0,
         92,
         10},
        {"value outside the range", {{"Value", glim::Variant::Long(50)}}, 0, -1, 50},
        {"value as text", {{"Value", glim::Variant::String("4")}}, 0, 37, 4},
        {"value not a number", {{"Value", glim::Variant::String("lots")}}, 13, -1, 0},
        {"min beyond 16 bits", {{"Min", glim::Variant::Long(70000)}}, 6, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        for (const auto& [k, v] : c.keys)
            bag->Set(k, v);
        long error = 0;
        glim::ComPtr<host::ControlSite> s;
        try {
            s = form->AddControl("GlimFormControl.GlimSlider", "Odd", 600, 900, 1500, 300, bag.get());
        } catch (const glim::Error& e) {
            error = e.Number();
        }
        EXPECT_EQ(error != 0, c.error != 0) << error;
        if (!s) continue;
        glimtest::SiteRecorder& rec = Log(s.get());
        glimtest::PumpPending();
        EXPECT_EQ(ClientSize(s.get()).bottom, 20);
        EXPECT_EQ(Get(s.get(), "Value"), c.value);
        if (c.thumbLeft >= 0) {
            EXPECT_TRUE(ShowsBitmapAt(s->Window(), design, c.thumbLeft, 0));
        }
        // Dragging such a slider raises nothing out of the mouse either.
        MouseAt(OnScreen(s->Window(), 50, 10), {MOUSEEVENTF_LEFTDOWN});
        glimtest::PumpFor(50);
        MouseAt(OnScreen(s->Window(), 70, 10), {MOUSEEVENTF_LEFTUP});
        glimtest::PumpUntil([&] { return rec.CountOf(ev::MouseUp) == 1; }, 1500);
        EXPECT_EQ(rec.CountOf(ev::MouseDown), 1u);
        form->RemoveControl("Odd");
    }
}

TEST_F(SliderTest, ARailPictureSizesTheSliderAndLiesUnderTheThumb) {
    constexpr COLORREF kRail = RGB(0, 0, 255);
    struct Case {
        int railW, railH;
        int outerW, outerH; // pixels after the layout
        int thumbTop;       // painted, rounded halves to even
        int railTop;
    } cases[] = {
        {100, 10, 104, 20, 0, 5}, // the thumb is taller: its height, the rail centred
        {100, 30, 104, 30, 5, 0}, // the rail is taller: thumb top (30 - 20) x 0.5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.railH);
        glim::DisplayDC screen;
        glim::OwnedDC dc(CreateCompatibleDC(screen.get()));
        glim::OwnedBitmap bmp(CreateCompatibleBitmap(screen.get(), c.railW, c.railH));
        {
            glim::SelectGuard keep(dc.get(), bmp.get());
            const RECT all{0, 0, c.railW, c.railH};
            const glim::OwnedBrush blue(CreateSolidBrush(kRail));
            FillRect(dc.get(), &all, blue.get());
        }
        glim::ComPtr<IPictureDisp> rail = glim::PictureFromBitmap(bmp.release(), true);
        glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
        bag->Set("RailStyle", glim::Variant::Long(99));
        bag->Set("RailPicture", glim::Variant::Unknown(rail.get()));
        host::ControlSite* s = AddSlider(300, bag.get());
        ASSERT_TRUE(s);
        EXPECT_EQ(ClientSize(s).right, c.outerW);
        EXPECT_EQ(ClientSize(s).bottom, c.outerH);
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), DllBitmap(5101), 0, c.thumbTop));
        EXPECT_EQ(Pixel(s, 50, c.railTop), kRail);
        EXPECT_EQ(Pixel(s, 101, c.railTop + c.railH - 1), kRail);
        EXPECT_EQ(Pixel(s, 102, c.railTop), kBack);
        if (c.railTop > 0) {
            EXPECT_EQ(Pixel(s, 50, c.railTop - 1), kBack);
        }
        // No groove over the rail.
        EXPECT_EQ(Pixel(s, 50, 8), kRail);
        form->RemoveControl("GlimSlider1");
    }
}

TEST_F(SliderTest, AVerticalDragCountsFromTheBottom) {
    DllBitmap thumb(glim::skinres::VerticalThumb(0));
    ASSERT_GT(thumb.Height(), 0);
    host::ControlSite* s = AddSlider(100);
    ASSERT_TRUE(s);
    ASSERT_EQ(PutError(s, "Orientation", glim::Variant::Long(1)), 0);
    s->Move(600, 900, 300, (64 + thumb.Height()) * 15); // track 64
    glimtest::PumpPending();
    ASSERT_EQ(PutError(s, "Max", glim::Variant::Long(8)), 0);
    ASSERT_TRUE(ShowsBitmapAt(s->Window(), thumb, 0, 64));
    Log(s).ClearCalls();
    const int grab = thumb.Height() / 2;
    Press(s, 4, 64 + grab);
    const struct {
        int top; // where the pointer puts the thumb
        long value;
        int snapped;
    } moves[] = {
        {20, 6, 16},  // 5.5 -> 6
        {28, 4, 32},  // 4.5 -> 4
        {-300, 8, 0}, // beyond the top
        {900, 0, 64}, // beyond the bottom, outside the form
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.top);
        MoveTo(s, 4, m.top + grab, m.value);
        EXPECT_EQ(Get(s, "Value"), m.value);
        EXPECT_TRUE(ShowsBitmapAt(s->Window(), thumb, 0, m.snapped));
    }
    Press(s, 4, 900, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseDown, ev::Change, ev::Change, ev::Change,
                                              ev::ArrivedLast, ev::Change, ev::ArrivedFirst, ev::MouseUp}));
    EXPECT_FALSE(FindTip());
}

TEST_F(SliderTest, AQuickSecondPressGrabsTheThumbAgain) {
    host::ControlSite* s = AddEightSteps();
    ASSERT_TRUE(s);
    // A click beside the thumb and a press at once on the same spot, where
    // the thumb now lies: the system reports a double click.
    MouseAt(OnScreen(s->Window(), 50, 10), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN});
    glimtest::PumpUntil([&] { return Events(s).size() >= 5; }, 3000);
    // Grabbed 2 pixels inside: left 18 gives 2.25, so 2.
    MoveTo(s, 20, 10, 2);
    EXPECT_EQ(Get(s, "Value"), 2) << "the thumb follows the second press";
    // Released below the slider: the drag ends, no Click.
    Press(s, 20, 300, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::Change, ev::MouseDown, ev::Click, ev::MouseUp,
                                              ev::MouseDown, ev::Change, ev::MouseUp}));
    EXPECT_FALSE(FindTip());
}

TEST_F(SliderTest, LosingTheMouseEndsTheDrag) {
    host::ControlSite* s = AddEightSteps();
    ASSERT_TRUE(s);
    Press(s, 4, 10);
    MoveTo(s, 48, 10, 6);
    ASSERT_TRUE(FindTip());
    // Another window takes the mouse while the button is still down (a
    // menu or a dialog opened meanwhile): the release will go there.
    const HWND other = GetAncestor(s->Window(), GA_ROOT);
    SetCapture(other);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseDown, ev::Change, ev::MouseUp}));
    EXPECT_FALSE(FindTip());
    ReleaseCapture();
    MouseAt(OnScreen(s->Window(), 900, 300), {MOUSEEVENTF_LEFTUP});
    // The pointer over the slider with no button held drags nothing.
    MouseAt(OnScreen(s->Window(), 20, 10));
    glimtest::PumpFor(150);
    EXPECT_EQ(Get(s, "Value"), 6);
    EXPECT_EQ(Events(s), (std::vector<DISPID>{ev::MouseDown, ev::Change, ev::MouseUp}));
}
