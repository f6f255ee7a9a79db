#include "MemoryPropertyBag.h"

#include "GlimError.h"

#include <gtest/gtest.h>
#include <olectl.h>

using glim::ComPtr;
using glim::MemoryPropertyBag;
using glim::Variant;

namespace {

HRESULT Write(MemoryPropertyBag* bag, const wchar_t* key, const Variant& value) {
    Variant v = value;
    return bag->Write(key, v.get());
}

HRESULT Read(MemoryPropertyBag* bag, const wchar_t* key, VARTYPE want, Variant& out) {
    out = Variant();
    V_VT(out.get()) = want;
    return bag->Read(key, out.get(), nullptr);
}

ComPtr<IFontDisp> MakeFont(const wchar_t* name) {
    FONTDESC desc{sizeof(FONTDESC),
                  const_cast<LPOLESTR>(name),
                  {{90000, 0}},
                  FW_BOLD,
                  GB2312_CHARSET,
                  FALSE,
                  FALSE,
                  FALSE};
    ComPtr<IFontDisp> font;
    EXPECT_EQ(S_OK, OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void()));
    return font;
}

ComPtr<IStream> NewStream() {
    ComPtr<IStream> s;
    EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, s.put()));
    return s;
}

void Rewind(IStream* s) {
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
}

TEST(MemoryPropertyBag, KeepsFirstWriteOrderAndMatchesKeysWithoutCase) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    ASSERT_EQ(S_OK, Write(bag.get(), L"Zeta", Variant::Long(1)));
    ASSERT_EQ(S_OK, Write(bag.get(), L"alpha", Variant::Long(2)));
    ASSERT_EQ(S_OK, Write(bag.get(), L"Mid", Variant::Long(3)));
    // Rewriting a key under other case keeps its place and its first spelling.
    ASSERT_EQ(S_OK, Write(bag.get(), L"ALPHA", Variant::Long(20)));
    EXPECT_EQ((std::vector<std::string>{"Zeta", "alpha", "Mid"}), bag->Keys());
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"Alpha", VT_I4, v));
    EXPECT_EQ(20, V_I4(v.get()));
    EXPECT_TRUE(bag->Contains("MID"));
    EXPECT_EQ(3, bag->Get("mid").ToLong());
}

TEST(MemoryPropertyBag, ReadConvertsToTheRequestedTypeAndRefusesMissingKeys) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    Write(bag.get(), L"Style", Variant::String(L"42"));
    Write(bag.get(), L"Name", Variant::String(L"abc"));
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"style", VT_I4, v));
    EXPECT_EQ(VT_I4, v.vt());
    EXPECT_EQ(42, V_I4(v.get()));
    ASSERT_EQ(S_OK, Read(bag.get(), L"Style", VT_EMPTY, v));
    EXPECT_EQ(VT_BSTR, v.vt());
    EXPECT_EQ(E_INVALIDARG, Read(bag.get(), L"Missing", VT_I4, v));
    EXPECT_TRUE(FAILED(Read(bag.get(), L"Name", VT_I4, v)));
    EXPECT_EQ(VT_EMPTY, v.vt());
    EXPECT_FALSE(bag->Contains("Missing"));
    EXPECT_THROW(bag->Get("Missing"), glim::Error);
}

TEST(MemoryPropertyBag, KeepsObjectsAsObjectsAndValuesBehindReferences) {
    ComPtr<IFontDisp> font = MakeFont(L"Arial");
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    Write(bag.get(), L"Font", Variant::Object(font.get()));
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"Font", VT_DISPATCH, v));
    ComPtr<IUnknown> got, want;
    V_DISPATCH(v.get())->QueryInterface(IID_IUnknown, got.put_void());
    font->QueryInterface(IID_IUnknown, want.put_void());
    EXPECT_EQ(want.get(), got.get());
    // A by-reference argument is kept as the value it points at.
    LONG n = 7;
    VARIANT ref;
    V_VT(&ref) = VT_BYREF | VT_I4;
    V_I4REF(&ref) = &n;
    ASSERT_EQ(S_OK, bag->Write(L"Count", &ref));
    n = 8;
    EXPECT_EQ(VT_I4, bag->Get("Count").vt());
    EXPECT_EQ(7, bag->Get("Count").ToLong());
}

