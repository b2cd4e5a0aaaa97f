#include <gtest/gtest.h>

#include "engine/PageRecord.h"
#include "engine/Resize.h"
#include "engine/Thumbnail.h"
#include "platform/PixelFormat.h"

#include <QPainter>
#include <QPixmap>

namespace {

QSize Fit(int w, int h, int maxW, int maxH, bool shrinkOnly)
{
    int cx = -1, cy = -1;
    FitSizeKeepingRatio(w, h, maxW, maxH, shrinkOnly, cx, cy);
    return {cx, cy};
}

// An opaque grey page with a transparent left half.
QImage HalfTransparent(int width, int height)
{
    QImage image = CreateBitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixel(x, y, qRgb(100, 100, 100));
    return image;
}

}  // namespace

TEST(Resize, FitSizeKeepingRatio)
{
    EXPECT_EQ(Fit(1000, 1500, 800, 1280, false), QSize(800, 1200));
    EXPECT_EQ(Fit(1000, 2000, 800, 1280, false), QSize(640, 1280));
    EXPECT_EQ(Fit(500, 600, 800, 1280, true), QSize(500, 600));
    EXPECT_EQ(Fit(500, 600, 800, 1280, false), QSize(800, 960));
    EXPECT_EQ(Fit(1000, 1500, 800, 1280, true), QSize(800, 1200));
    EXPECT_EQ(Fit(3, 2, 2, 100, false), QSize(2, 1));  // 1.33 rounds down
    EXPECT_EQ(Fit(2, 3, 100, 2, false), QSize(1, 2));  // 1.33 again, along the height
    EXPECT_EQ(Fit(0, 600, 800, 1280, false), QSize(0, 0));
}

TEST(Resize, KeepSizeShowsBackColorThroughTransparentAreas)
{
    CAdjustOption option;
    option.Resize = 0;
    option.BackColor = RGB(10, 20, 250);
    CPageRecord entry;
    QImage page = HalfTransparent(40, 30);
    page.setPixel(0, 0, qRgba(210, 20, 250, 128));  // half covering: blended with the canvas
    const QImage canvas = ResizeOntoCanvas(page, option, 2, entry);
    ASSERT_EQ(canvas.size(), QSize(40, 30));
    EXPECT_EQ(canvas.format(), QImage::Format_BGR888);
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(10, 20, 250));
    EXPECT_EQ(canvas.pixel(30, 5), qRgb(100, 100, 100));
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(110, 20, 250));
}

// Opaque pixels are packed four at a time: each keeps its own colour in
// order, also in a row's last pixels beyond a multiple of four, in a group
// that holds a transparent pixel and in a wholly transparent group.
TEST(Resize, EveryPixelKeepsItsColourAndPlace)
{
    CAdjustOption option;
    option.BackColor = RGB(1, 2, 3);
    CPageRecord entry;
    QImage page = CreateBitmap(11, 2, PixelFormat32bppARGB);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 11; ++x)
            page.setPixel(x, y, qRgb(10 * x + y, 100 + x, 200 - x));
    const auto transparent = [](int x, int y) { return x == 6 || (y == 1 && x >= 4 && x < 8); };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 11; ++x)
            if (transparent(x, y))
                page.setPixel(x, y, qRgba(0, 0, 0, 0));
    const QImage canvas = ResizeOntoCanvas(page, option, 2, entry);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 11; ++x)
            EXPECT_EQ(canvas.pixel(x, y), transparent(x, y) ? qRgb(1, 2, 3) : page.pixel(x, y)) << x << "," << y;
}

TEST(Resize, GrayTextGreysTheCanvasOfTextPagesOnly)
{
    CAdjustOption option;
    option.GrayText = 1;
    option.AdjustTextColor = 0;
    option.BackColor = RGB(200, 100, 50);
    CPageRecord entry;
    const QImage page = HalfTransparent(40, 30);
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).pixel(5, 5), qRgb(124, 124, 124));
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).pixel(30, 5), qRgb(100, 100, 100));
    EXPECT_EQ(ResizeOntoCanvas(page, option, 2, entry).pixel(5, 5), qRgb(200, 100, 50));
    option.BackColor = RGB(255, 255, 255);
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).pixel(5, 5), qRgb(255, 255, 255));
}

TEST(Resize, TargetSizesBySetting)
{
    CAdjustOption option;
    CPageRecord entry;
    entry.m_nSrcWidth = 100;
    entry.m_nSrcHeight = 300;
    const QImage page = HalfTransparent(200, 300);
    option.Resize = 1;
    option.KeepRate = 1;
    option.OnlySmall = 0;
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).size(), QSize(100, 150));
    option.KeepRate = 0;
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).size(), QSize(100, 300));
    entry.m_nSrcWidth = 0;  // source size not known: the page keeps its own
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).size(), QSize(200, 300));

    option.Resize = 2;
    option.FixSize = {400, 450};
    option.KeepRate = 0;
    option.OnlySmall = 1;
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).size(), QSize(200, 300));
    option.OnlySmall = 0;
    const QImage stretched = ResizeOntoCanvas(page, option, 1, entry);
    ASSERT_EQ(stretched.size(), QSize(400, 450));
    EXPECT_EQ(stretched.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(stretched.pixel(390, 440), qRgb(100, 100, 100));
    option.KeepRate = 1;
    EXPECT_EQ(ResizeOntoCanvas(page, option, 1, entry).size(), QSize(300, 450));
    option.FixSize = {9999, 1};  // the width rounds to 0; the page keeps a pixel
    EXPECT_EQ(ResizeOntoCanvas(HalfTransparent(1, 400), option, 1, entry).size(), QSize(1, 1));
}

TEST(Thumbnail, SizesAndTransparentAreas)
{
    EXPECT_EQ(MakeThumbnail(HalfTransparent(1000, 1500)).size(), QSize(128, 192));
    EXPECT_EQ(MakeThumbnail(HalfTransparent(1500, 1000)).size(), QSize(192, 128));
    EXPECT_EQ(MakeThumbnail(HalfTransparent(10000, 2)).size(), QSize(192, 1));
    const QImage small = MakeThumbnail(HalfTransparent(100, 50));
    ASSERT_EQ(small.size(), QSize(100, 50));
    EXPECT_EQ(small.format(), QImage::Format_BGR888);
    EXPECT_EQ(small.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(small.pixel(90, 10), qRgb(100, 100, 100));
    EXPECT_TRUE(MakeThumbnail(QImage()).isNull());
}

TEST(Thumbnail, RecolorIconKeepsAlpha)
{
    QImage pixels(16, 16, QImage::Format_ARGB32);
    pixels.fill(Qt::transparent);
    for (int x = 0; x < 16; ++x) {
        pixels.setPixel(x, 3, qRgba(0, 0, 0, 255));
        pixels.setPixel(x, 9, qRgba(10, 200, 30, 90));
    }
    const QIcon icon(QPixmap::fromImage(pixels));
    const QIcon recoloured = RecolorIcon(icon, RGB(255, 0, 128));
    ASSERT_FALSE(recoloured.isNull());
    const QImage back = recoloured.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(back.pixel(4, 3), qRgba(255, 0, 128, 255));
    EXPECT_EQ(qAlpha(back.pixel(4, 9)), 90);
    EXPECT_EQ(qRed(back.pixel(4, 9)), 255);
    EXPECT_EQ(qAlpha(back.pixel(4, 0)), 0);
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).toImage().pixel(4, 3), qRgba(0, 0, 0, 255));  // the original is unchanged
    EXPECT_TRUE(RecolorIcon(QIcon(), RGB(1, 2, 3)).isNull());
}
