// Properties, persisted keys and events declared in a control's description
// and binding rows: the runtime keeps, converts, persists, notifies and
// raises them.  A control with no hand-written accessor at all stands in.
#include "ComObject.h"
#include "ControlBase.h"
#include "Conversions.h"
#include "GlimFormControl.h"
#include "MemoryPropertyBag.h"
#include "Text.h"
#include "raised.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace tl = glim::typelib;

constexpr DISPID kCaption = 1, kSmall = 2, kBackColor = 3, kNoKey = 4, kCount = 5;
constexpr tl::Member kMembers[] = {
    {"Enabled", DISPID_ENABLED, tl::MemberKind::Property, {tl::VarType::Bool}, tl::kGet | tl::kPut},
    {"MousePointer", 7, tl::MemberKind::Property, {tl::VarType::I4}, tl::kGet | tl::kPut},
    {"hWnd", DISPID_HWND, tl::MemberKind::Property, {tl::VarType::I4}, tl::kGet},
    {"Caption", kCaption, tl::MemberKind::Property, {tl::VarType::Bstr}, tl::kGet | tl::kPut},
    {"Small", kSmall, tl::MemberKind::Property, {tl::VarType::I4}, tl::kGet | tl::kPut},
    {"BackColor", kBackColor, tl::MemberKind::Property, {tl::VarType::OleColor}, tl::kGet | tl::kPut},
    {"NoKey", kNoKey, tl::MemberKind::Property, {tl::VarType::R8}, tl::kGet | tl::kPut},
};
// Small is kept as 16 bits under the bag name "SML".
constexpr tl::Persisted kKeys[] = {
    {"Caption", nullptr, tl::VarType::Bstr, {tl::DefaultFrom::Constant, 0, "Kept"}},
    {"SML", "Small", tl::VarType::I2, {tl::DefaultFrom::Constant, 7}},
    {"Enabled", nullptr, tl::VarType::Bool, {tl::DefaultFrom::Constant, -1}},
    {"BackColor", nullptr, tl::VarType::I4, {tl::DefaultFrom::AmbientBackColor}},
    {"MousePointer", nullptr, tl::VarType::I2, {}},
};
constexpr tl::Param kCountArgs[] = {{"N", {tl::VarType::I4}, true}, {"Text", {tl::VarType::Bstr}, false}};
constexpr tl::Event kEvents[] = {{"Count", kCount, kCountArgs}};
constexpr tl::CoClass kDescription{"Kept", nullptr, nullptr, nullptr, true, kMembers, kEvents, kKeys};

constexpr CLSID kKeptClsid = {0x1c0ffee0, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x01}};

class KeptControl;
glim::ControlBase* MakeKept();
const glim::ControlClass kKeptClass{
    "Kept",       &kKeptClsid, &IID__PropertyPage1, &IID_IDispatch,           0,
    SIZE{40, 20}, nullptr,     &MakeKept,           glim::kControlMiscStatus, &kDescription};

// Everything it has is declared above and in its binding rows; it only
// counts its repaints.
class KeptControl final : public glim::Control<KeptControl, _PropertyPage1> {
  public:
    static const glim::Binding<KeptControl> kBindings[];
    KeptControl();
    ~KeptControl() override {
        if (ended) *ended = true;
    }
    int repaints = 0;
    bool* ended = nullptr; // set when the control is deleted
    std::string caption;
    short small = 0;
    OLE_COLOR backColor = 0;
    glim::Variant noKey;
    using ControlBase::RaiseEvent;

  private:
    void Repaint() { ++repaints; }
};

const glim::Binding<KeptControl> KeptControl::kBindings[] = {
    {"Enabled"},
    {"MousePointer", {}, nullptr, nullptr, glim::kQuiet},
    {"Caption", &KeptControl::caption, nullptr, &KeptControl::Repaint},
    {"Small", &KeptControl::small, nullptr, &KeptControl::Repaint, glim::kQuiet},
    {"BackColor", &KeptControl::backColor},
    {"NoKey", &KeptControl::noKey, nullptr, nullptr, glim::kQuiet},
};

KeptControl::KeptControl() : Control(kKeptClass, kBindings) {}

glim::ControlBase* MakeKept() {
    return KeptControl::CreateInstance();
}

// A bag's keys in order, each with its value as text.
std::vector<std::pair<std::string, std::string>> Contents(const glim::MemoryPropertyBag& bag) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& key : bag.Keys())
        out.emplace_back(key, bag.Get(key).ToText());
    return out;
}

// Counts the identifiers a control reports through IPropertyNotifySink.
class NotifySink final : public glim::UncountedComObject<NotifySink, IPropertyNotifySink> {
  public:
    std::vector<DISPID> changed;
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IPropertyNotifySink ? static_cast<IPropertyNotifySink*>(this)
                                                                     : nullptr;
    }
    STDMETHODIMP OnChanged(DISPID id) override {
        changed.push_back(id);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
};

