#include <gtest/gtest.h>

#include "engine/ColorAdjust.h"
#include "platform/PixelFormat.h"

namespace {

QImage Row(const QList<QRgb>& pixels)
{
    QImage image = CreateBitmap(static_cast<int>(pixels.size()), 1, PixelFormat32bppARGB);
    for (int x = 0; x < pixels.size(); ++x)
        image.setPixel(x, 0, pixels[x]);
    return image;
}

CAdjustOption TextOption()
{
    CAdjustOption option;
    option.BackBorder = 230;
    option.BackColor = RGB(250, 240, 10);
    option.BackUnify = 0;
    option.GrayText = 0;
    option.BrightText = 0;
    return option;
}

}  // namespace

TEST(ColorAdjust, GammaTableEntries)
{
    std::array<int, 256> table = GetGammaTable(200);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[64], 127);
    EXPECT_EQ(table[255], 255);
    table = GetGammaTable(50);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[128], 64);
    EXPECT_EQ(table[255], 255);
    EXPECT_EQ(GetGammaTable(200)[64], 127);  // rebuilt when the value changes back
    EXPECT_EQ(GetGammaTable(10)[254], 245);
}

TEST(ColorAdjust, TextPageBackgroundTakesBackColorThenItsGrey)
{
    CAdjustOption option = TextOption();
    option.BackUnify = 1;
    QImage image = Row({qRgb(240, 240, 240), qRgb(230, 230, 230), qRgb(230, 230, 229), qRgba(250, 250, 250, 0)});
    AdjustColors(image, option, 1, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgb(250, 240, 10));
    EXPECT_EQ(image.pixel(1, 0), qRgb(250, 240, 10));       // a sum of exactly 3 x BackBorder is background
    EXPECT_EQ(image.pixel(2, 0), qRgb(230, 230, 229));      // dark, and no dark-pixel option is set
    EXPECT_EQ(image.pixel(3, 0), qRgba(250, 250, 250, 0));  // transparent pixels are not touched

    option.GrayText = 1;
    image = Row({qRgba(240, 240, 240, 128)});
    AdjustColors(image, option, 1, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgba(216, 216, 216, 128));  // grey of BackColor, alpha kept
}

TEST(ColorAdjust, TextPageDarkPixelsAreGreyedThenShifted)
{
    CAdjustOption option = TextOption();
    option.BrightText = -120;
    QImage image = Row({qRgb(100, 100, 100), qRgb(200, 100, 50), qRgb(240, 240, 240)});
    AdjustColors(image, option, 1, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(80, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(240, 240, 240));  // no brightness change on the background

    option.BrightText = 0;
    option.GrayText = 1;
    image = Row({qRgb(200, 100, 50)});
    AdjustColors(image, option, 1, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgb(124, 124, 124));
    option.BrightText = 200;
    image = Row({qRgb(200, 100, 50)});
    AdjustColors(image, option, 1, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(ColorAdjust, PicturePageIsGreyedThenGammaMapped)
{
    CAdjustOption option;
    option.GrayPict = 1;
    option.BrightPict = 200;
    QImage image = Row({qRgba(64, 64, 64, 77), qRgb(255, 0, 0), qRgba(1, 2, 3, 0)});
    AdjustColors(image, option, 2, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgba(127, 127, 127, 77));
    const int red = GetGammaTable(200)[76];
    EXPECT_EQ(image.pixel(1, 0), qRgb(red, red, red));
    EXPECT_EQ(image.pixel(2, 0), qRgba(1, 2, 3, 0));
    // Text options do not apply to a picture page and the other way round.
    option = CAdjustOption();
    option.GrayText = 1;
    image = Row({qRgb(200, 100, 50)});
    AdjustColors(image, option, 2, nullptr);
    EXPECT_EQ(image.pixel(0, 0), qRgb(200, 100, 50));
}

TEST(ColorAdjust, CancelStopsBeforeAnyPixel)
{
    CAdjustOption option = TextOption();
    option.GrayText = 1;
    QImage image = Row({qRgb(200, 100, 50)});
    const CancelFlag cancel{1};
    AdjustColors(image, option, 1, &cancel);
    EXPECT_EQ(image.pixel(0, 0), qRgb(200, 100, 50));
}
