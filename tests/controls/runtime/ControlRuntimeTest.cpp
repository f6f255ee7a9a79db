// The control runtime as hosts meet it: a probe control built on it, created
// through COM, sited on a real host form, fed real window messages and
// input, and watched through the host's event sink, site and extender.
#include "Conversions.h"
#include "Extender.h"
#include "HostForm.h"
#include "LateBound.h"
#include "ProbeControl.h"
#include "SiteRecorder.h"
#include "dispatch.h"
#include "input.h"
#include "pump.h"
#include "raised.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using glimtest::ProbeControl;
namespace host = glim::host;
using glim::Variant;
namespace ev = glimtest::probe_events;

namespace {

constexpr wchar_t kProbeProgId[] = L"GlimRuntimeTest.Probe";

class ControlRuntimeTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ProbeControl::RegisterClasses();
        // A ProbeID that names the probe, so it can be made the way hosts do.
        const std::string clsid = ProbeControl::ClsidText(ProbeControl::CheckClass());
        RegSetValueA(HKEY_CLASSES_ROOT, "GlimRuntimeTest.Probe\\CLSID", REG_SZ, clsid.c_str(),
                     static_cast<DWORD>(clsid.size()));
    }
    static void TearDownTestSuite() {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "GlimRuntimeTest.Probe\\CLSID");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "GlimRuntimeTest.Probe");
        ProbeControl::RevokeClasses();
    }

    void SetUp() override { Build(); }
    void Build() {
        form = host::HostForm::Create("Probe host", 7000, 5000);
        ASSERT_TRUE(form);
        site = form->AddControl(ProbeControl::ClsidText(ProbeControl::CheckClass()), "Probe1", 600, 300, 1500,
                                600);
        ASSERT_TRUE(site);
        form->Show();
        SetForegroundWindow(form->hWnd());
        glimtest::PumpPending();
        probe = ProbeControl::FromWindow(site->Window());
        ASSERT_NE(probe, nullptr);
        ASSERT_NE(site->Events(), nullptr);
        rec = std::make_unique<glimtest::SiteRecorder>(site.get());
    }
    void TearDown() override {
        rec.reset();
        if (form) form->Unload();
        form.reset();
        glimtest::PumpPending();
        EXPECT_EQ(ProbeControl::LiveCount(), 0u) << "a probe outlived its form";
    }

    HWND Hwnd() const { return site->Window(); }

    // Invoke on the control's dispatch with natural-order arguments.
    HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr,
                   EXCEPINFO* ei = nullptr) {
        return glimtest::Invoke(site->ControlDispatch().get(), id, flags, std::move(args), result, ei);
    }

    glim::ComPtr<host::HostForm> form;
    glim::ComPtr<host::ControlSite> site;
    ProbeControl* probe = nullptr; // uncounted: the site owns the control
    std::unique_ptr<glimtest::SiteRecorder> rec;
};

using glimtest::Bool;
using glimtest::I2;

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// Real mouse input at a screen point: move there, then the given button events.
void MouseAt(POINT screen, std::initializer_list<DWORD> flags) {
    glimtest::MoveTo(screen);
    glimtest::MouseButtons(flags);
}

POINT ScreenPointOf(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

} // namespace