// An event sink whose handler lets go of the control.
class ReleasingSink final : public glim::UncountedComObject<ReleasingSink, IDispatch> {
  public:
    glim::ComPtr<IUnknown>* holder = nullptr;
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        holder->reset();
        return S_OK;
    }
};

class KeptPropertiesTest : public testing::Test {
  protected:
    void SetUp() override {
        control = static_cast<KeptControl*>(MakeKept());
        unknown = glim::ComPtr<IUnknown>(control->Unknown());
        ASSERT_EQ(unknown.As<IPersistPropertyBag>()->InitNew(), S_OK);
        glim::ComPtr<IConnectionPoint> cp;
        ASSERT_EQ(
            unknown.As<IConnectionPointContainer>()->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()),
            S_OK);
        ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
        point = cp;
    }
    void TearDown() override {
        if (point) point->Unadvise(cookie);
        point.reset();
        unknown.reset();
    }

    glim::Variant Get(DISPID id) {
        glim::Variant v;
        EXPECT_EQ(control->GetStored(id, v.get()), S_OK);
        return v;
    }
    std::vector<std::pair<std::string, std::string>> Saved() {
        auto bag = glim::MemoryPropertyBag::Create();
        EXPECT_EQ(unknown.As<IPersistPropertyBag>()->Save(bag.get(), TRUE, FALSE), S_OK);
        return Contents(*bag.get());
    }

    KeptControl* control = nullptr; // uncounted: unknown holds it
    glim::ComPtr<IUnknown> unknown;
    NotifySink sink;
    glim::ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

// The error number an HRESULT of a member carries, 0 for success.
long ErrorNumber(HRESULT hr) {
    return SUCCEEDED(hr) ? 0 : static_cast<long>(HRESULT_CODE(hr));
}

TEST_F(KeptPropertiesTest, PutsConvertStoreNotifyAndRepaintAsDeclared) {
    struct Case {
        const char* what;
        DISPID id;
        glim::Variant put;
        long error;       // run-time error of the put, 0 for none
        const char* kept; // the value read back as text
        bool notifies;
        bool repaints;
    };
    const Case cases[] = {
        {"text is kept", kCaption, glim::Variant::String(L"abc"), 0, "abc", true, true},
        {"a number becomes the kept text", kCaption, glim::Variant::Long(42), 0, "42", true, true},
        {"16 bits kept", kSmall, glim::Variant::Long(-32768), 0, "-32768", false, true},
        {"too wide for 16 bits", kSmall, glim::Variant::Long(40000), 6, "-32768", false, false},
        {"no number", kSmall, glim::Variant::String(L"x"), 13, "-32768", false, false},
        {"a pointer that exists", 7, glim::Variant::Long(11), 0, "11", false, false},
        {"no such pointer", 7, glim::Variant::Long(50), 380, "11", false, false},
        {"a colour", kBackColor, glim::Variant::Long(0xFF), 0, "255", true, false},
        {"kept without a key", kNoKey, glim::Variant::Double(2.5), 0, "2.5", false, false},
    };
    for (const Case& c : cases) {
        sink.changed.clear();
        const int repaintsBefore = control->repaints;
        EXPECT_EQ(ErrorNumber(control->PutStored(c.id, *c.put)), c.error) << c.what;
        EXPECT_EQ(glim::ToText(*Get(c.id)), c.kept) << c.what;
        EXPECT_EQ(sink.changed, c.notifies ? std::vector<DISPID>{c.id} : std::vector<DISPID>{}) << c.what;
        EXPECT_EQ(control->repaints > repaintsBefore, c.repaints) << c.what;
    }
}

TEST_F(KeptPropertiesTest, StandardMembersActOnTheWindow) {
    EXPECT_TRUE(IsWindowEnabled(control->hWnd()));
    ASSERT_EQ(control->PutStored(DISPID_ENABLED, *glim::Variant::Bool(false)), S_OK);
    EXPECT_FALSE(IsWindowEnabled(control->hWnd()));
    EXPECT_EQ(V_BOOL(Get(DISPID_ENABLED).get()), VARIANT_FALSE);
    EXPECT_EQ(glim::ToLongPtr(*Get(DISPID_HWND)), reinterpret_cast<LONG_PTR>(control->hWnd()));
    ASSERT_EQ(control->PutStored(7, *glim::Variant::Integer(3)), S_OK);
    EXPECT_EQ(control->MousePointer(), 3);
}

