#include <gtest/gtest.h>

#include "engine/PageRecord.h"
#include "engine/ShellSort.h"
#include "engine/TextSlant.h"
#include "support/PageGenerator.h"

#include <cmath>
#include <numbers>

namespace {

// A4 at 150 dpi: the generator's book page at half scale.
PageSpec HalfA4Text(bool vertical, double slant)
{
    PageSpec spec = A4TextPage(vertical, slant);
    spec.size /= 2;
    spec.textBox = QRect(spec.textBox.topLeft() / 2, spec.textBox.size() / 2);
    spec.glyphSize /= 2;
    spec.glyphGap /= 2;
    spec.lineGap /= 2;
    return spec;
}

// 164 x 246 pixels give a grid of one pixel per cell, so cell patterns can be
// drawn directly.
QImage CellImage()
{
    QImage image(164, 246, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

void FillCells(QImage& image, int col, int row, int cols, int rows)
{
    for (int y = row; y < row + rows; ++y)
        for (int x = col; x < col + cols; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
}

int Detect(const QImage& image, const CAdjustOption& option, CPageRecord& info)
{
    return DetectTextSlant(image, option, info, nullptr);
}

}  // namespace

TEST(TextGrid, SizesFollowTheShortSideOrTheLineCount)
{
    CAdjustOption option;
    int cols = 0, rows = 0;
    GetTextGridSize(1000, 1500, option, cols, rows);
    EXPECT_EQ(cols, 164);
    EXPECT_EQ(rows, 246);
    GetTextGridSize(1500, 1000, option, cols, rows);
    EXPECT_EQ(cols, 246);
    EXPECT_EQ(rows, 164);
    option.LinePerPage = 10;
    option.WritingDir = 1;
    GetTextGridSize(1000, 1500, option, cols, rows);
    EXPECT_EQ(cols, 108);
    EXPECT_EQ(rows, 162);
}

TEST(TextGrid, ExtremeShapesAndLineCountsAreBounded)
{
    CAdjustOption option;
    int cols = 0, rows = 0;
    GetTextGridSize(1, 10000, option, cols, rows);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(rows, 10000);
    GetTextGridSize(10000, 1, option, cols, rows);
    EXPECT_EQ(cols, 10000);
    EXPECT_EQ(rows, 1);
    option.LinePerPage = 999;  // 8020 cells across the lines
    GetTextGridSize(2480, 3508, option, cols, rows);
    EXPECT_LE(cols, 2480);
    EXPECT_LE(rows, 3508);
    EXPECT_LE(static_cast<long long>(cols) * rows, kMaxTextCells);
    EXPECT_NEAR(static_cast<double>(rows) / cols, 3508.0 / 2480.0, 0.01);
    option.WritingDir = 2;  // lines across a very wide strip
    GetTextGridSize(100000, 1, option, cols, rows);
    EXPECT_GE(cols, 1);
    EXPECT_EQ(rows, 1);
    // A strip as long as the loader admits: one side cannot shrink below a cell.
    option = CAdjustOption();
    GetTextGridSize(1, 268000000, option, cols, rows);
    EXPECT_EQ(cols, 1);
    EXPECT_LE(rows, kMaxTextCells);
    GetTextGridSize(268000000, 1, option, cols, rows);
    EXPECT_EQ(rows, 1);
    EXPECT_LE(cols, kMaxTextCells);
}

TEST(TextSlant, ExtremeImagesAreHandled)
{
    CAdjustOption option;
    QImage strip(1, 10000, QImage::Format_RGB32);
    strip.fill(qRgb(0, 0, 0));
    CPageRecord info;
    EXPECT_EQ(Detect(strip, option, info), 1);  // one long thin line
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, 0.0);
    option.LinePerPage = 999;
    const GeneratedPage page = GeneratePage(HalfA4Text(false, 2.0));
    CPageRecord fine;
    Detect(page.image, option, fine);
    EXPECT_GT(fine.m_nTotalCells, 0);
}

TEST(ShellSort, OrdersAscendingAndKeepsTheGapSequence)
{
    int values[40];
    for (int i = 0; i < 40; ++i)
        values[i] = (i * 17) % 40;
    ShellSort(values, 40, [](int a, int b) { return a > b ? 1 : (a == b ? 0 : -1); });
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(values[i], i);
    ShellSort(values, 0, [](int, int) { return 1; });
}

TEST(TextSlant, ThinnestLinesCount)
{
    EXPECT_EQ(SlantSampleCount(1), 1);
    EXPECT_EQ(SlantSampleCount(2), 2);
    EXPECT_EQ(SlantSampleCount(5), 3);
    EXPECT_EQ(SlantSampleCount(7), 3);
    EXPECT_EQ(SlantSampleCount(10), 5);
    EXPECT_EQ(SlantSampleCount(11), 5);
    const std::vector<USLANTDATA> list{{0.5, 1.0}, {0.1, 2.0}, {0.5, 3.0}};
    EXPECT_EQ(CompareSlantRatio(0, 1, list), 1);
    EXPECT_EQ(CompareSlantRatio(1, 0, list), -1);
    EXPECT_EQ(CompareSlantRatio(0, 2, list), 0);
}

TEST(TextSlant, FloodFillLabelsOneFourConnectedGroup)
{
    // 1 1 0
    // 0 1 0
    // 1 0 1   the corners touch only diagonally
    std::vector<int> grid{1, 1, 0, 0, 1, 0, 1, 0, 1};
    FloodFillCells(grid, 3, 3, 0, 0, 2);
    EXPECT_EQ(grid, (std::vector<int>{2, 2, 0, 0, 2, 0, 1, 0, 1}));
    FloodFillCells(grid, 3, 3, 2, 0, 3);  // an empty cell starts nothing
    EXPECT_EQ(grid[2], 0);
}

class TextSlantAngles : public ::testing::TestWithParam<std::tuple<bool, double>> {};

TEST_P(TextSlantAngles, MeasuresTheCorrectingAngle)
{
    const auto [vertical, slant] = GetParam();
    const GeneratedPage page = GeneratePage(HalfA4Text(vertical, slant));
    CAdjustOption option;
    CPageRecord info;
    ASSERT_EQ(Detect(page.image, option, info), 1);
    EXPECT_NEAR(info.m_dSlantAngle, slant, 0.5);
    RecordProperty("error", QString::number(info.m_dSlantAngle - slant, 'f', 3).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Pages, TextSlantAngles,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(-5.0, -4.0, -3.0, -2.0, -1.0, -0.5,
                                                                                 0.0, 0.5, 1.0, 2.0, 3.0, 4.0, 5.0)));

TEST(TextSlant, BlankPageIsNotText)
{
    CPageRecord info;
    EXPECT_EQ(Detect(CellImage(), CAdjustOption(), info), 0);
    EXPECT_EQ(info.m_nTotalCells, 0);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
}

TEST(TextSlant, GroupsTouchingTheBorderOutsideTheCentreCountNowhere)
{
    QImage image = CellImage();
    FillCells(image, 0, 0, 3, 246);  // a scanner rim along the left edge
    CPageRecord info;
    EXPECT_EQ(Detect(image, CAdjustOption(), info), 0);
    EXPECT_EQ(info.m_nTotalCells, 0);
}

TEST(TextSlant, LineShapedButUnmeasurableGroupsGiveSlantZero)
{
    QImage image = CellImage();
    FillCells(image, 80, 100, 2, 20);  // too short to measure
    CPageRecord info;
    EXPECT_EQ(Detect(image, CAdjustOption(), info), 1);
    EXPECT_EQ(info.m_nTotalCells, 40);
    EXPECT_EQ(info.m_nVertCells, 40);
    EXPECT_EQ(info.m_nHorzCells, 0);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, 0.0);

    QImage wide = CellImage();
    FillCells(wide, 60, 90, 9, 30);  // too wide to measure
    CPageRecord wideInfo;
    EXPECT_EQ(Detect(wide, CAdjustOption(), wideInfo), 1);
    EXPECT_EQ(wideInfo.m_nVertCells, 270);
    EXPECT_DOUBLE_EQ(wideInfo.m_dSlantAngle, 0.0);
}

TEST(TextSlant, TieBetweenDirectionsChoosesTheVerticalLines)
{
    QImage image = CellImage();
    for (int step = 0; step < 4; ++step)  // leans right going down: about +5.5 degrees
        FillCells(image, 70 + step, 80 + 10 * step, 2, 10);
    FillCells(image, 90, 150, 40, 2);  // straight horizontal line of the same cell count
    CAdjustOption option;
    CPageRecord info;
    ASSERT_EQ(Detect(image, option, info), 1);
    EXPECT_EQ(info.m_nVertCells, info.m_nHorzCells);
    EXPECT_NEAR(info.m_dSlantAngle, std::atan2(2.5, 26.0) * 180.0 / std::numbers::pi, 1e-9);
    option.WritingDir = 2;
    ASSERT_EQ(Detect(image, option, info), 1);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, 0.0);
}