TEST_F(ControlRuntimeTest, KeyEventsReachTheSinkAndByRefArgumentsComeBack) {
    // The host upper-cases "a", swallows "x" and throws away F2.
    site->Events()->On(ev::KeyPress, [](host::EventArgs& a) {
        ASSERT_TRUE(a.IsByRef(0));
        const long key = a.Get(0).ToLong();
        if (key == 'a') {
            EXPECT_TRUE(a.Set(0, Variant::Long('A')));
        } else if (key == 'x') {
            EXPECT_TRUE(a.Set(0, Variant::Long(0)));
        }
    });
    site->Events()->On(ev::KeyDown, [](host::EventArgs& a) {
        if (a.Get(0).ToLong() == VK_F2) {
            EXPECT_TRUE(a.Set(0, Variant::Long(0)));
        }
    });
    SetFocus(Hwnd());
    for (WPARAM c : {'a', 'x', 'b'})
        PostMessageA(Hwnd(), WM_CHAR, c, 1);
    PostMessageA(Hwnd(), WM_KEYDOWN, VK_F2, 1);
    PostMessageA(Hwnd(), WM_KEYDOWN, VK_F3, 1);
    PostMessageA(Hwnd(), WM_KEYUP, VK_F3, 0xC0000001);
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::KeyUp) == 1; }));
    EXPECT_EQ(probe->typed, "Ab");
    EXPECT_EQ(probe->keysDown, std::vector<short>{VK_F3});
    EXPECT_EQ(rec->CountOf(ev::KeyPress), 3u);
    EXPECT_EQ(rec->CountOf(ev::KeyDown), 2u);
    // The recorded calls hold the argument before and after the handler.
    const auto& first = rec->Calls().front();
    ASSERT_EQ(first.id, ev::KeyPress);
    EXPECT_EQ(first.in.at(0).ToLong(), 'a');
    EXPECT_EQ(first.out.at(0).ToLong(), 'A');
}

TEST_F(ControlRuntimeTest, MouseArgumentsGoByReferenceAndTheHandlersWritesComeBack) {
    std::vector<bool> byRef;
    site->Events()->On(ev::MouseDown, [&](host::EventArgs& a) {
        for (size_t i = 0; i < a.Count(); ++i)
            byRef.push_back(a.IsByRef(i));
        EXPECT_TRUE(a.Set(0, Variant::Long(2)));
        EXPECT_TRUE(a.Set(2, Variant::Long(33)));
    });
    PostMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 12));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseDown) == 1; }));
    PostMessageA(Hwnd(), WM_LBUTTONUP, 0, Point(10, 12));
    EXPECT_EQ(byRef, std::vector<bool>(4, true));
    EXPECT_EQ(probe->buttonAfterMouseDown, 2);
    EXPECT_FLOAT_EQ(probe->xAfterMouseDown, 33.0f);
}

TEST_F(ControlRuntimeTest, ClickNeedsPressAndReleaseInsideWithCaptureBetween) {
    PostMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 12));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseDown) == 1; }));
    EXPECT_EQ(probe->captureAtMouseDown, Hwnd());
    EXPECT_EQ(GetCapture(), Hwnd());
    EXPECT_EQ(probe->lastMouseDownButton, 1);
    // Coordinates arrive in twips, the surface's scale.
    EXPECT_FLOAT_EQ(probe->lastMouseDownX, 150.0f);
    EXPECT_FLOAT_EQ(probe->lastMouseDownY, 180.0f);
    PostMessageA(Hwnd(), WM_LBUTTONUP, 0, Point(10, 12));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::Click) == 1; }));
    EXPECT_EQ(rec->CountOf(ev::MouseUp), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    // The order the host sees: down, up, click.
    std::vector<DISPID> order;
    for (const auto& c : rec->Calls())
        order.push_back(c.id);
    EXPECT_EQ(order, (std::vector<DISPID>{ev::MouseDown, ev::MouseUp, ev::Click}));

    // Released outside: MouseUp still comes (through the capture), Click does not.
    rec->ClearCalls();
    PostMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    PostMessageA(Hwnd(), WM_LBUTTONUP, 0, Point(-20, 300));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseUp) == 1; }));
    glimtest::PumpFor(50);
    EXPECT_EQ(rec->CountOf(ev::Click), 0u);
    EXPECT_EQ(probe->clicks, 1);

    // A double click: Click for the first press, DblClick for the second, none after it.
    rec->ClearCalls();
    PostMessageA(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    PostMessageA(Hwnd(), WM_LBUTTONUP, 0, Point(5, 5));
    PostMessageA(Hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 5));
    PostMessageA(Hwnd(), WM_LBUTTONUP, 0, Point(5, 5));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseUp) == 2; }));
    EXPECT_EQ(rec->CountOf(ev::Click), 1u);
    EXPECT_EQ(rec->CountOf(ev::DblClick), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlRuntimeTest, RealInputReleasedOutsideStillEndsTheCapture) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    MouseAt(ScreenPointOf(Hwnd(), 8, 8), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::Click) == 1; }))
        << "real input did not reach the control";
    rec->ClearCalls();
    // Away from the first click, so this press is no double click.
    MouseAt(ScreenPointOf(Hwnd(), 60, 25), {MOUSEEVENTF_LEFTDOWN});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseDown) == 1; }));
    EXPECT_EQ(GetCapture(), Hwnd());
    // Move well outside the control and release over the form.
    MouseAt(ScreenPointOf(Hwnd(), client.right + 40, client.bottom + 40), {MOUSEEVENTF_LEFTUP});
    ASSERT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::MouseUp) == 1; }));
    glimtest::PumpFor(50);
    EXPECT_EQ(rec->CountOf(ev::Click), 0u);
    EXPECT_EQ(GetCapture(), nullptr);
    // The moves outside reached the control while it held the capture.
    EXPECT_GE(rec->CountOf(ev::MouseMove), 1u);
}

