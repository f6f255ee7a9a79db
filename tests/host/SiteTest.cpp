#include "HostTestPrelude.h"

#include "Extender.h"
#include "PropertyBagText.h"
#include "TypeNameInfo.h"
#include "SiteRecorder.h"
#include "pump.h"

#include <algorithm>
#include <cmath>
#include <olectl.h>

using glim::DispIdOf;
using glim::Widen;

namespace {

class SiteTest : public testing::Test {
  protected:
    void SetUp() override {
        RegisterProbe();
        form = HostForm::Create("Sites", 9000, 6000);
        formDisp = ComPtr<IDispatch>(static_cast<IDispatch*>(form.get()));
    }
    void TearDown() override {
        if (form) form->Unload();
    }
    IDispatch* Ext(ControlSite* site) { return static_cast<IDispatch*>(site->GetExtender()); }
    static RECT RectInParent(HWND hwnd) {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static bool SameObject(IUnknown* a, IUnknown* b) {
        ComPtr<IUnknown> ua, ub;
        a->QueryInterface(IID_IUnknown, ua.put_void());
        b->QueryInterface(IID_IUnknown, ub.put_void());
        return ua.get() == ub.get();
    }
    static long Px(long twips) { return std::lrint(twips / HostForm::TwipsPerPixelX()); }
    static long Py(long twips) { return std::lrint(twips / HostForm::TwipsPerPixelY()); }
    ComPtr<HostForm> form;
    ComPtr<IDispatch> formDisp;
};

TEST_F(SiteTest, ActivatesTheControlInPlaceAtItsPixelRectangle) {
    Log().calls.clear();
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 300, 450, 1500, 600);
    HWND hwnd = site->Window();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(form->hWnd(), GetParent(hwnd));
    const RECT rc = RectInParent(hwnd);
    EXPECT_EQ(Px(300), rc.left);
    EXPECT_EQ(Py(450), rc.top);
    EXPECT_EQ(Px(1500), rc.right - rc.left);
    EXPECT_EQ(Py(600), rc.bottom - rc.top);
    // The site comes before the properties, the properties before activation.
    const std::vector<std::string> want{"SetClientSite", "InitNew", "InPlaceActivate"};
    EXPECT_EQ(want, Log().calls);
    EXPECT_EQ(MulDiv(1500, 2540, 1440), Prop(site->ControlDispatch().get(), "ExtentCx").ToLong());
}

TEST_F(SiteTest, CreatesByProgIdAndRefusesUnknownClasses) {
    ComPtr<ControlSite> site = form->AddControl(kProbeProgId, "ByName", 0, 0, 600, 600);
    EXPECT_EQ("ProbeControl", site->TypeName());
    EXPECT_EQ(429,
              glimtest::ErrorNumberOf([&] { form->AddControl("No.Such.Class", "Nothing", 0, 0, 600, 600); }))
        << "an unknown class was sited";
    EXPECT_EQ(nullptr, form->Site("Nothing"));
    EXPECT_EQ(1, Prop(Prop(formDisp.get(), "Controls").get()->pdispVal, "Count").ToLong());
    EXPECT_EQ(360, glimtest::ErrorNumberOf([&] { form->AddControl(kProbeClsid, "byname", 0, 0, 600, 600); }))
        << "a second control took the same name";
}

TEST_F(SiteTest, ControlReadsTheAmbientProperties) {
    form->SetBackColor(0x00DCE8FA);
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
    IDispatch* ctl = site->ControlDispatch().get();
    EXPECT_TRUE(Prop(ctl, "InitUserMode").ToBool());
    EXPECT_EQ("Probe1", Prop(ctl, "InitDisplayName").ToText());
    EXPECT_EQ("Probe1", Prop(ctl, "Caption").ToText());
    EXPECT_EQ(0x00DCE8FA, Prop(ctl, "InitBackColor").ToLong());
    // "宋体" in code page 936.
    Variant font = Prop(ctl, "InitFontName");
    ASSERT_EQ(VT_BSTR, font.vt());
    EXPECT_EQ(Widen("\xCB\xCE\xCC\xE5", 936), std::wstring(font.get()->bstrVal));
    EXPECT_DOUBLE_EQ(9.0, Prop(ctl, "InitFontSize").ToDouble());
    EXPECT_FALSE(CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_MESSAGEREFLECT)}).ToBool());
    EXPECT_FALSE(CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_SHOWHATCHING)}).ToBool());
    EXPECT_FALSE(CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_DISPLAYASDEFAULT)}).ToBool());
    EXPECT_EQ(static_cast<long>(GetUserDefaultLCID()),
              CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_LOCALEID)}).ToLong());

    // The ambient font is a copy: changing it leaves the form's font alone.
    Variant ambient = CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_FONT)});
    ASSERT_EQ(VT_DISPATCH, ambient.vt());
    PutProperty(ambient.get()->pdispVal, DISPID_FONT_BOLD, Variant::Bool(true));
    EXPECT_FALSE(GetProperty(form->Font().get(), DISPID_FONT_BOLD).ToBool());
}

