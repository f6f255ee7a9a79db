// GlimForm.dll as a host sees it: regsvr32, ProgIDs, the class factory,
// IDispatch by name and by identifier, property bags and the window
// utilities' effects on a real form.
#include "GlimFormControl.h"
#include "HostForm.h"
#include "MemoryPropertyBag.h"
#include "Registration.h"
#include "SiteRecorder.h"
#include "dispatch.h"
#include "pump.h"

#include <gtest/gtest.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string RegText(const std::string& key, const char* name = nullptr) {
    char buf[1024] = {};
    LONG size = sizeof buf;
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return "<none>";
    DWORD type = 0, dsize = sizeof buf;
    const LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &dsize);
    RegCloseKey(k);
    (void)size;
    return rc == ERROR_SUCCESS ? std::string(buf) : "<none>";
}

bool KeyExists(const std::string& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

const char kClsidText[] = "{B93D7AB9-14EA-4A04-B40F-8EC5989B7E2D}";
const char kLibidText[] = "{EF977422-E047-42A7-A004-1C0695C81FCF}";

using glimtest::I4;
using glimtest::Invoke;
using glimtest::R8;

// A new GlimForm by its ProgID, as a host makes one; null when that failed.
glim::ComPtr<IDispatch> NewGlimForm() {
    CLSID clsid{};
    glim::ComPtr<IDispatch> d;
    EXPECT_EQ(CLSIDFromProgID(L"GlimFormControl.GlimForm", &clsid), S_OK);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()), S_OK);
    return d;
}

long GetStyle(IDispatch* d) {
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(Invoke(d, dispid::GlimForm::MnuStyleIdx, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    VARIANT l;
    VariantInit(&l);
    VariantChangeType(&l, &r, 0, VT_I4);
    VariantClear(&r);
    return V_I4(&l);
}

class GlimFormTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(glimtest::RunRegsvr32(""), 0u); }
};

} // namespace