// Handlers that end the control from inside its own events: it stays alive
// until the outermost message or event it is inside returns, and ends once.
TEST_F(ControlRuntimeTest, AControlOutlivesHandlersThatEndIt) {
    struct Case {
        const char* what;
        DISPID ender;                 // the event whose handler ends the control
        bool removeOnly;              // remove the control (its last reference) instead of unloading the form
        bool pumpInMouseDown;         // the MouseDown handler runs DoEvents
        std::vector<std::string> log; // what the probe does after its events, then its end
    };
    const Case cases[] = {
        {"a Click handler unloads the form",
         ev::Click,
         false,
         false,
         {"after MouseDown", "after MouseUp", "after Click", "destroyed"}},
        {"a MouseUp handler drops the last reference",
         ev::MouseUp,
         true,
         false,
         {"after MouseDown", "after MouseUp", "after Click", "destroyed"}},
        {"DoEvents in MouseDown runs the Click that unloads the form",
         ev::Click,
         false,
         true,
         {"after MouseUp", "after Click", "after MouseDown", "destroyed"}},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first) Build();
        first = false;
        ProbeControl::Log().clear();
        host::EventSink* sink = site->Events();
        host::HostForm* f = form.get();
        const Case* cc = &c;
        sink->On(c.ender, [f, cc](host::EventArgs&) {
            if (cc->removeOnly)
                f->RemoveControl("Probe1");
            else
                f->Unload();
        });
        if (c.pumpInMouseDown) sink->On(ev::MouseDown, [](host::EventArgs&) { glimtest::PumpPending(); });
        const HWND w = Hwnd();
        rec.reset();
        site.reset(); // the form holds the control's only site
        probe = nullptr;
        MouseAt(ScreenPointOf(w, 8, 8), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        EXPECT_TRUE(glimtest::PumpUntil([] { return ProbeControl::LiveCount() == 0; })) << c.what;
        EXPECT_EQ(ProbeControl::Log(), c.log) << c.what;
        form->Unload();
        form.reset();
        glimtest::PumpPending();
    }
}