TEST_F(KeptPropertiesTest, KeysAreSavedInDeclaredOrderWithoutDefaultsAndReadBack) {
    // Fresh from InitNew every key holds its default: nothing is written.
    EXPECT_TRUE(Saved().empty());
    EXPECT_EQ(glim::ToText(*Get(kCaption)), "Kept");
    EXPECT_EQ(glim::ToLong(*Get(kSmall)), 7);
    EXPECT_EQ(glim::ToLong(*Get(kBackColor)), static_cast<long>(0x8000000F)); // no container: button face
    // Put in another order; saved in the declared one, under the bag names.
    ASSERT_EQ(control->PutStored(7, *glim::Variant::Integer(2)), S_OK);
    ASSERT_EQ(control->PutStored(kSmall, *glim::Variant::Integer(9)), S_OK);
    ASSERT_EQ(control->PutStored(kCaption, *glim::Variant::String(L"Go")), S_OK);
    ASSERT_EQ(control->PutStored(kNoKey, *glim::Variant::Double(1)), S_OK);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Caption", "Go"}, {"SML", "9"}, {"MousePointer", "2"}};
    EXPECT_EQ(Saved(), expected);

    // A second control reads them back; what is missing gets its default.
    auto bag = glim::MemoryPropertyBag::Create();
    glim::Variant small = glim::Variant::String(L"12"), enabled = glim::Variant::Bool(false);
    bag->Write(L"Enabled", enabled.get());
    bag->Write(L"SML", small.get());
    auto* kept = static_cast<KeptControl*>(MakeKept());
    glim::ComPtr<IUnknown> other(kept->Unknown());
    ASSERT_EQ(other.As<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
    EXPECT_EQ(kept->small, 12);
    EXPECT_EQ(kept->caption, "Kept");
    EXPECT_FALSE(IsWindowEnabled(kept->hWnd()));
    // Saved again as the 16 bits it is kept as.
    auto again = glim::MemoryPropertyBag::Create();
    ASSERT_EQ(other.As<IPersistPropertyBag>()->Save(again.get(), TRUE, FALSE), S_OK);
    EXPECT_EQ(again->Get("SML").vt(), VT_I2);
    // A stored value that does not fit its key fails the load with overflow.
    auto wide = glim::MemoryPropertyBag::Create();
    glim::Variant big = glim::Variant::Long(70000);
    wide->Write(L"SML", big.get());
    glim::ComPtr<IUnknown> third(MakeKept()->Unknown());
    EXPECT_EQ(ErrorNumber(third.As<IPersistPropertyBag>()->Load(wide.get(), nullptr)), 6);
}

TEST_F(KeptPropertiesTest, EventsFollowTheirDeclaration) {
    long n = 5;
    std::string text = "t";
    // Without a sink the event goes nowhere and the variables stay.
    control->RaiseEvent(kCount, n, text);
    EXPECT_EQ(n, 5);
    // A count or an event the description lacks is a fault of the control: 5.
    struct Bad {
        const char* what;
        DISPID id;
        int args;
    };
    for (const Bad& b : {Bad{"one argument short", kCount, 1}, Bad{"undeclared", 99, 0}}) {
        EXPECT_EQ(glimtest::ErrorNumberOf([&] {
                      if (b.args == 1)
                          control->RaiseEvent(b.id, n);
                      else
                          control->RaiseEvent(b.id);
                  }),
                  5)
            << b.what;
    }
}

} // namespace

namespace {

// Raised from outside any message of the control (as from a timer of its
// own) with a handler dropping the last reference: the control's code after
// the event still runs on a live control, which goes at the next message.
TEST_F(KeptPropertiesTest, AnEventThatDropsTheLastReferenceEndsTheControlAfterIt) {
    bool ended = false;
    control->ended = &ended;
    ReleasingSink handler;
    handler.holder = &unknown;
    glim::ComPtr<IConnectionPoint> events;
    ASSERT_EQ(unknown.As<IConnectionPointContainer>()->FindConnectionPoint(IID_IDispatch, events.put()),
              S_OK);
    DWORD eventsCookie = 0;
    ASSERT_EQ(events->Advise(&handler, &eventsCookie), S_OK);
    point->Unadvise(cookie);
    point.reset();
    events.reset();
    long n = 1;
    std::string text;
    control->RaiseEvent(kCount, n, text);
    EXPECT_FALSE(unknown);
    EXPECT_FALSE(ended);
    control->PutStored(kCaption, *glim::Variant::String(L"still here"));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(ended);
}

} // namespace

// ---- what a key can say besides its name, type and default ----

