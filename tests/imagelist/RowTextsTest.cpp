#include <gtest/gtest.h>

#include "common/TextFormat.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/RowTexts.h"

namespace {

std::vector<std::pair<ListIcon, QString>> Lines(const CImageInfo& info, int id, bool debug = false)
{
    std::vector<std::pair<ListIcon, QString>> lines;
    for (const ResultLine& line : GetResultLines(info, id, debug))
        lines.emplace_back(line.icon, line.text);
    return lines;
}

}  // namespace

TEST(ColumnText, TextColumnsOfAnEntry)
{
    CImageInfo info;
    info.m_strOrigin = QStringLiteral("/scans/book.zip");
    info.m_strPath = QStringLiteral("/tmp/x/p 1.v2.jpeg");
    info.m_dwFileSize = 1234567;
    info.m_nSrcWidth = 2480;
    info.m_nSrcHeight = 3508;
    QString grouped = QStringLiteral("1234567");
    EXPECT_EQ(info.GetColumnText(COLUMN_FILE_NAME), QStringLiteral("p 1.v2.jpeg"));
    EXPECT_EQ(info.GetColumnText(COLUMN_FILE_PATH), QStringLiteral("/scans/book.zip"));
    EXPECT_EQ(info.GetColumnText(COLUMN_FILE_SIZE), FormatNumberGrouped(grouped));
    EXPECT_EQ(info.GetColumnText(COLUMN_MODIFIED), QStringLiteral(" --"));
    EXPECT_EQ(info.GetColumnText(COLUMN_KIND), QStringLiteral("JPEG"));
    EXPECT_EQ(info.GetColumnText(COLUMN_SRC_SIZE), QStringLiteral("2480 x 3508"));
    EXPECT_EQ(info.GetColumnText(COLUMN_ADJ_SIZE), QStringLiteral("0 x 0"));  // not adjusted yet
    EXPECT_EQ(info.GetColumnText(COLUMN_AUTO), QString());
    info.m_dwFileSize = 0;
    info.m_strPath = QStringLiteral("/tmp/x.d/README");
    EXPECT_EQ(info.GetColumnText(COLUMN_FILE_SIZE), QStringLiteral("0"));
    EXPECT_EQ(info.GetColumnText(COLUMN_KIND), QString());
}

TEST(ResultLines, NothingAnalysedOrSet)
{
    const CImageInfo info;
    const QString unread = QStringLiteral("未解析");
    const QString unset = QStringLiteral("指定なし");
    EXPECT_EQ(Lines(info, COLUMN_AUTO),
              (std::vector<std::pair<ListIcon, QString>>{
                  {ICON_KIND_UNSET, unread}, {ICON_ANGLE_UNSET, unread}, {ICON_MARGIN_UNSET, unread}}));
    EXPECT_EQ(Lines(info, COLUMN_OVERRIDE),
              (std::vector<std::pair<ListIcon, QString>>{
                  {ICON_KIND_UNSET, unset}, {ICON_ANGLE_UNSET, unset}, {ICON_MARGIN_UNSET, unset}}));
    EXPECT_EQ(Lines(info, COLUMN_AUTO, true)[0].second, QStringLiteral("未解析(V0,H0/0)"));
}

TEST(ResultLines, AnalysedAndOverridden)
{
    CImageInfo info;
    info.m_nPageKind = 1;
    info.m_nVertCells = 12;
    info.m_nHorzCells = 3;
    info.m_nTotalCells = 20;
    info.m_dSlantAngle = -0.5;
    info.m_rcMarginPx = {10, 20, 30, 40};
    info.m_rcMarginPct = {1, 2, 3, 4};
    info.m_nPageKindOverride = 2;
    info.m_dRotateOverride = 0.0;  // no correction: still a value
    info.m_rcMarginOverride = {0, 0, 0, 0};
    EXPECT_EQ(Lines(info, COLUMN_AUTO),
              (std::vector<std::pair<ListIcon, QString>>{{ICON_TEXT_PAGE, QStringLiteral("文ページ")},
                                                         {ICON_ANGLE_SET, QStringLiteral("-0.5度")},
                                                         {ICON_MARGIN_SET, QStringLiteral("1,2,3,4")}}));
    EXPECT_EQ(Lines(info, COLUMN_AUTO, true)[0].second, QStringLiteral("文ページ(V12,H3/20)"));
    EXPECT_EQ(Lines(info, COLUMN_OVERRIDE),
              (std::vector<std::pair<ListIcon, QString>>{{ICON_PICTURE_PAGE, QStringLiteral("絵ページ")},
                                                         {ICON_ANGLE_SET, QStringLiteral("0度")},
                                                         {ICON_MARGIN_SET, QStringLiteral("0,0,0,0")}}));
}

TEST(FitThumbnail, ShrinksToTheSizeAndCellNeverEnlarges)
{
    EXPECT_EQ(FitThumbnail({192, 120}, 48, {54, 56}), QSize(48, 30));
    EXPECT_EQ(FitThumbnail({60, 80}, 96, {102, 102}), QSize(60, 80));    // not enlarged
    EXPECT_EQ(FitThumbnail({120, 192}, 96, {102, 102}), QSize(60, 96));  // height bound
    EXPECT_EQ(FitThumbnail({192, 120}, 192, {50, 198}), QSize(44, 28));  // narrow cell: 27.5 rounds up
    const QSize none = FitThumbnail({192, 120}, 96, {6, 102});
    EXPECT_TRUE(none.width() < 1 || none.height() < 1);
    EXPECT_EQ(FitThumbnail({192, 120}, 0, {102, 102}).width(), 0);  // unknown size mode
}
