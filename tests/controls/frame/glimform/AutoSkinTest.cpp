// GlimForm.dll on a host form with other controls: AutoSkinControl hands the
// skin index to the skinned types only and reports a refusing control in a
// message box; bad input through IDispatch comes back as errors, never a crash.
#include "Conversions.h"
#include "HostForm.h"
#include "ProbeControl.h"
#include "Registration.h"
#include "dispatch.h"
#include "message_boxes.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using glimtest::ProbeControl;
namespace host = glim::host;

namespace {

class GlimFormOnAFormTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(glimtest::RunRegsvr32(), 0u);
        ProbeControl::RegisterClasses();
    }
    static void TearDownTestSuite() { ProbeControl::RevokeClasses(); }

    void SetUp() override {
        form = host::HostForm::Create("AutoSkin host", 8000, 6000);
        ASSERT_TRUE(form);
        glimForm = form->AddControl("GlimFormControl.GlimForm", "GlimForm1", 60, 60, 480, 480);
        ASSERT_TRUE(glimForm);
        form->Show();
        glimtest::PumpPending();
    }
    void TearDown() override {
        if (form) form->Unload();
        form.reset();
        glimtest::PumpPending();
    }

    ProbeControl* AddProbe(const glimtest::ProbeClass& cls, const std::string& name, long top) {
        glim::ComPtr<host::ControlSite> s =
            form->AddControl(ProbeControl::ClsidText(cls), name, 900, top, 1200, 450);
        EXPECT_TRUE(s);
        return s ? ProbeControl::FromWindow(s->Window()) : nullptr;
    }

    HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr,
                   EXCEPINFO* ei = nullptr, UINT* argErr = nullptr) {
        return glimtest::Invoke(glimForm->ControlDispatch().get(), id, flags, std::move(args), result, ei,
                                argErr);
    }

    // Sets the skin index and calls AutoSkinControl, which returns nothing;
    // the message boxes the call showed.
    std::vector<glimtest::MessageBoxWatcher::Seen> AutoSkin(long idx) {
        EXPECT_EQ(Invoke(dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {glimtest::I4(idx)}), S_OK);
        glimtest::MessageBoxWatcher boxes;
        VARIANT r;
        VariantInit(&r);
        EXPECT_EQ(Invoke(dispid::GlimForm::AutoSkinControl, DISPATCH_METHOD, {}, &r), S_OK);
        EXPECT_EQ(V_VT(&r), VT_EMPTY);
        glimtest::PumpFor(100);
        return boxes.Boxes();
    }

    short Style() {
        VARIANT r;
        VariantInit(&r);
        EXPECT_EQ(Invoke(dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYGET, {}, &r), S_OK);
        const short s = glim::ToShort(r);
        VariantClear(&r);
        return s;
    }

    glim::ComPtr<host::HostForm> form;
    glim::ComPtr<host::ControlSite> glimForm;
};

using glimtest::I4;
using glimtest::Text;

void FreeExcep(EXCEPINFO& ei) {
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    ei = EXCEPINFO{};
}

} // namespace

TEST_F(GlimFormOnAFormTest, AutoSkinControlSetsStyleOnTheSkinnedTypesOnly) {
    ProbeControl* button1 = AddProbe(ProbeControl::ButtonClass(), "GlimButton1", 600);
    ProbeControl* panel = AddProbe(ProbeControl::ContainerClass(), "GlimContainr1", 1200);
    ASSERT_TRUE(form->AddControl("TextBox", "Text1", 900, 1800, 1500, 300));
    ProbeControl* button2 = AddProbe(ProbeControl::ButtonClass(), "GlimButton2", 2400);
    ProbeControl* check = AddProbe(ProbeControl::CheckClass(), "GlimCheck1", 3000);
    ASSERT_TRUE(button1 && panel && button2 && check);
    // The host sees the type names the doubles stand for.
    EXPECT_EQ(form->Site("GlimButton1")->TypeName(), "GlimButton");
    EXPECT_EQ(form->Site("GlimContainr1")->TypeName(), "GlimContainr");

    EXPECT_TRUE(AutoSkin(7).empty());
    EXPECT_EQ(button1->stylePuts, std::vector<long>{7});
    EXPECT_EQ(button2->stylePuts, std::vector<long>{7});
    EXPECT_EQ(check->stylePuts, std::vector<long>{7});
    EXPECT_TRUE(panel->stylePuts.empty());

    // A later index reaches them the same way, once per call.
    EXPECT_TRUE(AutoSkin(19).empty());
    EXPECT_EQ(button1->stylePuts, (std::vector<long>{7, 19}));
    EXPECT_TRUE(panel->stylePuts.empty());
}

