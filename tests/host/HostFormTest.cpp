#include "HostTestPrelude.h"

#include "TypeNameInfo.h"
#include "pump.h"

#include <cmath>
#include <olectl.h>

namespace {

class HostFormTest : public testing::Test {
  protected:
    void SetUp() override {
        RegisterProbe();
        form = HostForm::Create("Form", 6000, 4500);
        ASSERT_TRUE(form);
        disp = ComPtr<IDispatch>(static_cast<IDispatch*>(form.get()));
    }
    void TearDown() override {
        if (form) form->Unload();
    }
    ComPtr<HostForm> form;
    ComPtr<IDispatch> disp;
};

TEST_F(HostFormTest, ReportsTheTypeNameForm) {
    EXPECT_EQ("Form", TypeNameOf(disp.get()));
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()));
    EXPECT_EQ("Form", NameOfTypeInfo(info.get()));
}

TEST_F(HostFormTest, SizesAreTwipsOfTheScreen) {
    const double tx = HostForm::TwipsPerPixelX(), ty = HostForm::TwipsPerPixelY();
    RECT rc;
    GetWindowRect(form->hWnd(), &rc);
    EXPECT_EQ(std::lrint(6000 / tx), rc.right - rc.left);
    EXPECT_EQ(std::lrint(4500 / ty), rc.bottom - rc.top);
    EXPECT_EQ(std::lrint((rc.right - rc.left) * tx), Prop(disp.get(), "Width").ToLong());

    PutProperty(disp.get(), "Width", Variant::Long(7500));
    PutProperty(disp.get(), "Left", Variant::Long(1500));
    GetWindowRect(form->hWnd(), &rc);
    EXPECT_EQ(std::lrint(7500 / tx), rc.right - rc.left);
    EXPECT_EQ(std::lrint(1500 / tx), rc.left);
    EXPECT_EQ(std::lrint(4500 / ty), rc.bottom - rc.top);

    RECT client;
    GetClientRect(form->hWnd(), &client);
    EXPECT_EQ(std::lrint(client.right * tx), Prop(disp.get(), "ScaleWidth").ToLong());
    EXPECT_EQ(std::lrint(client.bottom * ty), Prop(disp.get(), "ScaleHeight").ToLong());
    EXPECT_LT(Prop(disp.get(), "ScaleHeight").ToLong(), Prop(disp.get(), "Height").ToLong());
    EXPECT_EQ(form->hWnd(), Prop(disp.get(), "hWnd").ToHandle());

    form->SetClientSize(3000, 1500);
    GetClientRect(form->hWnd(), &client);
    EXPECT_EQ(std::lrint(3000 / tx), client.right);
    EXPECT_EQ(std::lrint(1500 / ty), client.bottom);
}

TEST_F(HostFormTest, BackColorRepaintsTheClientArea) {
    form->Show();
    PutProperty(disp.get(), "BackColor", Variant::Long(0x0000FF)); // red, low byte first
    EXPECT_TRUE(
        glimtest::PumpUntil([&] { return glimtest::ClientPixel(form->hWnd(), 5, 5) == RGB(255, 0, 0); }));
    PutProperty(disp.get(), "BackColor", Variant::Long(0xFF0000));
    EXPECT_TRUE(
        glimtest::PumpUntil([&] { return glimtest::ClientPixel(form->hWnd(), 5, 5) == RGB(0, 0, 255); }));
    EXPECT_EQ(0xFF0000, Prop(disp.get(), "BackColor").ToLong());
}

TEST_F(HostFormTest, CaptionIconAndVisibility) {
    PutProperty(disp.get(), "Caption", Variant::String("Versolo"));
    char text[32] = {};
    GetWindowTextA(form->hWnd(), text, sizeof text);
    EXPECT_STREQ("Versolo", text);
    EXPECT_EQ("Versolo", Prop(disp.get(), "Caption").ToText());

    Variant icon = Prop(disp.get(), "Icon");
    ASSERT_EQ(VT_DISPATCH, icon.vt());
    ComPtr<IPicture> picture;
    ASSERT_EQ(S_OK, icon.get()->pdispVal->QueryInterface(IID_IPicture, picture.put_void()));
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(PICTYPE_ICON, type);
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    EXPECT_EQ(static_cast<LRESULT>(handle), SendMessageA(form->hWnd(), WM_GETICON, ICON_BIG, 0));

    EXPECT_FALSE(Prop(disp.get(), "Visible").ToBool());
    CallMethod(disp.get(), "Show");
    EXPECT_TRUE(IsWindowVisible(form->hWnd()));
    CallMethod(disp.get(), "Hide");
    EXPECT_FALSE(IsWindowVisible(form->hWnd()));
    // A hidden form cannot take the focus.
    EXPECT_EQ(5, glimtest::ErrorNumberOf([&] { CallMethod(disp.get(), "SetFocus"); }))
        << "SetFocus on a hidden form succeeded";
}

TEST_F(HostFormTest, UnloadClosesControlsBeforeReleasingThem) {
    Log().calls.clear();
    const int alive = Log().alive;
    form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
    EXPECT_EQ(alive + 1, Log().alive);
    HWND hwnd = form->hWnd();
    form->Unload();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(form->Loaded());
    const auto& calls = Log().calls;
    const auto close = std::find(calls.begin(), calls.end(), "Close");
    const auto unsite = std::find(calls.begin(), calls.end(), "SetClientSite(null)");
    ASSERT_NE(calls.end(), close);
    ASSERT_NE(calls.end(), unsite);
    EXPECT_LT(close, unsite);
    EXPECT_EQ(alive, Log().alive);
}

TEST_F(HostFormTest, ClosingTheWindowUnloadsTheForm) {
    const int alive = Log().alive;
    form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
    const size_t forms = HostForm::LoadedForms();
    SendMessageA(form->hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(forms - 1, HostForm::LoadedForms());
    EXPECT_EQ(alive, Log().alive);
}

TEST_F(HostFormTest, RunMessageLoopEndsWithTheLastForm) {
    ComPtr<HostForm> other = HostForm::Create("Other", 3000, 3000);
    form->Show();
    other->Show();
    // Both forms close from inside the loop; it must return once the second is gone.
    PostMessageA(form->hWnd(), WM_CLOSE, 0, 0);
    PostMessageA(other->hWnd(), WM_CLOSE, 0, 0);
    const size_t before = HostForm::LoadedForms();
    ASSERT_GE(before, 2u);
    // Other forms of this program (none in this test) would keep it running.
    EXPECT_EQ(0, HostForm::RunMessageLoop());
    EXPECT_EQ(0u, HostForm::LoadedForms());
}

} // namespace

namespace {

TEST(HostFormLifetime, ReleasingTheLastReferenceUnloadsTheForm) {
    RegisterProbe();
    const int alive = Log().alive;
    const size_t forms = HostForm::LoadedForms();
    HWND hwnd = nullptr;
    {
        ComPtr<HostForm> form = HostForm::Create("Dropped", 3000, 3000);
        form->AddControl(kProbeClsid, "Probe1", 0, 0, 600, 600);
        form->AddControl("TextBox", "Text1", 0, 700, 600, 300);
        hwnd = form->hWnd();
        ASSERT_EQ(forms + 1, HostForm::LoadedForms());
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(alive, Log().alive);
    EXPECT_EQ(forms, HostForm::LoadedForms());
}

} // namespace