TEST_F(SiteTest, FormTellsControlsWhenAnAmbientChanges) {
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
    IDispatch* ctl = site->ControlDispatch().get();
    EXPECT_EQ(0, Prop(ctl, "AmbientChanges").ToLong());
    PutProperty(formDisp.get(), "BackColor", Variant::Long(0x00FF00));
    EXPECT_EQ(1, Prop(ctl, "AmbientChanges").ToLong());
    EXPECT_EQ(DISPID_AMBIENT_BACKCOLOR, Prop(ctl, "LastAmbientChange").ToLong());
    EXPECT_EQ(0x00FF00, Prop(ctl, "SeenBackColor").ToLong());

    PutProperty(Ext(site.get()), "Default", Variant::Bool(true));
    EXPECT_EQ(DISPID_AMBIENT_DISPLAYASDEFAULT, Prop(ctl, "LastAmbientChange").ToLong());
    EXPECT_TRUE(CallMethod(ctl, "Ambient", {Variant::Long(DISPID_AMBIENT_DISPLAYASDEFAULT)}).ToBool());
}

TEST_F(SiteTest, ExtenderMovesAndDescribesTheControl) {
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 300, 300, 1500, 600);
    IDispatch* ext = Ext(site.get());
    IDispatch* ctl = site->ControlDispatch().get();
    EXPECT_EQ(300, Prop(ext, "Left").ToLong());
    PutProperty(ext, "Left", Variant::Long(900));
    PutProperty(ext, "Top", Variant::Long(1200));
    PutProperty(ext, "Width", Variant::Long(3000));
    PutProperty(ext, "Height", Variant::Long(750));
    const RECT rc = RectInParent(site->Window());
    EXPECT_EQ(Px(900), rc.left);
    EXPECT_EQ(Py(1200), rc.top);
    EXPECT_EQ(Px(3000), rc.right - rc.left);
    EXPECT_EQ(Py(750), rc.bottom - rc.top);
    EXPECT_EQ(MulDiv(3000, 2540, 1440), Prop(ctl, "ExtentCx").ToLong());
    EXPECT_EQ(MulDiv(750, 2540, 1440), Prop(ctl, "ExtentCy").ToLong());
    EXPECT_EQ(3000, Prop(ext, "Width").ToLong());

    EXPECT_EQ("Probe1", Prop(ext, "Name").ToText());
    EXPECT_EQ("Probe1", Prop(ctl, "ExtenderName").ToText());
    Variant parent = Prop(ext, "Parent");
    ASSERT_EQ(VT_DISPATCH, parent.vt());
    EXPECT_TRUE(SameObject(parent.get()->pdispVal, formDisp.get()));
    EXPECT_EQ(form->hWnd(), Prop(parent.get()->pdispVal, "hWnd").ToHandle());
    Variant object = Prop(ext, "Object");
    ASSERT_EQ(VT_DISPATCH, object.vt());
    EXPECT_TRUE(SameObject(object.get()->pdispVal, ctl));

    PutProperty(ext, "Tag", Variant::String("lyric"));
    EXPECT_EQ("lyric", Prop(ext, "Tag").ToText());
    PutProperty(ext, "Visible", Variant::Bool(false));
    EXPECT_FALSE(IsWindowVisible(site->Window()));
    EXPECT_FALSE(Prop(ext, "Visible").ToBool());
    PutProperty(ext, "Enabled", Variant::Bool(false));
    EXPECT_FALSE(Prop(ctl, "Enabled").ToBool());
    EXPECT_FALSE(IsWindowEnabled(site->Window()));
    EXPECT_EQ(380, glimtest::ErrorNumberOf([&] { PutProperty(ext, "Width", Variant::Long(-1)); }))
        << "a negative width was taken";
}

