// The slider's numbers on their own: outer sizes, thumb positions and the
// values they stand for (halves to even), the groove and the value tip.
#include "SliderGeometry.h"

#include <gtest/gtest.h>

using namespace glim;

namespace {

SliderSizes Horizontal(double width, double thumbW = 8, double thumbH = 20) {
    return SliderSizes{kSliderHorizontal, width, thumbH, thumbW, thumbH, false, 0, 0};
}
SliderSizes Vertical(double height, double thumbW = 20, double thumbH = 8) {
    return SliderSizes{kSliderVertical, thumbW, height, thumbW, thumbH, false, 0, 0};
}

} // namespace

TEST(SliderGeometry, ThumbPositionsGiveValuesWithTiesToEvenAndSnapBack) {
    struct Case {
        SliderSizes sizes;
        double position; // thumb left or top
        long min, range;
        std::optional<short> value;
        double snapped;
    } cases[] = {
        {Horizontal(72), 44, 0, 8, 6, 48}, // 5.5 -> 6
        {Horizontal(72), 36, 0, 8, 4, 32}, // 4.5 -> 4
        {Horizontal(72), 46, 0, 8, 6, 48}, // 5.75 -> 6
        {Horizontal(72), 0, 0, 8, 0, 0},
        {Horizontal(72), 64, 0, 8, 8, 64},
        {Horizontal(72), 20, -10, 4, -9, 16},                // -8.75 -> -9
        {Horizontal(72), 40, -5, 4, -2, 48},                 // -2.5 -> -2
        {Vertical(72), 64, 0, 8, 0, 64},                     // bottom is the minimum
        {Vertical(72), 0, 0, 8, 8, 0},                       // top is the maximum
        {Vertical(72), 20, 0, 8, 6, 16},                     // 5.5 -> 6
        {Vertical(72), 28, 0, 8, 4, 32},                     // 4.5 -> 4
        {Horizontal(8), 0, 0, 10, std::nullopt, 0},          // no track: no value at all
        {Vertical(8), 0, -5, 10, std::nullopt, 0},           //
        {Horizontal(72), 64, 32000, 32767, std::nullopt, 0}, // beyond 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position << " range " << c.range);
        const std::optional<short> v = ValueAtThumb(c.sizes, c.position, c.min, c.range);
        ASSERT_EQ(v, c.value);
        if (!v) continue;
        const double back = c.sizes.orientation == kSliderVertical
                                ? ThumbTopFor(c.sizes, *v, c.min, c.range)
                                : ThumbLeftFor(c.sizes, *v, c.min, c.range);
        EXPECT_DOUBLE_EQ(back, c.snapped);
    }
}

TEST(SliderGeometry, AZeroRangeRestsAtTheStart) {
    EXPECT_DOUBLE_EQ(ThumbLeftFor(Horizontal(100), 5, 5, 0), 0);
    EXPECT_DOUBLE_EQ(ThumbTopFor(Vertical(100), 5, 5, 0), 92);
}

TEST(SliderGeometry, DragsStayOnTheTrack) {
    const struct {
        SliderSizes sizes;
        double in, out;
    } cases[] = {
        {Horizontal(72), -3, 0},  {Horizontal(72), 30.5, 30.5}, {Horizontal(72), 64, 64},
        {Horizontal(72), 90, 64}, {Vertical(50), -1, 0},        {Vertical(50), 45, 42},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ClampToTrack(c.sizes, c.in), c.out) << c.in;
}