TEST(TextSlant, WritingDirectionRejectsTheOtherDirection)
{
    const GeneratedPage horizontal = GeneratePage(HalfA4Text(false, 1.0));
    const GeneratedPage vertical = GeneratePage(HalfA4Text(true, 1.0));
    CAdjustOption option;
    CPageRecord info;
    option.WritingDir = 1;
    EXPECT_EQ(Detect(horizontal.image, option, info), 0);
    EXPECT_EQ(info.m_nHorzCells, 0);
    EXPECT_EQ(Detect(vertical.image, option, info), 1);
    option.WritingDir = 2;
    EXPECT_EQ(Detect(vertical.image, option, info), 0);
    EXPECT_EQ(Detect(horizontal.image, option, info), 1);
    option.WritingDir = 3;
    EXPECT_EQ(Detect(horizontal.image, option, info), 0);
}

TEST(TextSlant, PictureIsNotText)
{
    PageSpec spec = HalfA4Text(false, 0.0);
    spec.textBox = QRect();
    spec.pictureBox = QRect(150, 170, 940, 1415);
    CPageRecord info;
    EXPECT_EQ(Detect(GeneratePage(spec).image, CAdjustOption(), info), 0);
    EXPECT_GT(info.m_nTotalCells, 0);
}

TEST(TextSlant, CancelledDetectionWritesNothing)
{
    const GeneratedPage page = GeneratePage(HalfA4Text(false, 2.0));
    CPageRecord info;
    info.m_nTotalCells = 7;
    const CancelFlag cancel{1};
    EXPECT_EQ(DetectTextSlant(page.image, CAdjustOption(), info, &cancel), 0);
    EXPECT_EQ(info.m_nTotalCells, 7);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
}