TEST_F(SiteTest, AControlThatKeepsItsHeightWins) {
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Option1", 300, 300, 1500, 600);
    IDispatch* ext = Ext(site.get());
    IDispatch* ctl = site->ControlDispatch().get();
    PutProperty(ctl, "FixedHeight", Variant::Long(240));
    // The control answers the new size by setting its own height while being resized.
    PutProperty(ext, "Height", Variant::Long(900));
    EXPECT_EQ(240, Prop(ext, "Height").ToLong());
    EXPECT_EQ(MulDiv(240, 2540, 1440), Prop(ctl, "ExtentCy").ToLong());
    const RECT rc = RectInParent(site->Window());
    EXPECT_EQ(Py(240), rc.bottom - rc.top);
    EXPECT_EQ(Px(1500), rc.right - rc.left);
}

TEST_F(SiteTest, ControlRequestsAndCoordinateTransforms) {
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 300, 300, 1500, 600);
    IDispatch* ctl = site->ControlDispatch().get();
    CallMethod(ctl, "RequestRect",
               {Variant::Long(10), Variant::Long(20), Variant::Long(110), Variant::Long(60)});
    const RECT rc = RectInParent(site->Window());
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(100, rc.right - rc.left);
    EXPECT_EQ(40, rc.bottom - rc.top);
    EXPECT_EQ(std::lrint(100 * HostForm::TwipsPerPixelX()), Prop(Ext(site.get()), "Width").ToLong());
    // Container units are twips: one inch is 2540 HIMETRIC and 1440 twips.
    EXPECT_DOUBLE_EQ(1440.0, CallMethod(ctl, "HimetricToContainer", {Variant::Long(2540)}).ToDouble());
    EXPECT_EQ(2540, CallMethod(ctl, "ContainerToHimetric", {Variant::Long(1440)}).ToLong());
    EXPECT_EQ(423, CallMethod(ctl, "ContainerToHimetric", {Variant::Long(240)}).ToLong());
}

TEST_F(SiteTest, ExtenderPassesUnknownNamesAndInterfacesToTheControl) {
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
    IDispatch* ext = Ext(site.get());
    PutProperty(ext, "Style", Variant::Long(3));
    EXPECT_EQ(3, Prop(site->ControlDispatch().get(), "Style").ToLong());
    EXPECT_EQ(3, Prop(ext, "style").ToLong());
    EXPECT_EQ(kProbeStyle, DispIdOf(ext, "Style"));
    EXPECT_EQ(438, glimtest::ErrorNumberOf([&] { Prop(ext, "NoSuchMember"); }))
        << "an unknown name was found";
    ComPtr<IOleControl> control;
    EXPECT_EQ(S_OK, ext->QueryInterface(IID_IOleControl, control.put_void()));
    EXPECT_EQ("ProbeControl", TypeNameOf(ext));
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, ext->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()));
    EXPECT_EQ("ProbeControl", NameOfTypeInfo(info.get()));

    // After removal the extender refuses every member instead of touching a dead control.
    ComPtr<IDispatch> keep(ext);
    form->RemoveControl("Probe1");
    EXPECT_EQ(91, glimtest::ErrorNumberOf([&] { Prop(keep.get(), "Left"); }))
        << "a removed control's extender answered";
}

