#include <gtest/gtest.h>

#include "engine/Crop.h"
#include "platform/PixelFormat.h"

namespace {

// An opaque page whose pixel (x, y) encodes its own position.
QImage PositionPage(int width, int height)
{
    QImage image = CreateBitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x % 256, y % 256, (x / 256) * 16 + y / 256, 255));
    return image;
}

}  // namespace

TEST(Crop, CutGivesTheContentAndAddedMarginsStayTransparent)
{
    const QImage page = PositionPage(1000, 800);
    const QImage cut = CropWithAddedMargin(page, {10, 20, 30, 40}, {});
    ASSERT_EQ(cut.size(), QSize(960, 740));
    EXPECT_EQ(cut.format(), QImage::Format_ARGB32);
    EXPECT_EQ(cut.pixel(0, 0), page.pixel(10, 20));
    EXPECT_EQ(cut.pixel(959, 739), page.pixel(969, 759));

    const QImage framed = CropWithAddedMargin(page, {10, 20, 30, 40}, {5, 5, 5, 5});
    ASSERT_EQ(framed.size(), QSize(1056, 814));  // 48 and 37 pixels on each side
    EXPECT_EQ(framed.pixel(48, 37), page.pixel(10, 20));
    EXPECT_EQ(qAlpha(framed.pixel(47, 37)), 0);  // the image has pixels there, the frame does not
    EXPECT_EQ(qAlpha(framed.pixel(48, 36)), 0);
    EXPECT_EQ(qAlpha(framed.pixel(1055, 813)), 0);
    EXPECT_EQ(framed.pixel(48 + 959, 37 + 739), page.pixel(969, 759));
}

TEST(Crop, MarginsAloneFrameTheWholeImageAndRoundHalfAway)
{
    const QImage page = PositionPage(10, 30);
    const QImage framed = CropWithAddedMargin(page, {}, {25, 5, 0, 0});  // 2.5 -> 3, 1.5 -> 2
    ASSERT_EQ(framed.size(), QSize(13, 32));
    EXPECT_EQ(framed.pixel(3, 2), page.pixel(0, 0));
    EXPECT_EQ(CropWithAddedMargin(page, {}, {}).pixel(4, 4), page.pixel(4, 4));
}

TEST(Crop, ACutThatLeavesNoContentKeepsThatAxisWhole)
{
    const QImage page = PositionPage(100, 80);
    // Left and right meet: the width stays whole, the height is still cut.
    QImage result = CropWithAddedMargin(page, {60, 10, 40, 10}, {});
    ASSERT_EQ(result.size(), QSize(100, 60));
    EXPECT_EQ(result.pixel(0, 0), page.pixel(0, 10));
    // Top and bottom overlap.
    result = CropWithAddedMargin(page, {5, 70, 5, 70}, {10, 10, 10, 10});
    ASSERT_EQ(result.size(), QSize(108, 96));
    EXPECT_EQ(result.pixel(9, 8), page.pixel(5, 0));
    // A cut larger than the image and a negative cut.
    result = CropWithAddedMargin(page, {-20, 0, 0, 1000}, {});
    EXPECT_EQ(result.size(), QSize(100, 80));
    EXPECT_EQ(result.pixel(0, 0), page.pixel(0, 0));
    // One pixel of content is still content.
    EXPECT_EQ(CropWithAddedMargin(page, {50, 0, 49, 0}, {}).size(), QSize(1, 80));
    EXPECT_TRUE(CropWithAddedMargin(QImage(), {1, 1, 1, 1}, {}).isNull());
}
