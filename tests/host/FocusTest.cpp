#include "HostTestPrelude.h"

#include "Extender.h"

namespace {

class FocusTest : public testing::Test {
  protected:
    void SetUp() override {
        RegisterProbe();
        form = HostForm::Create("Focus", 9000, 6000);
        text1 = form->AddControl("TextBox", "Text1", 120, 120, 1500, 375);
        p1 = form->AddControl(kProbeClsid, "P1", 120, 600, 1500, 375);
        p2 = form->AddControl(kProbeClsid, "P2", 120, 1080, 1500, 375);
        label = form->AddControl("Label", "Label1", 120, 1560, 1500, 375);
        p3 = form->AddControl(kProbeClsid, "P3", 120, 2040, 1500, 375);
        text2 = form->AddControl("TextBox", "Text2", 120, 2520, 1500, 375);
        form->Show();
        SetForegroundWindow(form->hWnd());
    }
    void TearDown() override {
        SetKeyDown(VK_SHIFT, false);
        form->Unload();
    }
    static IDispatch* Ext(ControlSite* site) { return static_cast<IDispatch*>(site->GetExtender()); }
    bool FocusIs(ControlSite* site) {
        return PumpHostUntil([&] { return form->FocusedSite() == site; });
    }
    ComPtr<HostForm> form;
    ComPtr<ControlSite> text1, p1, p2, label, p3, text2;
};

TEST_F(FocusTest, TabIndexesStayUniqueAndFollowMoves) {
    EXPECT_EQ(0, Prop(Ext(text1.get()), "TabIndex").ToLong());
    EXPECT_EQ(5, Prop(Ext(text2.get()), "TabIndex").ToLong());
    PutProperty(Ext(text2.get()), "TabIndex", Variant::Long(1));
    const std::vector<ControlSite*> want{text1.get(), text2.get(), p1.get(), p2.get(), label.get(), p3.get()};
    EXPECT_EQ(want, form->TabOrder());
    EXPECT_EQ(2, Prop(Ext(p1.get()), "TabIndex").ToLong());
    // Past the end puts it last.
    PutProperty(Ext(text1.get()), "TabIndex", Variant::Long(99));
    EXPECT_EQ(5, Prop(Ext(text1.get()), "TabIndex").ToLong());
    EXPECT_EQ(0, Prop(Ext(text2.get()), "TabIndex").ToLong());
}

TEST_F(FocusTest, TabAndShiftTabMoveTheFocusInTabOrder) {
    PutProperty(Ext(p2.get()), "TabIndex", Variant::Long(1)); // Text1, P2, P1, Label1, P3, Text2
    PutProperty(Ext(p3.get()), "TabStop", Variant::Bool(false));
    text1->Focus();
    ASSERT_TRUE(FocusIs(text1.get()));

    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(p2.get()));
    // The probe hands Tab back to its site; the focus must still move one step only.
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(p1.get()));
    // The label cannot take the focus and P3 has no tab stop.
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(text2.get()));
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(text1.get()));

    SetKeyDown(VK_SHIFT, true);
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(text2.get()));
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(p1.get()));
    SetKeyDown(VK_SHIFT, false);

    // Hidden and disabled controls are passed over too.
    PutProperty(Ext(text2.get()), "Visible", Variant::Bool(false));
    PutProperty(Ext(text1.get()), "Enabled", Variant::Bool(false));
    PostKey(VK_TAB);
    ASSERT_TRUE(FocusIs(p2.get()));
}

TEST_F(FocusTest, TheActiveControlSeesKeysFirst) {
    p1->Focus();
    ASSERT_TRUE(FocusIs(p1.get()));
    PostKey(VK_F2);
    IDispatch* ctl = p1->ControlDispatch().get();
    EXPECT_TRUE(PumpHostUntil([&] { return Prop(ctl, "F2Count").ToLong() == 1; }));
    // The key stopped there: nothing reached the window as a keystroke.
    EXPECT_EQ(0, Prop(ctl, "LastKey").ToLong());
    EXPECT_EQ(0, Prop(p2->ControlDispatch().get(), "F2Count").ToLong());
}

TEST_F(FocusTest, AccessKeysReachTheFirstEnabledControlThatOwnsThem) {
    text1->Focus();
    ASSERT_TRUE(FocusIs(text1.get()));
    int clicks = 0;
    p1->Events()->On(kProbeClick, [&](EventArgs&) { ++clicks; });
    PostKey('K', nullptr, true);
    ASSERT_TRUE(PumpHostUntil([&] { return clicks == 1; }));
    EXPECT_EQ(1, Prop(p1->ControlDispatch().get(), "Mnemonics").ToLong());
    EXPECT_EQ(0, Prop(p2->ControlDispatch().get(), "Mnemonics").ToLong());

    PutProperty(Ext(p1.get()), "Enabled", Variant::Bool(false));
    PostKey('K', nullptr, true);
    EXPECT_TRUE(PumpHostUntil([&] { return Prop(p2->ControlDispatch().get(), "Mnemonics").ToLong() == 1; }));
    EXPECT_EQ(1, clicks);
    // Without Alt the letter is typed, not taken as an access key.
    text1->Focus();
    PostKey('K');
    PumpHostUntil([] { return false; }, 100);
    EXPECT_EQ(1, Prop(p2->ControlDispatch().get(), "Mnemonics").ToLong());
}

TEST_F(FocusTest, ALabelsAccessKeyFocusesTheControlAfterIt) {
    PutProperty(Ext(label.get()), "Caption", Variant::String("&Name"));
    PutProperty(Ext(p3.get()), "TabStop", Variant::Bool(false));
    text1->Focus();
    ASSERT_TRUE(FocusIs(text1.get()));
    PostKey('N', nullptr, true);
    EXPECT_TRUE(FocusIs(text2.get()));
}

TEST_F(FocusTest, TheFormPassesItsFocusToTheActiveControl) {
    p2->Focus();
    ASSERT_TRUE(FocusIs(p2.get()));
    SetFocus(form->hWnd());
    EXPECT_TRUE(FocusIs(p2.get()));
}

} // namespace
