// The panel's gradient on a surface of its own: rows past the last step are
// clamped to the channel range, where a panel's border would hide them.
#include "GlimContainr.h"

#include <gtest/gtest.h>

TEST(ContainrGradient, RowsPastTheLastStepAreClamped) {
    glim::Surface s;
    s.SetSize(4, 12);
    s.SetScaleMode(glim::kScalePixels);
    // Ten rows from white to black over nine steps: the tenth lies one step past black.
    ASSERT_TRUE(glim::DrawVerticalGradient(s, 0xFFFFFF, 0x000000, 0, 9, 4, 9));
    EXPECT_EQ(GetPixel(s.hDC(), 1, 8), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(s.hDC(), 1, 9), RGB(0, 0, 0));
    // The other way one step past white stays white.
    ASSERT_TRUE(glim::DrawVerticalGradient(s, 0x000000, 0xFFFFFF, 0, 9, 4, 9));
    EXPECT_EQ(GetPixel(s.hDC(), 1, 9), RGB(255, 255, 255));
    // A colour that cannot be translated draws nothing.
    EXPECT_FALSE(glim::DrawVerticalGradient(s, 0x12345678, 0xFFFFFF, 0, 9, 4, 9));
}