TEST_F(SiteTest, LoadsFromAndSavesToOrderedPropertyBags) {
    ComPtr<glim::MemoryPropertyBag> bag = BagFromText("style=7\r\nCaption=Hello\r\n");
    Log().calls.clear();
    ComPtr<ControlSite> site = form->AddControl(kProbeClsid, "Probe1", 120, 240, 1200, 480, bag.get());
    EXPECT_EQ((std::vector<std::string>{"SetClientSite", "Load", "InPlaceActivate"}), Log().calls);
    IDispatch* ctl = site->ControlDispatch().get();
    EXPECT_EQ(7, Prop(ctl, "Style").ToLong());
    EXPECT_EQ("Hello", Prop(ctl, "Caption").ToText());

    form->AddControl("TextBox", "Text1", 0, 900, 1500, 300);
    CallMethod(Ext(form->Site("Text1")), "Text", {}); // a property read through the method form works too
    PutProperty(Ext(form->Site("Text1")), "Text", Variant::String("lyric"));
    const std::vector<ControlData> data = form->Save();
    ASSERT_EQ(2u, data.size());
    EXPECT_EQ("Probe1", data[0].name);
    EXPECT_EQ(kProbeClsid, data[0].classId);
    EXPECT_EQ(120, data[0].left);
    EXPECT_EQ(240, data[0].top);
    EXPECT_EQ(1200, data[0].width);
    EXPECT_EQ(480, data[0].height);
    EXPECT_EQ("Caption=Hello\r\nStyle=7\r\n", BagToText(*data[0].bag.get()));
    EXPECT_EQ("TextBox", data[1].classId);
    EXPECT_EQ("lyric", data[1].bag->Get("Text").ToText());

    // The saved data brings the same control back on another form.
    ComPtr<HostForm> other = HostForm::Create("Copy", 6000, 4000);
    ComPtr<ControlSite> copy = other->AddControl(data[0].classId, data[0].name, data[0].left, data[0].top,
                                                 data[0].width, data[0].height, data[0].bag.get());
    EXPECT_EQ(7, Prop(copy->ControlDispatch().get(), "Style").ToLong());
    other->Unload();
}

// The built-in controls keep their keys in their own order and leave out
// what holds its default; what they load comes back as it was stored.
TEST_F(SiteTest, BuiltinControlsSaveTheirKeysInOrderWithoutDefaults) {
    const struct {
        const char *type, *stored, *saved;
    } cases[] = {
        {"Label", "BackStyle=5\r\nCaption=&Hi\r\n",
         "Caption=&Hi\r\nBackColor=-2147483633\r\nForeColor=-2147483630\r\n"},
        {"Label", "BackStyle=0\r\nForeColor=255\r\n",
         "Caption=\r\nBackColor=-2147483633\r\nForeColor=255\r\nBackStyle=0\r\n"},
        {"PictureBox", "BorderStyle=3\r\n", "BackColor=-2147483633\r\nBorderStyle=1\r\n"},
        {"Timer", "Enabled=0\r\nInterval=50\r\n", "Interval=50\r\nEnabled=0\r\n"},
        {"MCI.MMControl", "", ""},
        {"MCI.MMControl", "FileName=a b.wav\r\n", "FileName=a b.wav\r\n"},
        {"MSComDlg.CommonDialog", "Flags=0\r\nFilter=*.lrc|*.lrc\r\n", "Filter=*.lrc|*.lrc\r\n"},
        {"TextBox", "ScrollBars=3\r\nMultiLine=-1\r\nText=a\r\n",
         "Text=a\r\nMultiLine=-1\r\nScrollBars=3\r\n"},
        {"TextBox", "MultiLine=0\r\n", "Text=\r\n"},
    };
    for (const auto& c : cases) {
        form->AddControl(c.type, "Builtin1", 0, 0, 1500, 300, BagFromText(c.stored).get());
        const std::vector<ControlData> data = form->Save();
        ASSERT_EQ(1u, data.size());
        EXPECT_EQ(c.saved, BagToText(*data[0].bag.get())) << c.type << " from " << c.stored;
        form->RemoveControl("Builtin1");
    }
}

TEST_F(SiteTest, PassesPropertyChangedNotificationsToItsObserver) {
    // Watched before the control comes, so creation would show too.
    ComPtr<ControlSite> site = ControlSite::Create(form.get(), "Probe1", nullptr);
    glimtest::SiteRecorder rec(site.get());
    site->Attach(kProbeClsid, nullptr, 0, 0, 600, 600);
    EXPECT_TRUE(rec.Changes().empty());
    PutProperty(Ext(site.get()), "Style", Variant::Long(19));
    PutProperty(site->ControlDispatch().get(), "Caption", Variant::String("x"));
    EXPECT_EQ((std::vector<DISPID>{kProbeStyle, kProbeCaption}), rec.Changes());
}

