// The generated C++ side: its identifiers agree with the expectations, its
// vtables with the type library, and calls made through the type library
// (as the controls' IDispatch makes them) reach the right C++ function with
// the right values.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ComObject.h"
#include "ComPtr.h"
#include "GlimFormControl.h"
#include "TypeLibExpectations.h"
#include "dispatch.h"

using glim::ComPtr;
using namespace typelibtest;

namespace {

GUID Guid(const char* text) {
    GUID g{};
    wchar_t w[64] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, w, 64);
    EXPECT_HRESULT_SUCCEEDED(IIDFromString(w, &g)) << text;
    return g;
}

const ExpClass& Expected(const char* name) {
    for (const ExpClass& c : ExpectedClasses())
        if (std::strcmp(c.name, name) == 0) return c;
    ADD_FAILURE() << "no expectation for " << name;
    return ExpectedClasses().front();
}

ComPtr<ITypeLib> LoadNative() {
    wchar_t path[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, GLIM_TYPELIB_FILE, -1, path, MAX_PATH);
    ComPtr<ITypeLib> lib;
    EXPECT_HRESULT_SUCCEEDED(LoadTypeLibEx(path, REGKIND_NONE, lib.put()));
    return lib;
}

ComPtr<ITypeInfo> InterfaceInfo(ITypeLib* lib, REFIID iid) {
    ComPtr<ITypeInfo> dispatch, iface;
    HREFTYPE ref = 0;
    if (SUCCEEDED(lib->GetTypeInfoOfGuid(iid, dispatch.put())) &&
        SUCCEEDED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
        dispatch->GetRefTypeInfo(ref, iface.put());
    return iface;
}

// ---- Slots as the compiler laid them out -------------------------------------

struct SlotSeen {
    ptrdiff_t offset; // bytes into the vtable
    INVOKEKIND invoke;
    DISPID id;
    std::string function;
};

// The compiler's own record of where a virtual function sits: under the
// Itanium C++ ABI (MinGW g++) a pointer to a virtual member function holds
// 1 + the function's byte offset in the vtable.
template <class Pmf>
ptrdiff_t VtableOffset(Pmf pmf) {
    static_assert(sizeof(Pmf) == 2 * sizeof(ptrdiff_t));
    ptrdiff_t words[2];
    std::memcpy(words, &pmf, sizeof words);
    return (words[0] & 1) ? words[0] - 1 : -1;
}

template <class Walk>
std::vector<SlotSeen> Collect(Walk walk) {
    std::vector<SlotSeen> seen;
    walk([&](auto pmf, INVOKEKIND invoke, DISPID id, const char* function) {
        seen.push_back({VtableOffset(pmf), invoke, id, function});
    });
    return seen;
}

struct HeaderClass {
    const char* name;
    const CLSID* clsid;
    const IID* iid;
    const IID* diid;
    std::vector<SlotSeen> slots;
};

std::vector<HeaderClass> HeaderClasses() {
    return {
        {"GlimForm", &CLSID_GlimForm, &IID__GlimForm, &DIID___GlimForm,
         Collect([](auto v) { glim_slots::_GlimForm(v); })},
        {"GlimButton", &CLSID_GlimButton, &IID__GlimButton, &DIID___GlimButton,
         Collect([](auto v) { glim_slots::_GlimButton(v); })},
        {"GlimContainr", &CLSID_GlimContainr, &IID__GlimContainr, &DIID___GlimContainr,
         Collect([](auto v) { glim_slots::_GlimContainr(v); })},
        {"GlimCheck", &CLSID_GlimCheck, &IID__GlimCheck, &DIID___GlimCheck,
         Collect([](auto v) { glim_slots::_GlimCheck(v); })},
        {"GlimOption", &CLSID_GlimOption, &IID__GlimOption, &DIID___GlimOption,
         Collect([](auto v) { glim_slots::_GlimOption(v); })},
        {"GlimSlider", &CLSID_GlimSlider, &IID__GlimSlider, &DIID___GlimSlider,
         Collect([](auto v) { glim_slots::_GlimSlider(v); })},
        {"GlimPressBar", &CLSID_GlimPressBar, &IID__GlimPressBar, &DIID___GlimPressBar,
         Collect([](auto v) { glim_slots::_GlimPressBar(v); })},
        {"GlimToolTip", &CLSID_GlimToolTip, &IID__GlimToolTip, &DIID___GlimToolTip,
         Collect([](auto v) { glim_slots::_GlimToolTip(v); })},
        {"PropertyPage1", &CLSID_PropertyPage1, &IID__PropertyPage1, nullptr,
         Collect([](auto v) { glim_slots::_PropertyPage1(v); })},
        {"PropertyPage2", &CLSID_PropertyPage2, &IID__PropertyPage2, nullptr,
         Collect([](auto v) { glim_slots::_PropertyPage2(v); })},
    };
}

TEST(GeneratedHeader, IdentifiersMatchTheExpectations) {
    EXPECT_TRUE(IsEqualGUID(LIBID_GlimFormControl, Guid(kLibId)));
    EXPECT_EQ(GlimFormControl_MajorVersion, 1);
    EXPECT_EQ(GlimFormControl_MinorVersion, 0);
    EXPECT_EQ(GlimFormControl_Lcid, 1033u);
    const std::vector<HeaderClass> classes = HeaderClasses();
    ASSERT_EQ(classes.size(), ExpectedClasses().size());
    for (const HeaderClass& h : classes) {
        SCOPED_TRACE(h.name);
        const ExpClass& want = Expected(h.name);
        EXPECT_TRUE(IsEqualGUID(*h.clsid, Guid(want.clsid)));
        EXPECT_TRUE(IsEqualGUID(*h.iid, Guid(want.iid)));
        EXPECT_EQ(h.diid != nullptr, want.diid != nullptr);
        if (h.diid && want.diid) {
            EXPECT_TRUE(IsEqualGUID(*h.diid, Guid(want.diid)));
        }
    }
}

TEST(GeneratedHeader, DispatchIdentifiersTheEditorReliesOn) {
    EXPECT_EQ(dispid::GlimForm::MnuStyleIdx, 0x68030000);
    EXPECT_EQ(dispid::GlimButton::Style, 0x68030001);
    EXPECT_EQ(dispid::GlimButton::Caption, 0x68030000);
    EXPECT_EQ(dispid::GlimButton_events::Click, 1);
    EXPECT_EQ(dispid::GlimSlider::Value, DISPID_VALUE);
    EXPECT_EQ(dispid::GlimCheck_events::MouseOut, 1);
}

TEST(GeneratedHeader, EnumerationsKeepTheirValues) {
    EXPECT_EQ(sizeof(MnuStyle), 4u);
    EXPECT_EQ(MnuStyle_0, 0);
    EXPECT_EQ(MnuStyle_19, 19);
    EXPECT_EQ(MnuStyle_23, 23);
    EXPECT_EQ(ButtonTypes_Windows_32_bit, 2);
    EXPECT_EQ(ButtonTypes_3D_Hover, 12);
    EXPECT_EQ(ButtonTypes_Windows_XP_Press, 15);
    EXPECT_EQ(BdStyle_Dash_Dot_Dot, 5);
    EXPECT_EQ(State_Mixed, 2);
    EXPECT_EQ(XPContainerThemes_XP_Yellow, 11);
    EXPECT_EQ(FillStyleS_Diagonal_Cross, 7);
}

TEST(GeneratedHeader, VtablesMatchTheTypeLibrary) {
    ComPtr<ITypeLib> lib = LoadNative();
    ASSERT_TRUE(lib);
    for (const HeaderClass& h : HeaderClasses()) {
        SCOPED_TRACE(h.name);
        ComPtr<ITypeInfo> iface = InterfaceInfo(lib.get(), *h.iid);
        ASSERT_TRUE(iface);
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(iface->GetTypeAttr(&attr));
        const UINT count = attr->cFuncs;
        iface->ReleaseTypeAttr(attr);
        ASSERT_EQ(count, h.slots.size());
        for (UINT i = 0; i < count; ++i) {
            const SlotSeen& slot = h.slots[i];
            SCOPED_TRACE(slot.function);
            FUNCDESC* f = nullptr;
            ASSERT_HRESULT_SUCCEEDED(iface->GetFuncDesc(i, &f));
            EXPECT_EQ(f->oVft, slot.offset);
            EXPECT_EQ(f->memid, slot.id);
            EXPECT_EQ(f->invkind, slot.invoke);
            BSTR name = nullptr;
            iface->GetDocumentation(f->memid, &name, nullptr, nullptr, nullptr);
            const char* prefix = slot.invoke == INVOKE_PROPERTYGET      ? "get_"
                                 : slot.invoke == INVOKE_PROPERTYPUT    ? "put_"
                                 : slot.invoke == INVOKE_PROPERTYPUTREF ? "putref_"
                                                                        : "";
            char narrow[128] = {};
            WideCharToMultiByte(CP_ACP, 0, name ? name : L"", -1, narrow, sizeof narrow, nullptr, nullptr);
            EXPECT_EQ(slot.function, std::string(prefix) + narrow);
            SysFreeString(name);
            iface->ReleaseFuncDesc(f);
        }
    }
}

// ---- Calls through the type library reach the C++ functions ------------------

// Answers IUnknown and IDispatch for objects that live on the test's stack.
template <class Iface>
class StackObject : public glim::UncountedComObject<StackObject<Iface>, Iface> {
  public:
    explicit StackObject(const IID& iid) : iid_(iid) {}
    void* Find(REFIID riid) {
        return riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_ ? static_cast<Iface*>(this)
                                                                             : nullptr;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    std::vector<std::string> calls;

  private:
    IID iid_;
};

class RecordingForm : public StackObject<_GlimForm> {
  public:
    RecordingForm() : StackObject(IID__GlimForm) {}
    long tmpColor = 0;
    MnuStyle style = MnuStyle_0;
    std::wstring mainFile, borderFile, tip;
    IDispatch* menu = nullptr;
    VARIANT_BOOL onTop = VARIANT_FALSE;

    HRESULT STDMETHODCALLTYPE get_TmpColor(long* v) override { return Note("get_TmpColor", *v = tmpColor); }
    HRESULT STDMETHODCALLTYPE put_TmpColor(long v) override { return Note("put_TmpColor", tmpColor = v); }
    HRESULT STDMETHODCALLTYPE LoadSkin(short* idx, VARIANT* r) override {
        if (*idx < 0) *idx = 0; // reaches the caller's variable
        VariantInit(r);
        return Note("LoadSkin", *idx);
    }
    HRESULT STDMETHODCALLTYPE SkinFormFile(BSTR* main, BSTR* border, VARIANT* r) override {
        mainFile = *main;
        borderFile = *border;
        VariantInit(r);
        return Note("SkinFormFile", 0);
    }
    HRESULT STDMETHODCALLTYPE get_MnuStyleIdx(MnuStyle* v) override {
        return Note("get_MnuStyleIdx", *v = style);
    }
    HRESULT STDMETHODCALLTYPE put_MnuStyleIdx(MnuStyle v) override {
        return Note("put_MnuStyleIdx", style = v);
    }
    HRESULT STDMETHODCALLTYPE CloseSkin(VARIANT* r) override { return Empty("CloseSkin", r); }
    HRESULT STDMETHODCALLTYPE MiniSize(VARIANT_BOOL*, VARIANT* r) override { return Empty("MiniSize", r); }
    HRESULT STDMETHODCALLTYPE AddToTry(IDispatch** m, BSTR* t, VARIANT* r) override {
        menu = *m;
        tip = *t;
        return Empty("AddToTry", r);
    }
    HRESULT STDMETHODCALLTYPE UnloadTryIcon(VARIANT* r) override { return Empty("UnloadTryIcon", r); }
    HRESULT STDMETHODCALLTYPE SetWindowOnTop(VARIANT_BOOL* v, VARIANT* r) override {
        onTop = *v;
        return Empty("SetWindowOnTop", r);
    }
    HRESULT STDMETHODCALLTYPE DoRndForm(VARIANT* r) override { return Empty("DoRndForm", r); }
    HRESULT STDMETHODCALLTYPE AutoSkinControl(VARIANT* r) override { return Empty("AutoSkinControl", r); }

  private:
    template <class T>
    HRESULT Note(const char* what, T) {
        calls.push_back(what);
        return S_OK;
    }
    HRESULT Empty(const char* what, VARIANT* r) {
        VariantInit(r);
        return Note(what, 0);
    }
};

class RecordingCheck : public StackObject<_GlimCheck> {
  public:
    RecordingCheck() : StackObject(IID__GlimCheck) {}
    VARIANT_BOOL enabled = VARIANT_TRUE;
    State value = State_Unchecked;
    std::wstring caption;
    ComPtr<IFontDisp> font;
    OLE_COLOR back = 0, fore = 0;
    MnuStyle style = MnuStyle_0;

    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* v) override {
        return Note("get_Enabled", *v = enabled);
    }
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) override {
        return Note("put_Enabled", enabled = v);
    }
    HRESULT STDMETHODCALLTYPE get_Value(State* v) override { return Note("get_Value", *v = value); }
    HRESULT STDMETHODCALLTYPE put_Value(State v) override { return Note("put_Value", value = v); }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* v) override {
        *v = SysAllocString(caption.c_str());
        return Note("get_Caption", 0);
    }
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR v) override {
        caption = v ? v : L"";
        return Note("put_Caption", 0);
    }
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** v) override {
        font.CopyTo(v);
        return Note("get_Font", 0);
    }
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* v) override {
        font = v;
        return Note("putref_Font", 0);
    }
    HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR* v) override {
        return Note("get_BackColor", *v = back);
    }
    HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR v) override { return Note("put_BackColor", back = v); }
    HRESULT STDMETHODCALLTYPE get_ForeColor(OLE_COLOR* v) override {
        return Note("get_ForeColor", *v = fore);
    }
    HRESULT STDMETHODCALLTYPE put_ForeColor(OLE_COLOR v) override { return Note("put_ForeColor", fore = v); }
    HRESULT STDMETHODCALLTYPE get_Style(MnuStyle* v) override { return Note("get_Style", *v = style); }
    HRESULT STDMETHODCALLTYPE put_Style(MnuStyle v) override { return Note("put_Style", style = v); }

  private:
    template <class T>
    HRESULT Note(const char* what, T) {
        calls.push_back(what);
        return S_OK;
    }
};

