#include <gtest/gtest.h>

#include "dialogs/PreviewGrid.h"

namespace {

QList<int> VerticalXs(const QList<GridLine>& lines, QList<bool>* solid = nullptr)
{
    QList<int> xs;
    for (const GridLine& line : lines) {
        if (line.line.x1() == line.line.x2() && line.line.y1() != line.line.y2()) {
            xs.append(line.line.x1());
            if (solid != nullptr)
                solid->append(line.solid);
        }
    }
    return xs;
}

}  // namespace

TEST(PreviewGrid, StepsByZoom)
{
    EXPECT_EQ(GetGridStep(25), 100);
    EXPECT_EQ(GetGridStep(100), 100);
    EXPECT_EQ(GetGridStep(150), 10);
    EXPECT_EQ(GetGridStep(999), 10);
    EXPECT_EQ(GetGridStep(1000), 1);
}

TEST(PreviewGrid, At100EveryFifthLineIsSolid)
{
    QList<bool> solid;
    const QList<int> xs = VerticalXs(ZoomGridLines({1200, 50}, 100, {0, 0}, {1200, 50}, {0, 0, 2000, 100}), &solid);
    EXPECT_EQ(xs, (QList<int>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}));
    EXPECT_EQ(solid, (QList<bool>{false, false, false, false, true, false, false, false, false, true, false}));
}

TEST(PreviewGrid, At150LinesEveryTenPixelsInsideTheClientOnly)
{
    // Origin scrolled to -300: image pixel 200 is at 0, 210 at 15, ...
    const QList<int> xs = VerticalXs(ZoomGridLines({1000, 10}, 150, {-300, 0}, {1500, 15}, {0, 0, 100, 100}));
    EXPECT_EQ(xs, (QList<int>{0, 15, 30, 45, 60, 75, 90}));
}

TEST(PreviewGrid, At1000OnAThinStripOnlyTheVisibleLines)
{
    // 20000 x 1 at 1000 %, scrolled far right: one line per 10 display pixels, none across.
    const QList<GridLine> lines = ZoomGridLines({20000, 1}, 1000, {-150000, 0}, {200000, 10}, {0, 0, 1000, 800});
    const QList<int> xs = VerticalXs(lines);
    EXPECT_EQ(lines.size(), 100);
    EXPECT_EQ(xs.front(), 0);
    EXPECT_EQ(xs.back(), 990);
    EXPECT_TRUE(ZoomGridLines({1, 20000}, 1000, {0, -5000}, {10, 200000}, {0, 0, 1000, 800}).size() == 80);
}

TEST(PreviewGrid, FitLinesEveryFivePercentFromBothEdges)
{
    const QList<GridLine> lines = FitGridLines({10, 20}, {300, 200});
    QList<bool> solid;
    const QList<int> xs = VerticalXs(lines, &solid);
    ASSERT_EQ(xs.size(), 19);
    EXPECT_EQ(xs.first(), 25);  // 5 % from the left
    EXPECT_EQ(xs[9], 160);      // 50 %
    EXPECT_EQ(xs[10], 295);     // 5 % from the right
    EXPECT_FALSE(solid[0]);
    EXPECT_TRUE(solid[1]);
    EXPECT_EQ(lines[1].line, QLine(10, 30, 310, 30));  // horizontal at 5 % follows
}

TEST(PreviewGrid, MarginsSurroundTheImageWithoutTouchingIt)
{
    const auto margins = BackgroundMargins({0, 0, 400, 300}, {50, 40, 100, 200});
    EXPECT_EQ(margins[0], QRect(0, 0, 50, 300));
    EXPECT_EQ(margins[1], QRect(150, 0, 250, 300));
    EXPECT_EQ(margins[2], QRect(0, 0, 400, 40));
    EXPECT_EQ(margins[3], QRect(0, 240, 400, 60));
    // An image covering the client leaves no margin.
    for (const QRect& margin : BackgroundMargins({0, 0, 400, 300}, {-10, -10, 500, 500}))
        EXPECT_TRUE(margin.isEmpty());
}
