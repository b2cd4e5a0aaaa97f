#include <gtest/gtest.h>

#include "engine/Margins.h"
#include "engine/PageRecord.h"

#include <QPainter>

namespace {

// A white page with a black block and two small black spots.
QImage BlockPage(const QRect& block)
{
    QImage image(300, 200, QImage::Format_ARGB32);
    image.fill(qRgba(255, 255, 255, 255));
    QPainter painter(&image);
    painter.fillRect(block, Qt::black);
    painter.fillRect(QRect(10, 20, 3, 3), Qt::black);
    painter.fillRect(QRect(288, 180, 3, 3), Qt::black);
    return image;
}

}  // namespace

TEST(MarginsColumnSearch, ContentOnEitherSideOfA64ColumnBorderIsFound)
{
    // The side columns are read 64 at a time; content just before and just
    // after such a border, with spots erased in the columns before it.
    CAdjustOption option;
    option.ShadowClear[0] = 1;
    for (const int left : {63, 64}) {
        for (const int right : {63, 64}) {
            QImage image = BlockPage(QRect(QPoint(left, 50), QPoint(299 - right, 150)));
            CPageRecord info;
            DetectMargins(image, option, 1, info, nullptr);
            EXPECT_EQ(info.m_rcMarginPx.left, left) << left << "," << right;
            EXPECT_EQ(info.m_rcMarginPx.right, right) << left << "," << right;
            EXPECT_EQ(info.m_rcMarginPx.top, 50);
            EXPECT_EQ(info.m_rcMarginPx.bottom, 49);
            EXPECT_EQ(qAlpha(image.pixel(11, 21)), 0);  // the spots are gone
            EXPECT_EQ(qAlpha(image.pixel(289, 181)), 0);
        }
    }
}