TEST_F(ControlRuntimeTest, DisabledControlGetsNoRealInputAndSaysSo) {
    ASSERT_EQ(Invoke(dispid::GlimCheck::Enabled, DISPATCH_PROPERTYPUT, {Bool(false)}), S_OK);
    EXPECT_FALSE(IsWindowEnabled(Hwnd()));
    EXPECT_FALSE(site->Enabled());
    VARIANT r;
    VariantInit(&r);
    ASSERT_EQ(Invoke(dispid::GlimCheck::Enabled, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    EXPECT_EQ(V_VT(&r), VT_BOOL);
    EXPECT_EQ(V_BOOL(&r), VARIANT_FALSE);
    MouseAt(ScreenPointOf(Hwnd(), 8, 8), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    glimtest::PumpFor(150);
    EXPECT_EQ(rec->CountOf(ev::MouseDown), 0u);
    EXPECT_EQ(rec->CountOf(ev::Click), 0u);

    ASSERT_EQ(Invoke(dispid::GlimCheck::Enabled, DISPATCH_PROPERTYPUT, {Bool(true)}), S_OK);
    MouseAt(ScreenPointOf(Hwnd(), 8, 8), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    EXPECT_TRUE(glimtest::PumpUntil([&] { return rec->CountOf(ev::Click) == 1; }));
}

TEST_F(ControlRuntimeTest, AccessKeyReachesTheControlThroughTheHost) {
    BSTR caption = SysAllocString(L"&Go");
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = caption;
    ASSERT_EQ(Invoke(dispid::GlimCheck::Caption, DISPATCH_PROPERTYPUT, {v}), S_OK);
    SysFreeString(caption);
    auto control = glim::ComPtr<IUnknown>(site->Control()).As<IOleControl>();
    ASSERT_TRUE(control);
    CONTROLINFO info{};
    info.cb = sizeof info;
    ASSERT_EQ(control->GetControlInfo(&info), S_OK);
    EXPECT_EQ(info.cAccel, 1);
    EXPECT_NE(info.hAccel, nullptr);

    // Alt+G as the host's loop sees it.
    SetFocus(form->hWnd());
    PostMessageA(form->hWnd(), WM_SYSKEYDOWN, 'G', 0x20000001);
    host::HostForm::PumpPending();
    ASSERT_FALSE(probe->accessKeys.empty());
    EXPECT_EQ(probe->accessKeys, std::vector<short>{'g'});
    // Alt with another letter is not ours.
    PostMessageA(form->hWnd(), WM_SYSKEYDOWN, 'H', 0x20000001);
    host::HostForm::PumpPending();
    glimtest::PumpFor(30);
    EXPECT_EQ(probe->accessKeys.size(), 1u);

    // 丄 is 0x81 0x41 in code page 936: its second byte is no Alt+A.
    caption = SysAllocString(L"&\u4E04");
    V_BSTR(&v) = caption;
    ASSERT_EQ(Invoke(dispid::GlimCheck::Caption, DISPATCH_PROPERTYPUT, {v}), S_OK);
    SysFreeString(caption);
    ASSERT_EQ(control->GetControlInfo(&info), S_OK);
    EXPECT_EQ(info.cAccel, 0);
    EXPECT_EQ(info.hAccel, nullptr);
    PostMessageA(form->hWnd(), WM_SYSKEYDOWN, 'A', 0x20000001);
    host::HostForm::PumpPending();
    glimtest::PumpFor(30);
    EXPECT_EQ(probe->accessKeys.size(), 1u);
}

TEST_F(ControlRuntimeTest, TheSurfaceSurvivesBeingCoveredAndDamaged) {
    probe->PaintSurface(RGB(200, 30, 40));
    ASSERT_TRUE(glimtest::PumpUntil([&] { return glimtest::ClientPixel(Hwnd(), 5, 5) == RGB(200, 30, 40); }));

    // Cover it with another window, then take that away.
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE,
                                 r.left - 5, r.top - 5, r.right - r.left + 10, r.bottom - r.top + 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    UpdateWindow(cover);
    glimtest::PumpPending();
    DestroyWindow(cover);
    // Spoil what is on screen so only a repaint from the surface can bring it back.
    {
        HDC dc = GetDC(Hwnd());
        RECT c{};
        GetClientRect(Hwnd(), &c);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &c, blue);
        DeleteObject(blue);
        ReleaseDC(Hwnd(), dc);
    }
    ASSERT_EQ(glimtest::ClientPixel(Hwnd(), 5, 5), RGB(0, 0, 255));
    RedrawWindow(form->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(glimtest::PumpUntil([&] { return glimtest::ClientPixel(Hwnd(), 5, 5) == RGB(200, 30, 40); }));
    RECT c{};
    GetClientRect(Hwnd(), &c);
    EXPECT_EQ(glimtest::ClientPixel(Hwnd(), c.right - 1, c.bottom - 1), RGB(200, 30, 40));
}

TEST_F(ControlRuntimeTest, AmbientsComeFromTheFormAndChangesAreAnnounced) {
    EXPECT_TRUE(probe->AmbientUserMode());
    EXPECT_EQ(probe->AmbientDisplayName(), "Probe1");
    EXPECT_EQ(probe->AmbientBackColor(), form->BackColor());
    form->SetBackColor(0x00336699);
    EXPECT_EQ(probe->AmbientBackColor(), 0x00336699u);
    ASSERT_FALSE(probe->ambientChanges.empty());
    EXPECT_EQ(probe->ambientChanges.back(), DISPID_AMBIENT_BACKCOLOR);
    form->SetForeColor(0x00010203);
    EXPECT_EQ(probe->AmbientForeColor(), 0x00010203u);
    EXPECT_TRUE(probe->AmbientFont());
}

TEST_F(ControlRuntimeTest, ExtenderPropertiesComeFromTheSite) {
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Left")), 600);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Top")), 300);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Width")), 1500);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Height")), 600);
    EXPECT_EQ(glim::ToText(*probe->ExtenderProperty("Name")), "Probe1");
    glim::ComPtr<IDispatch> parent = probe->ParentForm();
    ASSERT_TRUE(parent);
    glim::ComPtr<IUnknown> a = parent.As<IUnknown>(), b = glim::ComPtr<IDispatch>(form.get()).As<IUnknown>();
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(probe->ContainerWindow(), form->hWnd());
    // Moved by the host, the extender follows.
    site->Move(900, 450, 1800, 600);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Left")), 900);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Width")), 1800);
    EXPECT_EQ(probe->Width(), 1800);
}