TEST(SliderGeometry, OuterSizeFollowsTheThumbOrTheRail) {
    auto rail = [](long orientation, double railW, double railH, double thumbW, double thumbH) {
        return SliderSizes{orientation, 0, 0, thumbW, thumbH, true, railW, railH};
    };
    struct Case {
        const char* label;
        SliderSizes sizes;
        long width, height; // twips now
        std::optional<TwipSize> want;
    } cases[] = {
        {"rail 100 x 10", rail(kSliderHorizontal, 100, 10, 8, 21), 3000, 3000, TwipSize{1560, 315}},
        {"rail 100 x 30", rail(kSliderHorizontal, 100, 30, 8, 21), 3000, 3000, TwipSize{1560, 450}},
        {"vertical rail", rail(kSliderVertical, 10, 100, 21, 8), 3000, 3000, TwipSize{315, 1560}},
        {"vertical wide rail", rail(kSliderVertical, 30, 100, 21, 8), 3000, 3000, TwipSize{450, 1560}},
        {"new horizontal", Horizontal(0, 8, 21), 1260, 1680, TwipSize{1260, 315}},
        {"width 0", Horizontal(0, 8, 21), 0, 1680, TwipSize{120, 315}},
        {"already fitting", Horizontal(0, 8, 21), 1260, 315, std::nullopt},
        {"vertical", Vertical(0, 21, 8), 1260, 1680, TwipSize{315, 1680}},
        {"vertical height 0", Vertical(0, 21, 8), 1260, 0, TwipSize{315, 120}},
        {"other orientation", SliderSizes{2, 0, 0, 8, 21, false, 0, 0}, 1260, 1680, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto got = FittedOuterSize(c.sizes, c.width, c.height);
        ASSERT_EQ(got.has_value(), c.want.has_value());
        if (!got) continue;
        EXPECT_EQ(got->width, c.want->width);
        EXPECT_EQ(got->height, c.want->height);
    }
}

TEST(SliderGeometry, RailAndThumbAcrossTheTrack) {
    const SliderSizes low{kSliderHorizontal, 104, 21, 8, 21, true, 100, 10};
    EXPECT_DOUBLE_EQ(RailOrigin(low).x, 2);
    EXPECT_DOUBLE_EQ(RailOrigin(low).y, 5.5);
    EXPECT_DOUBLE_EQ(ThumbCrossPosition(low), 0);
    const SliderSizes tall{kSliderHorizontal, 104, 30, 8, 21, true, 100, 30};
    EXPECT_DOUBLE_EQ(ThumbCrossPosition(tall), 4.5);
    const SliderSizes wide{kSliderVertical, 30, 104, 21, 8, true, 30, 100};
    EXPECT_DOUBLE_EQ(ThumbCrossPosition(wide), 4.5);
    EXPECT_DOUBLE_EQ(RailOrigin(wide).x, 0);
    EXPECT_DOUBLE_EQ(RailOrigin(wide).y, 2);
}

TEST(SliderGeometry, GrooveRunsFromThumbCentreToThumbCentre) {
    struct Case {
        SliderSizes sizes;
        RECT want;
    } cases[] = {
        {Horizontal(100, 8, 21), {2, 8, 98, 12}}, // top round(8.5) = 8
        {Horizontal(100, 8, 19), {2, 8, 98, 12}}, // top round(7.5) = 8
        {Horizontal(100, 9, 21), {2, 8, 97, 12}}, // left round(2.5) = 2
        {Horizontal(72, 8, 20), {2, 8, 70, 12}},  {Vertical(100, 21, 8), {8, 2, 12, 98}},
        {Vertical(100, 19, 9), {8, 2, 12, 97}},
    };
    for (const Case& c : cases) {
        const auto r = GrooveRect(c.sizes);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->left, c.want.left);
        EXPECT_EQ(r->top, c.want.top);
        EXPECT_EQ(r->right, c.want.right);
        EXPECT_EQ(r->bottom, c.want.bottom);
    }
    EXPECT_FALSE(GrooveRect(SliderSizes{7, 100, 20, 8, 20, false, 0, 0}));
}

TEST(SliderGeometry, RailStylesPickTheirEdges) {
    const struct {
        long style;
        std::optional<UINT> edge;
    } cases[] = {{0, EDGE_SUNKEN}, {1, EDGE_RAISED},  {2, BDR_SUNKENOUTER}, {3, BDR_RAISEDINNER},
                 {4, 0u},          {5, std::nullopt}, {-1, std::nullopt},   {99, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(GrooveEdge(c.style), c.edge) << c.style;
}

TEST(SliderGeometry, ValueTipSitsAboveOrBesideTheThumb) {
    struct Case {
        SliderSizes sizes;
        double left, top, labelW, labelH;
        RECT want;
    } cases[] = {
        // round(200 + 40 + (8 - 12 - 4) * 0.5) = 236, round(300 - 17) = 283
        {Horizontal(100, 8, 20), 40, 0, 12, 12, {236, 283, 252, 298}},
        {Horizontal(100, 9, 21), 40, 0, 12, 12, {236, 283, 252, 298}}, // 236.5 -> 236
        {Horizontal(100, 9, 21), 41, 0, 12, 12, {238, 283, 254, 298}}, // 237.5 -> 238
        // round(200 + 0 - 12 - 6), round(300 + 50 + (8 - 12 - 4) * 0.5)
        {Vertical(100, 20, 8), 0, 50, 12, 12, {182, 346, 198, 361}},
        {Vertical(100, 20, 9), 0, 50, 12, 12, {182, 346, 198, 361}}, // 346.5 -> 346
    };
    for (const Case& c : cases) {
        const auto r = ValueTipRect(c.sizes, POINT{200, 300}, c.left, c.top, c.labelW, c.labelH);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->left, c.want.left);
        EXPECT_EQ(r->top, c.want.top);
        EXPECT_EQ(r->right, c.want.right);
        EXPECT_EQ(r->bottom, c.want.bottom);
    }
}
