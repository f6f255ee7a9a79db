// The one colour translation and the failures its callers choose from.
#include <windows.h>

#include <gtest/gtest.h>

#include "OleColor.h"

TEST(OleColor, TranslatesWhatThePlatformCanAndNothingElse) {
    struct Case {
        OLE_COLOR in;
        bool translates;
        COLORREF out;
    };
    const Case cases[] = {
        {0x00336699, true, 0x00336699},                 // plain RGB
        {0x8000000F, true, GetSysColor(COLOR_BTNFACE)}, // system colour
        {0x80000005, true, GetSysColor(COLOR_WINDOW)},  // another, by its index
        {0x01000003, true, 0x01000003},                 // palette index, no palette
        {0x80FFFFFF, false, 0},                         // no such system colour
        {0x05000000, false, 0},                         // unknown kind
    };
    for (const Case& c : cases) {
        const std::optional<COLORREF> rgb = glim::TranslateColor(c.in);
        EXPECT_EQ(rgb.value_or(0xFFFFFFFF), c.translates ? c.out : 0xFFFFFFFF) << std::hex << c.in;
    }
}