TEST_F(ControlRuntimeTest, SetSizeFromResizeReEntersAndSettles) {
    probe->fixedHeightTwips = 450;
    probe->resizes = 0;
    site->Move(600, 300, 2100, 900);
    glimtest::PumpPending();
    EXPECT_EQ(probe->Height(), 450);
    EXPECT_EQ(probe->Width(), 2100);
    // The container learnt the size the control insisted on.
    EXPECT_EQ(site->Height(), 450);
    EXPECT_EQ(glim::ToLong(*probe->ExtenderProperty("Height")), 450);
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    EXPECT_EQ(r.bottom - r.top, 30);
    EXPECT_GE(probe->resizes, 2);
    EXPECT_LE(probe->resizes, 6);
    // Negative sizes are refused with 380 and change nothing.
    EXPECT_EQ(glimtest::ErrorNumberOf([&] { probe->SetSize(-15, 450); }), 380) << "a negative width";
    EXPECT_EQ(probe->Width(), 2100);
}

TEST_F(ControlRuntimeTest, PropertyChangedNamesTheMemberOrDispidUnknown) {
    rec->ClearChanges();
    ASSERT_EQ(Invoke(dispid::GlimCheck::Value, DISPATCH_PROPERTYPUT, {I2(1)}), S_OK);
    ASSERT_EQ(rec->Changes().size(), 1u);
    EXPECT_EQ(rec->Changes().back(), dispid::GlimCheck::Value);
    probe->notifyName = "NoSuchProperty";
    ASSERT_EQ(Invoke(dispid::GlimCheck::Value, DISPATCH_PROPERTYPUT, {I2(2)}), S_OK);
    ASSERT_EQ(rec->Changes().size(), 2u);
    EXPECT_EQ(rec->Changes().back(), DISPID_UNKNOWN);
    VARIANT r;
    VariantInit(&r);
    ASSERT_EQ(Invoke(dispid::GlimCheck::Value, DISPATCH_PROPERTYGET, {}, &r), S_OK);
    VARIANT l;
    VariantInit(&l);
    VariantChangeType(&l, &r, 0, VT_I4);
    EXPECT_EQ(V_I4(&l), 2);
}

