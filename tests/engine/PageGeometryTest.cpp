#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/PageGeometry.h"

namespace {

TEST(PageGeometryTest, PercentToPixelsRoundsHalfAwayAndStaysWithinTheSide)
{
    EXPECT_EQ(PercentToPixels(5, 10), 1);   // 0.5
    EXPECT_EQ(PercentToPixels(15, 10), 2);  // 1.5
    EXPECT_EQ(PercentToPixels(1000, 100), 1000);
    // A damaged setting never cuts more than the side, nor adds by a negative cut.
    EXPECT_EQ(PercentToPixels(1000, 250), 1000);
    EXPECT_EQ(PercentToPixels(1000, -9999), 0);
    const RECT px = PercentRectToPixels({10, 20, 30, 40}, 1000, 800);
    EXPECT_EQ(px, (RECT{100, 160, 300, 320}));
}

TEST(PageGeometryTest, FoldAngleGivesTheSameSlantWithinAQuarterTurn)
{
    EXPECT_DOUBLE_EQ(FoldAngle(170.0), -10.0);
    EXPECT_DOUBLE_EQ(FoldAngle(-135.0), 45.0);
    EXPECT_DOUBLE_EQ(FoldAngle(90.0), 90.0);
    EXPECT_DOUBLE_EQ(FoldAngle(-90.0), -90.0);
    EXPECT_DOUBLE_EQ(FoldAngle(180.0), 0.0);
    EXPECT_DOUBLE_EQ(FoldAngle(1e12 + 10.0), FoldAngle(std::fmod(1e12 + 10.0, 360.0)));
    // Not a number in, not a number out, and no endless folding.
    EXPECT_TRUE(std::isinf(FoldAngle(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(FoldAngle(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