// One late-bound call through the type library, arguments in call order.
HRESULT Call(ITypeInfo* iface, void* object, DISPID id, WORD flags, std::vector<VARIANT> args,
             VARIANT* result) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    EXCEPINFO excep{};
    UINT argErr = 0;
    return iface->Invoke(object, id, flags, &params, result, &excep, &argErr);
}

using glimtest::I2;
using glimtest::I4;

VARIANT ByRef(VARTYPE vt, void* p) {
    VARIANT x;
    VariantInit(&x);
    V_VT(&x) = static_cast<VARTYPE>(vt | VT_BYREF);
    V_BYREF(&x) = p;
    return x;
}

TEST(TypeLibraryCalls, ReachGlimFormThroughItsVtable) {
    ComPtr<ITypeLib> lib = LoadNative();
    ASSERT_TRUE(lib);
    ComPtr<ITypeInfo> iface = InterfaceInfo(lib.get(), IID__GlimForm);
    ASSERT_TRUE(iface);
    RecordingForm form;
    _GlimForm* object = &form;
    VARIANT result;
    VariantInit(&result);

    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYPUT, {I2(12)}, nullptr));
    EXPECT_EQ(form.calls.back(), "put_MnuStyleIdx");
    EXPECT_EQ(form.style, 12);
    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(form.calls.back(), "get_MnuStyleIdx");
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), 12);
    VariantClear(&result);

    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimForm::TmpColor, DISPATCH_PROPERTYPUT, {I4(0x123456)}, nullptr));
    EXPECT_EQ(form.calls.back(), "put_TmpColor");
    EXPECT_EQ(form.tmpColor, 0x123456);

    // A by-reference argument: the method's change reaches the caller.
    short idx = -5;
    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimForm::LoadSkin, DISPATCH_METHOD,
                                  {ByRef(VT_I2, &idx)}, &result));
    EXPECT_EQ(form.calls.back(), "LoadSkin");
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(V_VT(&result), VT_EMPTY);

    BSTR main = SysAllocString(L"a.bmp");
    BSTR border = SysAllocString(L"b.bmp");
    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimForm::SkinFormFile, DISPATCH_METHOD,
                                  {ByRef(VT_BSTR, &main), ByRef(VT_BSTR, &border)}, &result));
    EXPECT_EQ(form.calls.back(), "SkinFormFile");
    EXPECT_EQ(form.mainFile, L"a.bmp");
    EXPECT_EQ(form.borderFile, L"b.bmp");
    SysFreeString(main);
    SysFreeString(border);

    RecordingForm menuObject;
    IDispatch* menu = &menuObject;
    BSTR tip = SysAllocString(L"tip");
    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimForm::AddToTry, DISPATCH_METHOD,
                                  {ByRef(VT_DISPATCH, &menu), ByRef(VT_BSTR, &tip)}, &result));
    EXPECT_EQ(form.calls.back(), "AddToTry");
    EXPECT_EQ(form.menu, menu);
    EXPECT_EQ(form.tip, L"tip");
    SysFreeString(tip);

    VARIANT_BOOL onTop = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimForm::SetWindowOnTop, DISPATCH_METHOD,
                                  {ByRef(VT_BOOL, &onTop)}, &result));
    EXPECT_EQ(form.calls.back(), "SetWindowOnTop");
    EXPECT_EQ(form.onTop, VARIANT_TRUE);

    const std::pair<DISPID, const char*> noArgs[] = {{dispid::GlimForm::CloseSkin, "CloseSkin"},
                                                     {dispid::GlimForm::UnloadTryIcon, "UnloadTryIcon"},
                                                     {dispid::GlimForm::DoRndForm, "DoRndForm"},
                                                     {dispid::GlimForm::AutoSkinControl, "AutoSkinControl"}};
    for (const auto& [id, name] : noArgs) {
        ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, id, DISPATCH_METHOD, {}, &result)) << name;
        EXPECT_EQ(form.calls.back(), name);
        EXPECT_EQ(V_VT(&result), VT_EMPTY);
    }
}