TEST_F(ControlRuntimeTest, WithoutASiteTheDefaultsAnswer) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(kProbeProgId, &clsid), S_OK);
    glim::ComPtr<IDispatch> d;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void()), S_OK);
    auto win = d.As<IOleWindow>();
    HWND hwnd = nullptr;
    ASSERT_EQ(win->GetWindow(&hwnd), S_OK);
    ProbeControl* loose = ProbeControl::FromWindow(hwnd);
    ASSERT_NE(loose, nullptr);
    EXPECT_TRUE(loose->AmbientUserMode());
    EXPECT_EQ(loose->AmbientDisplayName(), "GlimCheck");
    EXPECT_EQ(loose->AmbientBackColor(), 0x8000000Fu);
    EXPECT_EQ(loose->AmbientForeColor(), 0x80000012u);
    EXPECT_TRUE(loose->AmbientFont());
    EXPECT_FALSE(loose->Extender());
    EXPECT_EQ(glim::ToText(*loose->ExtenderProperty("Name")), "GlimCheck");
    EXPECT_EQ(glim::ToLong(*loose->ExtenderProperty("Width")), 60 * 15);
    EXPECT_EQ(glim::ToLong(*loose->ExtenderProperty("Height")), 30 * 15);
    EXPECT_EQ(loose->ExtenderProperty("Parent").vt(), VT_DISPATCH);
    EXPECT_EQ(glimtest::ErrorNumberOf([&] { loose->ParentForm(); }), 91) << "a loose control's form";
    EXPECT_EQ(loose->ContainerWindow(), nullptr);
    // Property changes and events with nobody listening are harmless.
    VARIANT v = I2(1);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp{&v, &put, 1, 1};
    EXPECT_EQ(d->Invoke(dispid::GlimCheck::Value, IID_NULL, 0, DISPATCH_PROPERTYPUT, &dp, nullptr, nullptr,
                        nullptr),
              S_OK);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, Point(3, 3));
    EXPECT_EQ(loose->clicks, 1);
    win.reset();
    d.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

// One number for one failure, whichever side made the object: the control
// (type information), its extender and the form (the host's dispatch tables).
TEST_F(ControlRuntimeTest, UnknownMembersRaise438ByNameAndById) {
    const struct {
        const char* what;
        IDispatch* object;
    } objects[] = {
        {"control", site->ControlDispatch().get()}, {"extender", site->GetExtender()}, {"form", form.get()}};
    constexpr DISPID kNoSuchId = 0x7A5E;
    const std::function<void(IDispatch*)> calls[] = {
        [](IDispatch* d) { glim::GetProperty(d, "NoSuchMember"); },
        [](IDispatch* d) { glim::PutProperty(d, "NoSuchMember", Variant::Long(1)); },
        [](IDispatch* d) { glim::CallMethod(d, "NoSuchMember"); },
        [](IDispatch* d) { glim::GetProperty(d, kNoSuchId); },
        [](IDispatch* d) { glim::PutProperty(d, kNoSuchId, Variant::Long(1)); },
        [](IDispatch* d) { glim::CallMethod(d, kNoSuchId, {Variant::Long(1)}); },
    };
    for (const auto& o : objects) {
        for (size_t i = 0; i < std::size(calls); ++i) {
            EXPECT_EQ(glimtest::ErrorNumberOf([&] { calls[i](o.object); }), 438) << o.what << " call " << i;
        }
        EXPECT_FALSE(glim::HasMember(o.object, "NoSuchMember")) << o.what;
    }
}
