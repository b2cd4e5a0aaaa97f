#include <gtest/gtest.h>

#include "dialogs/PreviewGeometry.h"

namespace {

const QSize kBars(20, 20);

}  // namespace

TEST(PreviewGeometry, FitEnlargesOnlyByWholeMultiples)
{
    // 3.4 times smaller: shown at 3 times, reported as 300 %.
    EXPECT_EQ(GetFitZoom({100, 100}, {340, 340}), 300);
    EXPECT_EQ(GetDisplaySize({100, 100}, 0, {340, 340}), QSize(300, 300));
    // 1.5 times smaller: shown at its own size, reported as 100 %.
    EXPECT_EQ(GetFitZoom({100, 100}, {150, 150}), 100);
    EXPECT_EQ(GetDisplaySize({100, 100}, 0, {150, 150}), QSize(100, 100));
    // Shrinking fits exactly; a zoom is plain arithmetic.
    EXPECT_EQ(GetFitZoom({2480, 3508}, {1000, 800}), 22);
    EXPECT_EQ(GetDisplaySize({2480, 3508}, 0, {1000, 800}), QSize(566, 800));
    EXPECT_EQ(GetDisplaySize({2480, 3508}, 25, {1000, 800}), QSize(620, 877));
    EXPECT_EQ(GetDisplaySize({}, 100, {1000, 800}), QSize(0, 0));
    EXPECT_EQ(GetFitZoom({}, {1000, 800}), 0);
}

TEST(PreviewGeometry, ThinStripsKeepAPixelAndSaneZooms)
{
    EXPECT_EQ(GetDisplaySize({1, 20000}, 0, {1000, 800}), QSize(1, 800));
    EXPECT_EQ(GetFitZoom({1, 20000}, {1000, 800}), 100);
    EXPECT_EQ(GetDisplaySize({20000, 1}, 0, {1000, 800}), QSize(1000, 1));
    EXPECT_EQ(GetFitZoom({20000, 1}, {1000, 800}), 5);
    EXPECT_EQ(GetDisplaySize({20000, 1}, 1000, {1000, 800}), QSize(200000, 10));
    // An empty client still gives a drawable size.
    EXPECT_EQ(GetDisplaySize({100, 100}, 0, {0, 0}), QSize(1, 1));
}

TEST(PreviewGeometry, ZoomStepsInsertFitWhereItFalls)
{
    // Fit at 37 %: up 50, 75, 100; down 25; from 50 down Fit, then 25.
    EXPECT_EQ(ZoomInStep(0, 37), 50);
    EXPECT_EQ(ZoomInStep(50, 37), 75);
    EXPECT_EQ(ZoomInStep(75, 37), 100);
    EXPECT_EQ(ZoomOutStep(0, 37), 25);
    EXPECT_EQ(ZoomOutStep(50, 37), 0);
    EXPECT_EQ(ZoomInStep(25, 37), 0);
    EXPECT_EQ(ZoomOutStep(25, 37), std::nullopt);
    EXPECT_EQ(ZoomOutStep(25, 20), 0);
    EXPECT_EQ(ZoomInStep(100, 300), 200);
    EXPECT_EQ(ZoomInStep(200, 300), 300);
}

TEST(PreviewGeometry, ZoomInAt1000GoesBackToFitOnlyWhenFitIsThatLarge)
{
    EXPECT_EQ(ZoomInStep(1000, 300), std::nullopt);
    EXPECT_EQ(ZoomInStep(1000, 1000), 0);
    EXPECT_EQ(ZoomInStep(1000, 1200), 0);
    EXPECT_EQ(ZoomOutStep(1000, 300), 900);
}

TEST(PreviewGeometry, ZoomKeepsTheImagePointUnderTheCursor)
{
    const QPoint cursor(120, 80);
    const QPoint scroll(300, 500);
    const QPoint after = ScrollKeepingPoint(scroll, cursor, {1000, 2000}, {2000, 4000});
    // Image point (420, 580) of 1000 x 2000 is at (840, 1160) of the double size.
    EXPECT_EQ(after + cursor, QPoint(840, 1160));
    const QPoint back = ScrollKeepingPoint(after, cursor, {2000, 4000}, {750, 1500});
    EXPECT_EQ(back + cursor, QPoint(315, 435));
    // Without an image before, the offsets stay.
    EXPECT_EQ(ScrollKeepingPoint(scroll, cursor, {0, 0}, {10, 10}), scroll);
}

TEST(PreviewGeometry, HorizontalBarCanBringTheVerticalOne)
{
    // Only the width is too large; the horizontal bar then takes the height.
    const ScrollBarLayout a = LayoutScrollBars({1010, 990}, {1000, 1000}, {}, kBars);
    EXPECT_TRUE(a.horz);
    EXPECT_TRUE(a.vert);
    EXPECT_EQ(a.page, QSize(980, 980));
    // Only the height is too large; the vertical bar makes the width too small.
    const ScrollBarLayout b = LayoutScrollBars({990, 1010}, {1000, 1000}, {}, kBars);
    EXPECT_TRUE(b.horz);
    EXPECT_TRUE(b.vert);
    // Width too large but room left for the height: one bar.
    const ScrollBarLayout c = LayoutScrollBars({1010, 970}, {1000, 1000}, {}, kBars);
    EXPECT_TRUE(c.horz);
    EXPECT_FALSE(c.vert);
    EXPECT_EQ(c.page, QSize(1000, 980));
}

TEST(PreviewGeometry, OffsetsAreClampedOrCentre)
{
    const ScrollBarLayout big = LayoutScrollBars({2000, 2000}, {1000, 1000}, {5000, -7}, kBars);
    EXPECT_EQ(big.position, QPoint(1020, 0));
    EXPECT_EQ(big.offset, big.position);
    const ScrollBarLayout small = LayoutScrollBars({100, 51}, {400, 300}, {30, 40}, kBars);
    EXPECT_FALSE(small.horz || small.vert);
    EXPECT_EQ(small.position, QPoint(0, 0));
    EXPECT_EQ(small.offset, QPoint(-150, -124));
    // Wide and short: scrolls across, centred down.
    const ScrollBarLayout wide = LayoutScrollBars({3000, 100}, {1000, 800}, {10, 10}, kBars);
    EXPECT_EQ(wide.offset, QPoint(10, -340));
}

TEST(PreviewGeometry, ScrollDeltasAreClamped)
{
    EXPECT_EQ(ScrollPosition(100, 50, 120), 120);
    EXPECT_EQ(ScrollPosition(10, -30, 120), 0);
    EXPECT_EQ(ScrollPosition(10, 20, 120), 30);
}

TEST(PreviewGeometry, ZoomTexts)
{
    EXPECT_EQ(GetZoomText(0), "Fit");
    EXPECT_EQ(GetZoomText(200), "200%");
}