TEST(MemoryPropertyBag, StreamKeepsEveryKindOfValueInOrder) {
    CY cy{};
    cy.int64 = 123456789;
    Variant i2 = Variant::Integer(-2), ui1, r4, date, currency, null,
            text = Variant::String(std::string("a\0b", 3));
    V_VT(ui1.get()) = VT_UI1, V_UI1(ui1.get()) = 200;
    V_VT(r4.get()) = VT_R4, V_R4(r4.get()) = 1.5f;
    V_VT(date.get()) = VT_DATE, V_DATE(date.get()) = 45000.25;
    V_VT(currency.get()) = VT_CY, V_CY(currency.get()) = cy;
    V_VT(null.get()) = VT_NULL;
    const struct {
        const char* key;
        Variant value;
    } cases[] = {
        {"Small", i2},
        {"Long", Variant::Long(70000)},
        {"Flag", Variant::Bool(true)},
        {"Byte", ui1},
        {"Single", r4},
        {"Double", Variant::Double(-2.25)},
        {"When", date},
        {"Money", currency},
        {"Text", text},
        {"Nothing", Variant()},
        {"Null", null},
        {"Missing", Variant::Error()},
        {"Font", Variant::Object(MakeFont(L"宋体").get())},
    };
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    for (const auto& c : cases)
        bag->Set(c.key, c.value);
    ComPtr<IStream> stream = NewStream();
    ASSERT_EQ(S_OK, bag->SaveTo(stream.get()));
    Rewind(stream.get());
    ComPtr<MemoryPropertyBag> back = MemoryPropertyBag::Create();
    ASSERT_EQ(S_OK, back->LoadFrom(stream.get()));
    EXPECT_EQ(bag->Keys(), back->Keys());
    for (const auto& c : cases) {
        const Variant got = back->Get(c.key);
        ASSERT_EQ(c.value.vt(), got.vt()) << c.key;
        switch (got.vt()) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_ERROR:
            EXPECT_EQ(V_ERROR(c.value.get()), V_ERROR(got.get()));
            break;
        case VT_BSTR:
            EXPECT_EQ(std::wstring(L"a\0b", 3),
                      std::wstring(V_BSTR(got.get()), SysStringLen(V_BSTR(got.get()))));
            break;
        case VT_DISPATCH: {
            ComPtr<IFont> font;
            ASSERT_EQ(S_OK, V_DISPATCH(got.get())->QueryInterface(IID_IFont, font.put_void()));
            glim::Bstr name;
            font->get_Name(name.put());
            EXPECT_STREQ(L"宋体", name.get());
            break;
        }
        default:
            EXPECT_EQ(VARCMP_EQ, VarCmp(const_cast<VARIANT*>(c.value.get()), const_cast<VARIANT*>(got.get()),
                                        LOCALE_USER_DEFAULT, 0))
                << c.key;
        }
    }
}

TEST(MemoryPropertyBag, FailedSaveOrLoadIsReportedAndLosesNothing) {
    ComPtr<MemoryPropertyBag> kept = MemoryPropertyBag::Create();
    kept->Set("Caption", Variant::String(L"kept"));
    ComPtr<MemoryPropertyBag> good = MemoryPropertyBag::Create();
    good->Set("Caption", Variant::String(L"new text"));
    good->Set("Style", Variant::Long(3));
    ComPtr<IStream> saved = NewStream();
    ASSERT_EQ(S_OK, good->SaveTo(saved.get()));
    STATSTG stat{};
    saved->Stat(&stat, STATFLAG_NONAME);
    const ULONG whole = stat.cbSize.LowPart;

    // An object that cannot persist itself fails the save.
    ComPtr<MemoryPropertyBag> unsaveable = MemoryPropertyBag::Create();
    unsaveable->Set("Inner", Variant::Unknown(MemoryPropertyBag::Create().get()));
    EXPECT_TRUE(FAILED(unsaveable->SaveTo(NewStream().get())));

    // Every cut of a good stream, and a foreign one, fails the load.
    for (ULONG cut = 0; cut < whole; ++cut) {
        ComPtr<IStream> part = NewStream();
        Rewind(saved.get());
        ULARGE_INTEGER n{};
        n.QuadPart = cut;
        saved->CopyTo(part.get(), n, nullptr, nullptr);
        Rewind(part.get());
        EXPECT_TRUE(FAILED(kept->LoadFrom(part.get()))) << cut;
    }
    ComPtr<IStream> foreign = NewStream();
    foreign->Write("not a bag at all", 16, nullptr);
    Rewind(foreign.get());
    EXPECT_TRUE(FAILED(kept->LoadFrom(foreign.get())));
    EXPECT_EQ(kept->Keys(), std::vector<std::string>{"Caption"});
    EXPECT_EQ("kept", kept->Get("Caption").ToText());
}

} // namespace