constexpr DISPID kTold = 1;
constexpr tl::Member kKeyMembers[] = {
    {"Told", kTold, tl::MemberKind::Property, {tl::VarType::I4}, tl::kGet | tl::kPut},
};
// Written BASE, OVER, ALW, TOLD; read ALW, BASE, OVER, TOLD.
constexpr tl::Persisted kPlacedKeys[] = {
    {"BASE", nullptr, tl::VarType::I4, {tl::DefaultFrom::SysColor, COLOR_BTNFACE}, false, false, 2},
    {"OVER", nullptr, tl::VarType::I4, {tl::DefaultFrom::Key, 0, "BASE"}, false, false, 3},
    {"ALW", nullptr, tl::VarType::I4, {tl::DefaultFrom::Constant, 5}, false, true, 1},
    {"TOLD", "Told", tl::VarType::I4, {}, false, false, 4},
};
static_assert(tl::ValidReadingOrder(kPlacedKeys));
constexpr tl::CoClass kPlacedDescription{"Placed", nullptr,     nullptr, nullptr,
                                         true,     kKeyMembers, {},      kPlacedKeys};

glim::ControlBase* MakePlaced();
const glim::ControlClass kPlacedClass{
    "Placed",     &kKeptClsid, &IID__PropertyPage1, &IID_IDispatch,           0,
    SIZE{40, 20}, nullptr,     &MakePlaced,         glim::kControlMiscStatus, &kPlacedDescription};

// TOLD loads as its put, telling the container.
class PlacedControl final : public glim::Control<PlacedControl, _PropertyPage1> {
  public:
    static const glim::Binding<PlacedControl> kBindings[];
    PlacedControl();
    long base = 0, over = 0, alw = 0, told = 0;
};

const glim::Binding<PlacedControl> PlacedControl::kBindings[] = {
    {"BASE", &PlacedControl::base},
    {"OVER", &PlacedControl::over},
    {"ALW", &PlacedControl::alw},
    {"Told", &PlacedControl::told, nullptr, nullptr, glim::kLoadsAsPut},
};

PlacedControl::PlacedControl() : Control(kPlacedClass, kBindings) {}

glim::ControlBase* MakePlaced() {
    return PlacedControl::CreateInstance();
}

// A bag that remembers the names it was asked for, in order.
class ReadLog final : public glim::UncountedComObject<ReadLog, IPropertyBag> {
  public:
    glim::ComPtr<glim::MemoryPropertyBag> bag = glim::MemoryPropertyBag::Create();
    std::vector<std::wstring> asked;
    void* Find(REFIID iid) {
        return iid == IID_IUnknown || iid == IID_IPropertyBag ? static_cast<IPropertyBag*>(this) : nullptr;
    }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override {
        asked.emplace_back(name);
        return bag->Read(name, value, log);
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override { return bag->Write(name, value); }
};

TEST(PersistedKeyFeatures, OrderDefaultsAlwaysWrittenAndPutsOnLoad) {
    const long face = static_cast<long>(GetSysColor(COLOR_BTNFACE));
    struct Case {
        const char* what;
        std::vector<std::pair<const wchar_t*, long>> stored;
        long base, over;
        std::vector<std::pair<std::string, std::string>> saved; // what a save writes back
    } cases[] = {
        // The system colour at load, an RGB value; ALW written at its default.
        {"empty bag", {}, face, face, {{"ALW", "5"}}},
        // OVER's default is BASE as just read, so it is left out again.
        {"BASE only", {{L"BASE", 0x123456}}, 0x123456, 0x123456, {{"BASE", "1193046"}, {"ALW", "5"}}},
        {"both",
         {{L"OVER", 7}, {L"BASE", 0x123456}, {L"TOLD", 3}},
         0x123456,
         7,
         {{"BASE", "1193046"}, {"OVER", "7"}, {"ALW", "5"}, {"TOLD", "3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReadLog log;
        for (const auto& [k, v] : c.stored) {
            glim::Variant value = glim::Variant::Long(v);
            log.bag->Write(k, value.get());
        }
        auto* placed = static_cast<PlacedControl*>(MakePlaced());
        glim::ComPtr<IUnknown> unknown(placed->Unknown());
        NotifySink sink;
        glim::ComPtr<IConnectionPoint> cp;
        ASSERT_EQ(
            unknown.As<IConnectionPointContainer>()->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()),
            S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
        ASSERT_EQ(unknown.As<IPersistPropertyBag>()->Load(&log, nullptr), S_OK);
        cp->Unadvise(cookie);
        EXPECT_EQ(log.asked, (std::vector<std::wstring>{L"ALW", L"BASE", L"OVER", L"TOLD"}));
        EXPECT_EQ(placed->base, c.base);
        EXPECT_EQ(placed->over, c.over);
        // TOLD went through its put, present or not.
        EXPECT_EQ(sink.changed, std::vector<DISPID>{kTold});

        auto out = glim::MemoryPropertyBag::Create();
        ASSERT_EQ(unknown.As<IPersistPropertyBag>()->Save(out.get(), TRUE, FALSE), S_OK);
        EXPECT_EQ(Contents(*out.get()), c.saved);
    }
}