TEST(TypeLibraryCalls, ReachGlimCheckWithFontsColoursAndEnumerations) {
    ComPtr<ITypeLib> lib = LoadNative();
    ASSERT_TRUE(lib);
    ComPtr<ITypeInfo> iface = InterfaceInfo(lib.get(), IID__GlimCheck);
    ASSERT_TRUE(iface);
    RecordingCheck check;
    _GlimCheck* object = &check;
    VARIANT result;
    VariantInit(&result);

    FONTDESC desc{sizeof(FONTDESC),
                  const_cast<LPOLESTR>(L"Arial"),
                  {90000, 0},
                  FW_NORMAL,
                  ANSI_CHARSET,
                  FALSE,
                  FALSE,
                  FALSE};
    ComPtr<IFontDisp> font;
    ASSERT_HRESULT_SUCCEEDED(OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void()));
    VARIANT fontArg;
    VariantInit(&fontArg);
    V_VT(&fontArg) = VT_DISPATCH;
    V_DISPATCH(&fontArg) = font.get();
    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimCheck::Font, DISPATCH_PROPERTYPUTREF, {fontArg}, nullptr));
    EXPECT_EQ(check.calls.back(), "putref_Font");
    EXPECT_EQ(check.font.get(), font.get());
    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimCheck::Font, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(check.calls.back(), "get_Font");
    ASSERT_EQ(V_VT(&result), VT_DISPATCH);
    EXPECT_EQ(static_cast<void*>(V_DISPATCH(&result)), static_cast<void*>(font.get()));
    VariantClear(&result);

    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimCheck::Value, DISPATCH_PROPERTYPUT,
                                  {I4(State_Mixed)}, nullptr));
    EXPECT_EQ(check.calls.back(), "put_Value");
    EXPECT_EQ(check.value, State_Mixed);

    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimCheck::BackColor, DISPATCH_PROPERTYPUT,
                                  {I4(0x00E0E0E0)}, nullptr));
    EXPECT_EQ(check.calls.back(), "put_BackColor");
    EXPECT_EQ(check.back, 0x00E0E0E0u);
    ASSERT_HRESULT_SUCCEEDED(Call(iface.get(), object, dispid::GlimCheck::ForeColor, DISPATCH_PROPERTYPUT,
                                  {I4(0x000000FF)}, nullptr));
    EXPECT_EQ(check.calls.back(), "put_ForeColor");
    EXPECT_EQ(check.fore, 0x000000FFu);
    EXPECT_EQ(check.back, 0x00E0E0E0u);

    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimCheck::Style, DISPATCH_PROPERTYPUT, {I2(19)}, nullptr));
    EXPECT_EQ(check.calls.back(), "put_Style");
    EXPECT_EQ(check.style, MnuStyle_19);

    VARIANT caption;
    VariantInit(&caption);
    V_VT(&caption) = VT_BSTR;
    V_BSTR(&caption) = SysAllocString(L"Check1");
    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimCheck::Caption, DISPATCH_PROPERTYPUT, {caption}, nullptr));
    VariantClear(&caption);
    EXPECT_EQ(check.caption, L"Check1");
    ASSERT_HRESULT_SUCCEEDED(
        Call(iface.get(), object, dispid::GlimCheck::Enabled, DISPATCH_PROPERTYGET, {}, &result));
    EXPECT_EQ(check.calls.back(), "get_Enabled");
    EXPECT_EQ(V_VT(&result), VT_BOOL);
    EXPECT_EQ(V_BOOL(&result), VARIANT_TRUE);
}

} // namespace