TEST_F(SiteTest, EventHandlersWriteByReferenceArgumentsBackToTheControl) {
    ComPtr<ControlSite> site = ControlSite::Create(form.get(), "Probe1", nullptr);
    glimtest::SiteRecorder rec(site.get());
    site->Attach(kProbeClsid, nullptr, 0, 0, 600, 600);
    ASSERT_NE(nullptr, site->Events());
    EXPECT_TRUE(IsEqualIID(DIID_ProbeEvents, site->Events()->SourceIid()));
    site->Events()->On(kProbeKeyPress, [](EventArgs& args) {
        if (args.Get(0).ToLong() == 'a') {
            EXPECT_TRUE(args.Set(0, Variant::Long('B')));
        }
    });
    PostMessageA(site->Window(), WM_CHAR, 'a', 1);
    IDispatch* ctl = site->ControlDispatch().get();
    ASSERT_TRUE(PumpHostUntil([&] { return Prop(ctl, "LastKey").ToLong() != 0; }));
    EXPECT_EQ('B', Prop(ctl, "LastKey").ToLong());
    EXPECT_EQ('x', CallMethod(ctl, "FireKeyPress", {Variant::Long('x')}).ToLong());

    const auto& calls = rec.Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(kProbeKeyPress, calls[0].id);
    EXPECT_EQ('a', calls[0].in[0].ToLong());
    EXPECT_EQ('B', calls[0].out[0].ToLong());
    EXPECT_EQ('x', calls[1].out[0].ToLong());

    // A click on the control's window reaches a Click handler by identifier.
    int clicks = 0;
    site->Events()->On(kProbeClick, [&](EventArgs&) { ++clicks; });
    PostMessageA(site->Window(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(PumpHostUntil([&] { return clicks == 1; }));
}

TEST_F(SiteTest, ControlsListsExtendersInCreationOrderWithTypeNames) {
    form->AddControl("TextBox", "Text1", 0, 0, 1500, 300);
    form->AddControl(kProbeClsid, "GlimButton1", 0, 400, 1500, 300);
    form->AddControl("Label", "Label1", 0, 800, 1500, 300);
    Variant controls = Prop(formDisp.get(), "Controls");
    ASSERT_EQ(VT_DISPATCH, controls.vt());
    IDispatch* list = controls.get()->pdispVal;
    EXPECT_EQ(3, Prop(list, "Count").ToLong());
    const std::vector<std::string> names{"Text1", "GlimButton1", "Label1"};
    const std::vector<std::string> types{"TextBox", "ProbeControl", "Label"};
    for (long i = 0; i < 3; ++i) {
        Variant item = GetProperty(list, "Item", {Variant::Long(i)});
        ASSERT_EQ(VT_DISPATCH, item.vt());
        EXPECT_EQ(names[static_cast<size_t>(i)], Prop(item.get()->pdispVal, "Name").ToText());
        EXPECT_EQ(types[static_cast<size_t>(i)], TypeNameOf(item.get()->pdispVal));
        ComPtr<ITypeInfo> info;
        item.get()->pdispVal->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put());
        EXPECT_EQ(types[static_cast<size_t>(i)], NameOfTypeInfo(info.get()));
    }
    // Default member by index, and by name.
    Variant byDefault = GetProperty(list, DISPID_VALUE, {Variant::Long(1)});
    EXPECT_EQ("GlimButton1", Prop(byDefault.get()->pdispVal, "Name").ToText());
    Variant byName = GetProperty(list, "Item", {Variant::String("label1")});
    EXPECT_EQ("Label1", Prop(byName.get()->pdispVal, "Name").ToText());
    EXPECT_EQ(9, glimtest::ErrorNumberOf([&] { GetProperty(list, "Item", {Variant::Long(3)}); }))
        << "an index past the end was accepted";

    // Walking with _NewEnum, and setting Style by name on the control items only.
    Variant unk = GetProperty(list, DISPID_NEWENUM);
    ASSERT_EQ(VT_UNKNOWN, unk.vt());
    ComPtr<IEnumVARIANT> items;
    ASSERT_EQ(S_OK, unk.get()->punkVal->QueryInterface(IID_IEnumVARIANT, items.put_void()));
    std::vector<std::string> seen;
    VARIANT v;
    ULONG got = 0;
    while (items->Next(1, &v, &got) == S_OK && got == 1) {
        Variant item(v);
        VariantClear(&v);
        seen.push_back(Prop(item.get()->pdispVal, "Name").ToText());
        if (TypeNameOf(item.get()->pdispVal) == "ProbeControl")
            PutProperty(item.get()->pdispVal, "Style", Variant::Long(19));
    }
    EXPECT_EQ(names, seen);
    EXPECT_EQ(19, Prop(form->Site("GlimButton1")->ControlDispatch().get(), "Style").ToLong());
}

TEST_F(SiteTest, BuiltinTextBoxAndLabel) {
    form->Show();
    ComPtr<ControlSite> text = form->AddControl("TextBox", "Text1", 150, 150, 3000, 375);
    ComPtr<ControlSite> label = form->AddControl("Label", "Label1", 150, 750, 1500, 375);
    IDispatch* box = Ext(text.get());
    PutProperty(box, "Text", Variant::String("hello world"));
    char buffer[32] = {};
    GetWindowTextA(text->Window(), buffer, sizeof buffer);
    EXPECT_STREQ("hello world", buffer);
    PutProperty(box, "SelStart", Variant::Long(6));
    PutProperty(box, "SelLength", Variant::Long(5));
    EXPECT_EQ(6, Prop(box, "SelStart").ToLong());
    EXPECT_EQ(5, Prop(box, "SelLength").ToLong());
    CallMethod(box, "SetFocus");
    EXPECT_EQ(text->Window(), GetFocus());
    PutProperty(box, "Enabled", Variant::Bool(false));
    EXPECT_FALSE(IsWindowEnabled(text->Window()));

    IDispatch* lab = Ext(label.get());
    PutProperty(lab, "Caption", Variant::String("Label"));
    EXPECT_EQ("Label", Prop(lab, "Caption").ToText());
    PutProperty(lab, "BackColor", Variant::Long(0x0000FF));
    EXPECT_TRUE(
        glimtest::PumpUntil([&] { return glimtest::ClientPixel(label->Window(), 1, 1) == RGB(255, 0, 0); }));
    const RECT rc = RectInParent(label->Window());
    EXPECT_EQ(Px(150), rc.left);
    EXPECT_EQ(Py(750), rc.top);
}

TEST_F(SiteTest, ControlsInsideAContainerControl) {
    ComPtr<ControlSite> panel = form->AddControl(kProbeClsid, "Panel", 600, 600, 4500, 3000);
    ComPtr<ControlSite> inner = form->AddControl("TextBox", "Text1", 300, 150, 1500, 375, nullptr, "Panel");
    ComPtr<ControlSite> probe = form->AddControl(kProbeClsid, "Inner", 300, 900, 1500, 375, nullptr, "Panel");
    EXPECT_EQ(panel->Window(), GetParent(inner->Window()));
    EXPECT_EQ(panel->Window(), GetParent(probe->Window()));
    const RECT rc = RectInParent(probe->Window());
    EXPECT_EQ(Px(300), rc.left);
    EXPECT_EQ(Py(900), rc.top);
    Variant holder = Prop(Ext(inner.get()), "Container");
    EXPECT_EQ("Panel", Prop(holder.get()->pdispVal, "Name").ToText());
    Variant top = Prop(Ext(panel.get()), "Container");
    EXPECT_TRUE(SameObject(top.get()->pdispVal, formDisp.get()));

    const int alive = Log().alive;
    form->RemoveControl("Panel");
    EXPECT_EQ(nullptr, form->Site("Text1"));
    EXPECT_EQ(nullptr, form->Site("Inner"));
    EXPECT_TRUE(form->Sites().empty());
    probe.reset();
    panel.reset();
    EXPECT_EQ(alive - 2, Log().alive);
}

} // namespace