TEST_F(GlimFormOnAFormTest, AutoSkinControlShowsARefusalAndReturnsNormally) {
    ProbeControl* refusing = AddProbe(ProbeControl::ButtonClass(), "GlimButton1", 600);
    ProbeControl* after = AddProbe(ProbeControl::ButtonClass(), "GlimButton2", 1200);
    ASSERT_TRUE(refusing && after);
    refusing->styleError = 380;
    const auto boxes = AutoSkin(3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, std::string("380") + glimtest::kStyleRefused);
    EXPECT_EQ(refusing->stylePuts, std::vector<long>{3});
    // The walk stopped at the refusal.
    EXPECT_TRUE(after->stylePuts.empty());
}

TEST_F(GlimFormOnAFormTest, BadInputThroughDispatchGivesErrorsWithTheirInfo) {
    // A number in a text converts.
    VARIANT twelve = Text(L"12");
    EXPECT_EQ(Invoke(dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {twelve}), S_OK);
    VariantClear(&twelve);
    EXPECT_EQ(Style(), 12);

    // Text that is no number: a type mismatch, nothing stored.
    VARIANT abc = Text(L"abc");
    EXPECT_EQ(Invoke(dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {abc}), DISP_E_TYPEMISMATCH);
    VariantClear(&abc);
    EXPECT_EQ(Style(), 12);

    // Too big for 16 bits: overflow (6) with source and description.
    EXCEPINFO ei{};
    EXPECT_EQ(Invoke(dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {I4(70000)}, nullptr, &ei),
              DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A0006));
    ASSERT_NE(ei.bstrSource, nullptr);
    EXPECT_STREQ(ei.bstrSource, L"GlimFormControl");
    ASSERT_NE(ei.bstrDescription, nullptr);
    EXPECT_STREQ(ei.bstrDescription, L"Overflow");
    FreeExcep(ei);
    EXPECT_EQ(Style(), 12);
    // The same error through the vtable leaves IErrorInfo for the caller.
    glim::ComPtr<_GlimForm> dual;
    ASSERT_EQ(glimForm->ControlDispatch()->QueryInterface(IID__GlimForm, dual.put_void()), S_OK);
    EXPECT_EQ(dual->put_MnuStyleIdx(static_cast<MnuStyle>(70000)), static_cast<HRESULT>(0x800A0006));
    glim::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.put()), S_OK);
    ASSERT_TRUE(info);
    BSTR source = nullptr, description = nullptr;
    info->GetSource(&source);
    info->GetDescription(&description);
    EXPECT_STREQ(source, L"GlimFormControl");
    EXPECT_STREQ(description, L"Overflow");
    SysFreeString(source);
    SysFreeString(description);

    // Missing arguments: refused before the method runs.
    const HRESULT missing = Invoke(dispid::GlimForm::LoadSkin, DISPATCH_METHOD, {});
    EXPECT_TRUE(missing == DISP_E_PARAMNOTOPTIONAL || missing == DISP_E_BADPARAMCOUNT) << std::hex << missing;
    VARIANT one = Text(L"x.bmp");
    const HRESULT half = Invoke(dispid::GlimForm::SkinFormFile, DISPATCH_METHOD, {one});
    VariantClear(&one);
    EXPECT_TRUE(half == DISP_E_PARAMNOTOPTIONAL || half == DISP_E_BADPARAMCOUNT) << std::hex << half;
    // A wrong type for a by-reference number.
    VARIANT word = Text(L"skin");
    EXPECT_EQ(Invoke(dispid::GlimForm::LoadSkin, DISPATCH_METHOD, {word}), DISP_E_TYPEMISMATCH);
    VariantClear(&word);
    // An unknown member.
    EXPECT_EQ(Invoke(0x6003FFFF, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
}

TEST_F(GlimFormOnAFormTest, SkinFilesMissingOrBrokenOnlyWarn) {
    const std::string broken = glimtest::ExeDir() + "broken-skin.bmp";
    {
        std::ofstream f(broken, std::ios::binary);
        f << "BM this is no bitmap at all";
    }
    const std::wstring missingW = L"C:\\no\\such\\caption.bmp";
    const std::wstring brokenW(broken.begin(), broken.end());
    for (const std::wstring& file : {missingW, brokenW}) {
        BSTR main = SysAllocString(file.c_str());
        BSTR border = SysAllocString(file.c_str());
        VARIANT a, b;
        V_VT(&a) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&a) = &main;
        V_VT(&b) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&b) = &border;
        glimtest::MessageBoxWatcher boxes;
        EXPECT_EQ(Invoke(dispid::GlimForm::SkinFormFile, DISPATCH_METHOD, {a, b}), S_OK);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        // "图片格式不正确,请设置一个正确的文件路径." titled "格式不正确" (code page 936)
        EXPECT_EQ(boxes.Boxes()[0].text, "\xCD\xBC\xC6\xAC\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7,"
                                         "\xC7\xEB\xC9\xE8\xD6\xC3\xD2\xBB\xB8\xF6\xD5\xFD\xC8\xB7\xB5\xC4"
                                         "\xCE\xC4\xBC\xFE\xC2\xB7\xBE\xB6.");
        EXPECT_EQ(boxes.Boxes()[0].title, "\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7");
        SysFreeString(main);
        SysFreeString(border);
    }
    DeleteFileA(broken.c_str());
}
