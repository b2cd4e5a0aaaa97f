#include <gtest/gtest.h>

#include "engine/BitmapConvert.h"
#include "platform/PixelFormat.h"

namespace {

QImage Filled(int w, int h, QImage::Format format, QRgb colour)
{
    QImage image(w, h, format);
    image.fill(colour);
    return image;
}

}  // namespace

TEST(PixelRules, GreyValueOfPrimaries)
{
    EXPECT_EQ(GrayValue(255, 0, 0), 76);
    EXPECT_EQ(GrayValue(0, 255, 0), 149);
    EXPECT_EQ(GrayValue(0, 0, 255), 29);
    EXPECT_EQ(GrayValue(255, 255, 255), 255);
}

TEST(PixelRules, DarkPixelIsStrictlyBelowThreeTimesBackBorder)
{
    QImage image = CreateBitmap(3, 1, PixelFormat32bppARGB);
    image.setPixel(0, 0, qRgba(230, 230, 230, 255));
    image.setPixel(1, 0, qRgba(230, 230, 229, 255));
    image.setPixel(2, 0, qRgba(0, 0, 0, 0));
    CBitmapLock lock;
    ASSERT_EQ(lock.Lock(&image, 1, 0, PixelFormat32bppARGB), 0);
    const CAdjustOption option;
    EXPECT_EQ(TestDarkPixel(lock, 0, 0, option), 0);
    EXPECT_EQ(TestDarkPixel(lock, 1, 0, option), 1);
    EXPECT_EQ(TestDarkPixel(lock, 2, 0, option), -1);
}

TEST(CloneBitmap, FormatFollowsTheSource)
{
    QImage indexed = Filled(5, 4, QImage::Format_RGB32, qRgb(10, 20, 30)).convertToFormat(QImage::Format_Indexed8);
    const QImage fromIndexed = CloneBitmap(indexed);
    EXPECT_EQ(fromIndexed.format(), QImage::Format_BGR888);
    EXPECT_EQ(fromIndexed.pixel(4, 3), qRgb(10, 20, 30));

    // Without the alpha flag a 32-bit image keeps its fourth byte, now as alpha.
    const QImage fromRgb32 = CloneBitmap(Filled(5, 4, QImage::Format_RGB32, qRgb(1, 2, 3)));
    EXPECT_EQ(fromRgb32.format(), QImage::Format_ARGB32);
    EXPECT_EQ(fromRgb32.pixel(2, 2), qRgba(1, 2, 3, 255));

    const QImage fromArgb = CloneBitmap(Filled(5, 4, QImage::Format_ARGB32, qRgba(9, 8, 7, 6)));
    EXPECT_EQ(fromArgb.format(), QImage::Format_ARGB32);
    EXPECT_EQ(fromArgb.pixel(0, 0), qRgba(9, 8, 7, 6));
}

TEST(CloneBitmap, CopyIsIndependentOfTheSource)
{
    QImage source = Filled(3, 3, QImage::Format_ARGB32, qRgba(1, 1, 1, 255));
    const QImage copy = CloneBitmap(source);
    source.setPixel(1, 1, qRgba(200, 200, 200, 255));
    EXPECT_EQ(copy.pixel(1, 1), qRgba(1, 1, 1, 255));
    EXPECT_NE(copy.constBits(), source.constBits());
}

TEST(CloneBitmap, NullSourceGivesNull)
{
    EXPECT_TRUE(CloneBitmap(QImage()).isNull());
    EXPECT_TRUE(CloneBitmap24(QImage()).isNull());
}

TEST(CloneBitmap24, AlwaysTwentyFourBit)
{
    const QImage copy = CloneBitmap24(Filled(7, 2, QImage::Format_ARGB32, qRgba(40, 50, 60, 255)));
    EXPECT_EQ(copy.format(), QImage::Format_BGR888);
    EXPECT_EQ(copy.pixel(6, 1), qRgb(40, 50, 60));
}

TEST(FlattenAlphaOnWhite, OpaqueSourceGivesNone)
{
    EXPECT_TRUE(FlattenAlphaOnWhite(Filled(4, 4, QImage::Format_BGR888, qRgb(0, 0, 0))).isNull());
    EXPECT_TRUE(FlattenAlphaOnWhite(Filled(4, 4, QImage::Format_RGB32, qRgb(0, 0, 0))).isNull());
}

TEST(FlattenAlphaOnWhite, BlendsByAlphaOverWhite)
{
    QImage source = CreateBitmap(3, 1, PixelFormat32bppARGB);  // transparent
    source.setPixel(1, 0, qRgba(0, 0, 0, 255));
    source.setPixel(2, 0, qRgba(0, 0, 0, 128));
    const QImage flat = FlattenAlphaOnWhite(source);
    ASSERT_EQ(flat.format(), QImage::Format_BGR888);
    EXPECT_EQ(flat.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(flat.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(flat.pixel(2, 0), qRgb(127, 127, 127));
}

TEST(LoadPlaceholderBitmap, IsThirtyTwoByThirtyTwo)
{
    const QImage placeholder = LoadPlaceholderBitmap();
    ASSERT_FALSE(placeholder.isNull());
    EXPECT_EQ(placeholder.size(), QSize(32, 32));
    EXPECT_EQ(placeholder.format(), QImage::Format_ARGB32);
}