TEST_F(GlimFormTest, RegistrationWritesWhatHostsLookFor) {
    const std::string key = std::string("CLSID\\") + kClsidText;
    std::string server = RegText(key + "\\InprocServer32");
    EXPECT_EQ(_stricmp(server.c_str(), glimtest::GlimFormDllPath().c_str()), 0) << server;
    EXPECT_EQ(RegText(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(RegText(key + "\\ProgID"), "GlimFormControl.GlimForm");
    EXPECT_TRUE(KeyExists(key + "\\Control"));
    const std::string toolbox = RegText(key + "\\ToolboxBitmap32");
    EXPECT_NE(toolbox.find(", 30000"), std::string::npos) << toolbox;
    EXPECT_EQ(RegText(key + "\\TypeLib"), kLibidText);
    EXPECT_EQ(RegText("GlimFormControl.GlimForm\\CLSID"), kClsidText);
    EXPECT_TRUE(KeyExists(std::string("TypeLib\\") + kLibidText + "\\1.0"));
    // The design-time pages are served in process too.
    for (const char* page :
         {"{5B5A1508-2A4A-4328-B64A-33360124B80D}", "{3505C805-A4B7-4F95-890E-D97623DDB231}"}) {
        server = RegText(std::string("CLSID\\") + page + "\\InprocServer32");
        EXPECT_EQ(_stricmp(server.c_str(), glimtest::GlimFormDllPath().c_str()), 0) << page;
    }

    // Classes the library does not have are neither registered nor served.
    CLSID clsid{};
    EXPECT_TRUE(FAILED(CLSIDFromProgID(L"GlimFormControl.NoSuchControl", &clsid)));
    const CLSID kUnknownClass = {
        0x0e6b7c51, 0x2f1d, 0x4c7a, {0x91, 0x3e, 0x55, 0x12, 0x7a, 0x0c, 0x44, 0x21}};
    HMODULE dll = LoadLibraryA(glimtest::GlimFormDllPath().c_str());
    ASSERT_NE(dll, nullptr);
    auto getObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    ASSERT_NE(getObject, nullptr);
    glim::ComPtr<IClassFactory> factory;
    EXPECT_EQ(getObject(kUnknownClass, IID_IClassFactory, factory.put_void()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(getObject(CLSID_GlimForm, IID_IClassFactory, factory.put_void()), S_OK);
    glim::ComPtr<IUnknown> aggregated;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.get()), IID_IUnknown,
                                      aggregated.put_void()),
              CLASS_E_NOAGGREGATION);
}

namespace {

// Refuses the creation of the controls' windows, as a system out of window
// handles would.
LRESULT CALLBACK RefuseControlWindows(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        char cls[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wp), cls, sizeof cls);
        if (strcmp(cls, "GlimSurfaceWindow") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL CALLBACK CountLibraryWindows(HWND hwnd, LPARAM count) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strncmp(cls, "Glim", 4) == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

} // namespace

TEST_F(GlimFormTest, AControlThatCannotComeUpLeavesNothingBehind) {
    HMODULE dll = LoadLibraryA(glimtest::GlimFormDllPath().c_str());
    ASSERT_NE(dll, nullptr);
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    ASSERT_EQ(canUnload(), S_OK) << "an earlier test left a control or lock behind";
    HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseControlWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    glim::ComPtr<IDispatch> d;
    const HRESULT made =
        CoCreateInstance(CLSID_GlimForm, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void());
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(FAILED(made));
    EXPECT_EQ(d.get(), nullptr);
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountLibraryWindows, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(canUnload(), S_OK);
    // And the next one comes up as usual.
    ASSERT_EQ(CoCreateInstance(CLSID_GlimForm, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()),
              S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    d.reset();
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(dll);
}

TEST_F(GlimFormTest, UnregistrationRemovesEverythingAndRegistrationComesBack) {
    ASSERT_EQ(glimtest::RunRegsvr32("/u"), 0u);
    const std::string key = std::string("CLSID\\") + kClsidText;
    EXPECT_FALSE(KeyExists(key));
    EXPECT_FALSE(KeyExists("GlimFormControl.GlimForm"));
    EXPECT_FALSE(KeyExists("CLSID\\{5B5A1508-2A4A-4328-B64A-33360124B80D}"));
    EXPECT_FALSE(KeyExists(std::string("TypeLib\\") + kLibidText));
    CLSID clsid{};
    EXPECT_TRUE(FAILED(CLSIDFromProgID(L"GlimFormControl.GlimForm", &clsid)));
    glim::ComPtr<IUnknown> unk;
    EXPECT_EQ(CoCreateInstance(CLSID_GlimForm, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unk.put_void()),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(glimtest::RunRegsvr32(""), 0u);
    ASSERT_EQ(CLSIDFromProgID(L"GlimFormControl.GlimForm", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_GlimForm));
}

TEST_F(GlimFormTest, CreatedByProgIdItAnswersTheControlInterfaces) {
    glim::ComPtr<IDispatch> d = NewGlimForm();
    ASSERT_TRUE(d);
    for (const IID* iid :
         {&IID_IOleObject, &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject, &IID_IOleControl,
          &IID_IViewObject2, &IID_IPersistPropertyBag, &IID_IPersistStreamInit, &IID_IProvideClassInfo2,
          &IID_IConnectionPointContainer, &IID__GlimForm}) {
        glim::ComPtr<IUnknown> u;
        EXPECT_EQ(d->QueryInterface(*iid, u.put_void()), S_OK);
    }
    // One identity whatever interface is asked.
    glim::ComPtr<IUnknown> a, b;
    d->QueryInterface(IID_IUnknown, a.put_void());
    glim::ComPtr<IOleObject> ole;
    d->QueryInterface(IID_IOleObject, ole.put_void());
    ole->QueryInterface(IID_IUnknown, b.put_void());
    EXPECT_EQ(a.get(), b.get());

    glim::ComPtr<IProvideClassInfo2> pci;
    d->QueryInterface(IID_IProvideClassInfo2, pci.put_void());
    GUID events{};
    EXPECT_EQ(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(IsEqualGUID(events, DIID___GlimForm));
    glim::ComPtr<ITypeInfo> cls;
    ASSERT_EQ(pci->GetClassInfo(cls.put()), S_OK);
    BSTR name = nullptr;
    cls->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    EXPECT_STREQ(name, L"GlimForm");
    SysFreeString(name);

    // The control's window exists from creation, at its fixed 32 x 32 pixels.
    glim::ComPtr<IOleWindow> win;
    d->QueryInterface(IID_IOleWindow, win.put_void());
    HWND hwnd = nullptr;
    ASSERT_EQ(win->GetWindow(&hwnd), S_OK);
    ASSERT_TRUE(IsWindow(hwnd));
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 32);
    EXPECT_EQ(r.bottom - r.top, 32);
}

TEST_F(GlimFormTest, TheDesignTimePageIsOfferedAndServedWithoutBehaviour) {
    glim::ComPtr<IDispatch> d;
    ASSERT_EQ(CoCreateInstance(CLSID_GlimForm, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()),
              S_OK);
    glim::ComPtr<ISpecifyPropertyPages> offered;
    ASSERT_EQ(d->QueryInterface(IID_ISpecifyPropertyPages, offered.put_void()), S_OK);
    CAUUID pages{};
    ASSERT_EQ(offered->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.cElems, 1u);
    EXPECT_TRUE(IsEqualCLSID(pages.pElems[0], CLSID_PropertyPage1));
    CoTaskMemFree(pages.pElems);

    const struct {
        const CLSID* clsid;
        const wchar_t* title;
    } served[] = {{&CLSID_PropertyPage1, L"PropertyPage1"}, {&CLSID_PropertyPage2, L"PropertyPage2"}};
    for (const auto& s : served) {
        SCOPED_TRACE(testing::Message() << s.title);
        glim::ComPtr<IPropertyPage> page;
        ASSERT_EQ(
            CoCreateInstance(*s.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.put_void()),
            S_OK);
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK);
        EXPECT_STREQ(info.pszTitle, s.title);
        EXPECT_GT(info.size.cx, 0);
        CoTaskMemFree(info.pszTitle);
        IUnknown* objects[] = {d.get()};
        EXPECT_EQ(page->SetObjects(1, objects), S_OK);
        // Shown in a frame the way a designer does it, and taken down again.
        glimtest::TestWindow frame;
        const RECT where{10, 10, 200, 150};
        ASSERT_EQ(page->Activate(frame, &where, TRUE), S_OK);
        const HWND shown = GetWindow(frame, GW_CHILD);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(page->Show(SW_SHOW), S_OK);
        EXPECT_TRUE(GetWindowLongA(shown, GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(page->IsPageDirty(), S_FALSE) << "nothing to apply";
        EXPECT_EQ(page->Apply(), S_OK);
        EXPECT_EQ(page->Deactivate(), S_OK);
        EXPECT_FALSE(IsWindow(shown));
        EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    }
}

TEST_F(GlimFormTest, DispatchByNameAndByIdentifierWithBadInputRefused) {
    glim::ComPtr<IDispatch> d = NewGlimForm();
    ASSERT_TRUE(d);
    glim::ComPtr<IPersistPropertyBag> persist = d.As<IPersistPropertyBag>();
    ASSERT_EQ(persist->InitNew(), S_OK);

    struct Name {
        const wchar_t* name;
        DISPID id;
    };
    for (const Name& n : {Name{L"MnuStyleIdx", 0x68030000}, Name{L"mnustyleidx", 0x68030000},
                          Name{L"TmpColor", 0x40030007}, Name{L"LoadSkin", 0x60030002},
                          Name{L"MiniSize", 0x6003000E}, Name{L"AutoSkinControl", 0x60030013}}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(n.name)};
        DISPID id = 0;
        EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << n.name;
        EXPECT_EQ(id, n.id) << n.name;
    }
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    DISPID id = 0;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);

    EXPECT_EQ(GetStyle(d.get()), 0);
    EXPECT_EQ(Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {I4(12)}), S_OK);
    EXPECT_EQ(GetStyle(d.get()), 12);
    // Values outside 0 to 23 are stored as they are.
    EXPECT_EQ(Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {I4(40)}), S_OK);
    EXPECT_EQ(GetStyle(d.get()), 40);
    // Halves go to the even neighbour.
    EXPECT_EQ(Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {R8(2.5)}), S_OK);
    EXPECT_EQ(GetStyle(d.get()), 2);
    // More than 16 bits: overflow (error 6), nothing changes.
    EXCEPINFO ei{};
    EXPECT_EQ(Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {I4(40000)}, nullptr, &ei), DISP_E_EXCEPTION);
    EXPECT_EQ(ei.scode, static_cast<SCODE>(0x800A0006));
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
    EXPECT_EQ(GetStyle(d.get()), 2);
    // A text that is no number is a type mismatch.
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(L"abc");
    EXPECT_EQ(Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {text}), DISP_E_TYPEMISMATCH);
    VariantClear(&text);
    EXPECT_EQ(GetStyle(d.get()), 2);

    EXPECT_EQ(Invoke(d.get(), 0x40030007, DISPATCH_PROPERTYPUT, {I4(0x123456)}), S_OK);
    VARIANT r;
    VariantInit(&r);
    EXPECT_EQ(Invoke(d.get(), 0x40030007, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(V_VT(&r), VT_I4);
    EXPECT_EQ(V_I4(&r), 0x123456);

    // A skin needs a host form: without a container there is none (error 91).
    VARIANT idx;
    V_VT(&idx) = VT_I2;
    V_I2(&idx) = 3;
    EXCEPINFO skin{};
    EXPECT_EQ(Invoke(d.get(), 0x60030002, DISPATCH_METHOD, {idx}, nullptr, &skin), DISP_E_EXCEPTION);
    EXPECT_EQ(skin.scode, static_cast<SCODE>(0x800A005B));
    ASSERT_NE(skin.bstrDescription, nullptr);
    SysFreeString(skin.bstrSource);
    SysFreeString(skin.bstrDescription);
    SysFreeString(skin.bstrHelpFile);
}

TEST_F(GlimFormTest, PropertyBagKeepsOnlyANonDefaultMnuStyleIdx) {
    glim::ComPtr<IDispatch> d = NewGlimForm();
    ASSERT_TRUE(d);
    glim::ComPtr<IPersistPropertyBag> persist = d.As<IPersistPropertyBag>();
    ASSERT_EQ(persist->InitNew(), S_OK);
    {
        auto bag = glim::MemoryPropertyBag::Create();
        ASSERT_EQ(persist->Save(bag.get(), TRUE, TRUE), S_OK);
        EXPECT_EQ(bag->Count(), 0u); // 0 is the default and is left out
    }
    Invoke(d.get(), 0x68030000, DISPATCH_PROPERTYPUT, {I4(7)});
    auto bag = glim::MemoryPropertyBag::Create();
    ASSERT_EQ(persist->Save(bag.get(), TRUE, TRUE), S_OK);
    ASSERT_EQ(bag->Keys(), std::vector<std::string>{"MnuStyleIdx"});
    EXPECT_EQ(bag->Get("MnuStyleIdx").vt(), VT_I2);
    EXPECT_EQ(bag->Get("MnuStyleIdx").ToLong(), 7);

    // A new instance loaded from it reads the value back.
    glim::ComPtr<IDispatch> d2 = NewGlimForm();
    ASSERT_TRUE(d2);
    glim::ComPtr<IPersistPropertyBag> p2 = d2.As<IPersistPropertyBag>();
    ASSERT_EQ(p2->Load(bag.get(), nullptr), S_OK);
    EXPECT_EQ(GetStyle(d2.get()), 7);

    // A missing key reads the default; a stored text converts; a value too big fails the load.
    auto empty = glim::MemoryPropertyBag::Create();
    glim::ComPtr<IDispatch> d3 = NewGlimForm();
    glim::ComPtr<IPersistPropertyBag> p3 = d3.As<IPersistPropertyBag>();
    ASSERT_EQ(p3->Load(empty.get(), nullptr), S_OK);
    EXPECT_EQ(GetStyle(d3.get()), 0);

    auto big = glim::MemoryPropertyBag::Create();
    VARIANT v = I4(70000);
    big->Write(L"MnuStyleIdx", &v);
    glim::ComPtr<IDispatch> d4 = NewGlimForm();
    glim::ComPtr<IPersistPropertyBag> p4 = d4.As<IPersistPropertyBag>();
    EXPECT_TRUE(FAILED(p4->Load(big.get(), nullptr)));

    // Stream persistence carries the same value.
    glim::ComPtr<IPersistStreamInit> ps;
    d->QueryInterface(IID_IPersistStreamInit, ps.put_void());
    glim::ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ASSERT_EQ(ps->Save(stream.get(), TRUE), S_OK);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    glim::ComPtr<IDispatch> d5 = NewGlimForm();
    glim::ComPtr<IPersistStreamInit> ps5 = d5.As<IPersistStreamInit>();
    ASSERT_EQ(ps5->Load(stream.get()), S_OK);
    EXPECT_EQ(GetStyle(d5.get()), 7);
}

TEST_F(GlimFormTest, OnAHostFormTheWindowUtilitiesActOnTheForm) {
    using namespace glim::host;
    auto form = HostForm::Create("GlimForm host", 6000, 4500);
    ASSERT_TRUE(form);
    auto site = form->AddControl("GlimFormControl.GlimForm", "GlimForm1", 120, 120, 2000, 2000);
    ASSERT_TRUE(site);
    form->Show();
    glimtest::PumpPending();
    IDispatch* d = site->ControlDispatch().get();
    ASSERT_NE(d, nullptr);

    // The control keeps its 32 x 32 size whatever the host asked for.
    HWND child = GetWindow(form->hWnd(), GW_CHILD);
    ASSERT_NE(child, nullptr);
    RECT cr{};
    GetWindowRect(child, &cr);
    EXPECT_EQ(cr.right - cr.left, 32);
    EXPECT_EQ(cr.bottom - cr.top, 32);

    // Setting MnuStyleIdx tells the container which property changed.
    glimtest::SiteRecorder rec(site.get());
    Invoke(d, 0x68030000, DISPATCH_PROPERTYPUT, {I4(5)});
    EXPECT_EQ(rec.Changes(), std::vector<DISPID>{0x68030000});

    VARIANT_BOOL on = VARIANT_TRUE;
    VARIANT arg;
    V_VT(&arg) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&arg) = &on;
    ASSERT_EQ(Invoke(d, 0x60030011, DISPATCH_METHOD, {arg}), S_OK);
    EXPECT_TRUE(GetWindowLongA(form->hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    on = 1; // only -1 counts as true
    ASSERT_EQ(Invoke(d, 0x60030011, DISPATCH_METHOD, {arg}), S_OK);
    EXPECT_FALSE(GetWindowLongA(form->hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // MiniSize: two shrinks keep the real size; restoring brings it back exactly.
    const long w0 = form->Width(), h0 = form->Height();
    VARIANT_BOOL mini = VARIANT_FALSE;
    V_BOOLREF(&arg) = &mini;
    // Restoring with nothing stored leaves the form alone.
    ASSERT_EQ(Invoke(d, 0x6003000E, DISPATCH_METHOD, {arg}), S_OK);
    EXPECT_EQ(form->Width(), w0);
    EXPECT_EQ(form->Height(), h0);
    mini = VARIANT_TRUE;
    ASSERT_EQ(Invoke(d, 0x6003000E, DISPATCH_METHOD, {arg}), S_OK);
    // The window keeps whole pixels: within one pixel of the twips asked for.
    EXPECT_NEAR(form->Width(), 3100, 15);
    EXPECT_NEAR(form->Height(), 900, 15);
    ASSERT_EQ(Invoke(d, 0x6003000E, DISPATCH_METHOD, {arg}), S_OK);
    mini = VARIANT_FALSE;
    ASSERT_EQ(Invoke(d, 0x6003000E, DISPATCH_METHOD, {arg}), S_OK);
    EXPECT_EQ(form->Width(), w0);
    EXPECT_EQ(form->Height(), h0);
    // Every restore goes back to the stored size, not only the first.
    form->Move(form->Left(), form->Top(), 4500, 3000);
    ASSERT_EQ(Invoke(d, 0x6003000E, DISPATCH_METHOD, {arg}), S_OK);
    EXPECT_EQ(form->Width(), w0);
    EXPECT_EQ(form->Height(), h0);

    // DoRndForm: a rounded region the size of the form.
    ASSERT_EQ(Invoke(d, 0x60030012, DISPATCH_METHOD, {}), S_OK);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(form->hWnd(), rgn), COMPLEXREGION);
    RECT box{};
    GetRgnBox(rgn, &box);
    RECT wr{};
    GetWindowRect(form->hWnd(), &wr);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_NEAR(box.right, wr.right - wr.left, 1);
    EXPECT_NEAR(box.bottom, wr.bottom - wr.top, 1);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0)); // the corner is cut off
    EXPECT_TRUE(PtInRegion(rgn, 5, 5));
    DeleteObject(rgn);
}
