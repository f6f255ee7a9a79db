#pragma once
// A host form with GlimForm.dll's sliders and bars on it, reached the way
// hosts reach them: by ProgID, late-bound by name and by identifier, with
// property-changed notifications and events recorded by the site.
#include "GlimError.h"
#include "HostForm.h"
#include "LateBound.h"
#include "Registration.h"
#include "pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace paneltest {

namespace host = glim::host;

class PanelsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(glimtest::RunRegsvr32(), 0u); }

    void SetUp() override {
        form = host::HostForm::Create("Panels host", 9000, 7000);
        ASSERT_TRUE(form);
        form->SetBackColor(0x00808080);
        form->Show();
        glimtest::PumpPending();
    }
    void TearDown() override {
        if (form) form->Unload();
        form.reset();
        glimtest::PumpPending();
    }

    host::ControlSite* Add(const char* progId, const std::string& name, long left, long top, long width,
                           long height, host::PropertyBag* bag = nullptr) {
        glim::ComPtr<host::ControlSite> s = form->AddControl(progId, name, left, top, width, height, bag);
        EXPECT_TRUE(s);
        glimtest::PumpPending();
        return s.get();
    }

    // Error number of a late-bound put by name, 0 when it succeeded.
    static long PutError(host::ControlSite* s, const char* name, const host::Variant& v) {
        try {
            host::PutProperty(s->ControlDispatch().get(), name, v);
        } catch (const glim::Error& e) {
            return e.Number();
        }
        return 0;
    }
    static long Get(host::ControlSite* s, const char* name) {
        return host::GetProperty(s->ControlDispatch().get(), name).ToLong();
    }
    static long GetById(host::ControlSite* s, DISPID id) {
        return host::GetProperty(s->ControlDispatch().get(), id).ToLong();
    }

    // Shows what the control painted and reads one of its client pixels.
    static COLORREF Pixel(host::ControlSite* s, int x, int y) {
        UpdateWindow(s->Window());
        return glimtest::ClientPixel(s->Window(), x, y);
    }

    glim::ComPtr<host::HostForm> form;
};

// The window rectangle of a control in screen pixels.
inline RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

} // namespace paneltest
