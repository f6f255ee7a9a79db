#include "PropertyBagText.h"

#include <gtest/gtest.h>

using namespace glim::host;
using glim::ComPtr;
using glim::MemoryPropertyBag;
using glim::Variant;

namespace {

TEST(PropertyBagText, KeepsOrderAndSurvivesLineBreaksInValues) {
    ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
    bag->Set("Caption", Variant::String("a\r\nb\\c=d"));
    bag->Set("Style", Variant::Long(3));
    bag->Set("Empty", Variant());
    const std::string text = BagToText(*bag.get());
    EXPECT_EQ("Caption=a\\r\\nb\\\\c=d\r\nStyle=3\r\nEmpty=\r\n", text);
    ComPtr<MemoryPropertyBag> back = BagFromText(text);
    EXPECT_EQ(bag->Keys(), back->Keys());
    EXPECT_EQ("a\r\nb\\c=d", back->Get("caption").ToText());
    EXPECT_EQ(3, back->Get("Style").ToLong());
    EXPECT_EQ("", back->Get("Empty").ToText());
}

} // namespace
