#include "PropertyBag.h"
#include "Text.h"

#include <gtest/gtest.h>
#include <olectl.h>

using namespace glim::host;
using glim::ComPtr;
using glim::Variant;

namespace {

HRESULT Write(PropertyBag* bag, const wchar_t* key, const Variant& value) {
    Variant v = value;
    return bag->Write(key, v.get());
}

HRESULT Read(PropertyBag* bag, const wchar_t* key, VARTYPE want, Variant& out) {
    out = Variant();
    out.get()->vt = want;
    return bag->Read(key, out.get(), nullptr);
}

TEST(PropertyBag, KeepsFirstWriteOrderAndMatchesKeysWithoutCase) {
    ComPtr<PropertyBag> bag = PropertyBag::Create();
    ASSERT_EQ(S_OK, Write(bag.get(), L"Zeta", Variant::Long(1)));
    ASSERT_EQ(S_OK, Write(bag.get(), L"alpha", Variant::Long(2)));
    ASSERT_EQ(S_OK, Write(bag.get(), L"Mid", Variant::Long(3)));
    // Rewriting a key under other case keeps its place and its first spelling.
    ASSERT_EQ(S_OK, Write(bag.get(), L"ALPHA", Variant::Long(20)));
    EXPECT_EQ((std::vector<std::string>{"Zeta", "alpha", "Mid"}), bag->Keys());
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"Alpha", VT_I4, v));
    EXPECT_EQ(20, v.get()->lVal);
}

TEST(PropertyBag, ReadConvertsToTheRequestedTypeAndRefusesMissingKeys) {
    ComPtr<PropertyBag> bag = PropertyBag::Create();
    Write(bag.get(), L"Style", Variant::String("42"));
    Write(bag.get(), L"Name", Variant::String("abc"));
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"style", VT_I4, v));
    EXPECT_EQ(VT_I4, v.vt());
    EXPECT_EQ(42, v.get()->lVal);
    ASSERT_EQ(S_OK, Read(bag.get(), L"Style", VT_EMPTY, v));
    EXPECT_EQ(VT_BSTR, v.vt());
    EXPECT_EQ(E_INVALIDARG, Read(bag.get(), L"Missing", VT_I4, v));
    EXPECT_TRUE(FAILED(Read(bag.get(), L"Name", VT_I4, v)));
    EXPECT_EQ(VT_EMPTY, v.vt());
}

TEST(PropertyBag, KeepsObjectsAsObjects) {
    FONTDESC desc{sizeof(FONTDESC),
                  const_cast<LPOLESTR>(L"Arial"),
                  {{90000, 0}},
                  FW_BOLD,
                  ANSI_CHARSET,
                  FALSE,
                  FALSE,
                  FALSE};
    ComPtr<IFontDisp> font;
    ASSERT_EQ(S_OK, OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void()));
    ComPtr<PropertyBag> bag = PropertyBag::Create();
    Write(bag.get(), L"Font", Variant::Object(font.get()));
    Variant v;
    ASSERT_EQ(S_OK, Read(bag.get(), L"Font", VT_DISPATCH, v));
    ComPtr<IUnknown> got, want;
    v.get()->pdispVal->QueryInterface(IID_IUnknown, got.put_void());
    font->QueryInterface(IID_IUnknown, want.put_void());
    EXPECT_EQ(want.get(), got.get());
}

TEST(PropertyBag, TextFormKeepsOrderAndSurvivesLineBreaksInValues) {
    ComPtr<PropertyBag> bag = PropertyBag::Create();
    bag->Set("Caption", Variant::String("a\r\nb\\c=d"));
    bag->Set("Style", Variant::Long(3));
    bag->Set("Empty", Variant());
    const std::string text = bag->ToText();
    EXPECT_EQ("Caption=a\\r\\nb\\\\c=d\r\nStyle=3\r\nEmpty=\r\n", text);
    ComPtr<PropertyBag> back = PropertyBag::FromText(text);
    EXPECT_EQ(bag->Keys(), back->Keys());
    EXPECT_EQ("a\r\nb\\c=d", back->Get("caption").ToText());
    EXPECT_EQ(3, back->Get("Style").ToLong());
    EXPECT_EQ("", back->Get("Empty").ToText());
}

} // namespace
