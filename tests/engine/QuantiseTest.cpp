#include <gtest/gtest.h>

#include "engine/Quantise.h"
#include "engine/QuantiseMedianCut.h"
#include "platform/PixelFormat.h"

namespace {

QImage Pixels(int width, int height, const QList<QRgb>& colours)
{
    QImage image = CreateBitmap(width, height, PixelFormat24bppRGB);
    for (int i = 0; i < width * height; ++i)
        image.setPixel(i % width, i / width, colours[i % colours.size()]);
    return image;
}

constexpr quint32 kBlack = 0xFF000000u;

}  // namespace

TEST(Quantise, HistogramBucketsFollowTheMinimalStandardStep)
{
    EXPECT_EQ(HistogramBucket(0xFF000000u), 7608);
    EXPECT_EQ(HistogramBucket(0xFFFFFFFFu), 4668);
    EXPECT_EQ(HistogramBucket(0xFFFF0000u), 8399);
    EXPECT_EQ(HistogramBucket(0xFF00FF00u), 9634);
    EXPECT_EQ(HistogramBucket(0xFF0000FFu), 390);
    EXPECT_EQ(HistogramBucket(0xFF808080u), 126);
    EXPECT_EQ(HistogramBucket(0xFF002717u), 7608);  // shares black's bucket
}

TEST(Quantise, FewColoursKeepTheirExactColoursInHistogramOrder)
{
    // Black is met before 0xFF002717 in the same bucket, so it comes after it.
    const QImage image = Pixels(
        6, 2,
        {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0x27, 0x17), qRgb(128, 128, 128), qRgb(255, 255, 255), qRgb(0, 0, 0)});
    CIndexedImage target(6, 2, PixelFormat4bppIndexed);
    ASSERT_TRUE(QuantiseToPalette(image, target, 2, nullptr));
    const QList<quint32> expected = {0xFF808080u, 0xFFFFFFFFu, 0xFF002717u, kBlack, 0xFFFF0000u};
    const QList<quint32>& palette = target.GetPalette().Entries;
    ASSERT_EQ(palette.size(), 16);
    EXPECT_EQ(palette.mid(0, 5), expected);
    for (int i = 5; i < 16; ++i)
        EXPECT_EQ(palette[i], kBlack);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(palette[GetIndexedPixel(target, x, y)], image.pixel(x, y));

    // Mode 1 installs the same palette and lets the image layer draw.
    CIndexedImage drawn(6, 2, PixelFormat4bppIndexed);
    ASSERT_TRUE(QuantiseToPalette(image, drawn, 1, nullptr));
    EXPECT_EQ(drawn.GetPalette().Entries, palette);
    EXPECT_EQ(GetIndexedPixel(drawn, 1, 0), 4);
}

TEST(Quantise, SingleColourGivesOneEntryAndIndexZero)
{
    const QImage image = Pixels(9, 3, {qRgb(30, 60, 90)});
    CIndexedImage target(9, 3, PixelFormat1bppIndexed);
    ASSERT_TRUE(QuantiseToPalette(image, target, 2, nullptr));
    EXPECT_EQ(target.GetPalette().Entries, (QList<quint32>{0xFF1E3C5Au, kBlack}));
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(GetIndexedPixel(target, x, 2), 0);
}

TEST(Quantise, MedianCutSplitsWhereTheCountReachesHalf)
{
    // Sorted by red, counts 1, 1, 5, 1: the half (4) is reached at the third colour.
    std::vector<ColourPair> pairs = {{0xFF280000u, 1}, {0xFF0A0000u, 1}, {0xFF1E0000u, 5}, {0xFF140000u, 1}};
    std::vector<ColourBox> boxes;
    ASSERT_TRUE(MedianCut(pairs, 2, nullptr, boxes));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].colours, 3);
    EXPECT_EQ(boxes[0].pixels, 7);
    EXPECT_EQ(boxes[1].colours, 1);
    EXPECT_EQ(pairs[3].colour, 0xFF280000u);
    EXPECT_EQ(BoxColour(pairs, boxes[0]), 0xFF190000u);  // (10 + 20 + 150) / 7 = 25

    // A heavy first colour still leaves colours on both sides; so does a heavy last one.
    pairs = {{0xFF000000u, 100}, {0xFF010000u, 1}, {0xFF020000u, 1}};
    ASSERT_TRUE(MedianCut(pairs, 2, nullptr, boxes));
    EXPECT_EQ(boxes[0].colours, 1);
    EXPECT_EQ(boxes[1].colours, 2);
    pairs = {{0xFF000000u, 1}, {0xFF010000u, 1}, {0xFF020000u, 100}};
    ASSERT_TRUE(MedianCut(pairs, 2, nullptr, boxes));
    EXPECT_EQ(boxes[0].colours, 2);
    EXPECT_EQ(boxes[1].colours, 1);
}

TEST(Quantise, MedianCutSplitsTheLowerBoxOnATieAndSortsByTheWidestChannel)
{
    std::vector<ColourPair> pairs = {{0xFF000000u, 1}, {0xFF0A0000u, 1}, {0xFFC80000u, 1}, {0xFFD20000u, 1}};
    std::vector<ColourBox> boxes;
    ASSERT_TRUE(MedianCut(pairs, 3, nullptr, boxes));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(BoxColour(pairs, boxes[0]), 0xFF000000u);
    EXPECT_EQ(BoxColour(pairs, boxes[1]), 0xFFCD0000u);
    EXPECT_EQ(BoxColour(pairs, boxes[2]), 0xFF0A0000u);

    // Green and blue have the widest equal ranges: green decides.
    pairs = {{0xFF00FF00u, 1}, {0xFF0000FFu, 1}, {0xFF000000u, 2}};
    ASSERT_TRUE(MedianCut(pairs, 2, nullptr, boxes));
    EXPECT_EQ(pairs[2].colour, 0xFF00FF00u);
    // More boxes asked than colours: stops when no box can be split.
    pairs = {{0xFF00FF00u, 1}, {0xFF0000FFu, 1}};
    ASSERT_TRUE(MedianCut(pairs, 16, nullptr, boxes));
    EXPECT_EQ(boxes.size(), 2u);
}

TEST(Quantise, BoxColourScalesLargeCountsDown)
{
    const std::vector<ColourPair> pairs = {{0xFF000000u, 20000000}, {0xFFFF0000u, 10000000}};
    EXPECT_EQ(BoxColour(pairs, {0, 2, 30000000}), 0xFF550000u);
    const std::vector<ColourPair> one = {{0xFF102030u, 1}};
    EXPECT_EQ(BoxColour(one, {0, 1, 1}), 0xFF102030u);
}

TEST(Quantise, NearestIndexTakesTheFirstOfEquals)
{
    const quint32 palette[] = {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xFF808080u};
    EXPECT_EQ(FindNearestPaletteIndex(palette, 4, 0xFF808080u), 1);
    EXPECT_EQ(FindNearestPaletteIndex(palette, 4, 0xFF7F7F81u), 1);
    EXPECT_EQ(FindNearestPaletteIndex(palette, 4, 0xFFF0F0F0u), 2);
    EXPECT_EQ(FindNearestPaletteIndex(palette, 1, 0xFFF0F0F0u), 0);
    EXPECT_EQ(FindNearestPaletteIndex(palette, 0, 0xFFF0F0F0u), 0);
    const ColourPair a{0xFF102030u, 1}, b{0xFF302010u, 1};
    EXPECT_EQ(CompareColourRed(a, b), -32);
    EXPECT_EQ(CompareColourGreen(a, b), 0);
    EXPECT_EQ(CompareColourBlue(a, b), 32);
}

TEST(Quantise, ManyColoursMapEveryPixelToTheNearestComputedEntry)
{
    QImage image = CreateBitmap(64, 64, PixelFormat24bppRGB);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    CIndexedImage target(64, 64, PixelFormat8bppIndexed);
    ASSERT_TRUE(QuantiseToPalette(image, target, 3, nullptr));  // any other mode acts as 2
    const QList<quint32>& palette = target.GetPalette().Entries;
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 5)
            EXPECT_EQ(GetIndexedPixel(target, x, y),
                      FindNearestPaletteIndex(palette.constData(), 256, image.pixel(x, y)));
}

TEST(Quantise, StandardPaletteModeLetsTheImageLayerDraw)
{
    const QImage image = Pixels(4, 1, {qRgb(20, 20, 20), qRgb(240, 240, 240), qRgb(250, 10, 10), qRgb(0, 0, 0)});
    CIndexedImage mono(4, 1, PixelFormat1bppIndexed);
    const CancelFlag cancel{1};
    ASSERT_TRUE(QuantiseToPalette(image, mono, 0, &cancel));  // mode 0 does not poll
    EXPECT_EQ(GetIndexedPixel(mono, 0, 0), 0);
    EXPECT_EQ(GetIndexedPixel(mono, 1, 0), 1);
    CIndexedImage vga(4, 1, PixelFormat4bppIndexed);
    ASSERT_TRUE(QuantiseToPalette(image, vga, 0, nullptr));
    EXPECT_EQ(GetIndexedPixel(vga, 2, 0), 9);  // bright red
    EXPECT_EQ(vga.GetPalette().Entries, DefaultPalette(PixelFormat4bppIndexed).Entries);
}

TEST(Quantise, CancelReturnsFalseInOptimisedModes)
{
    const QImage image = Pixels(4, 4, {qRgb(1, 2, 3), qRgb(4, 5, 6)});
    const CancelFlag cancel{1};
    CIndexedImage target(4, 4, PixelFormat8bppIndexed);
    EXPECT_FALSE(QuantiseToPalette(image, target, 1, &cancel));
    EXPECT_FALSE(QuantiseToPalette(image, target, 2, &cancel));
    EXPECT_EQ(target.GetPalette().Entries, DefaultPalette(PixelFormat8bppIndexed).Entries);
}
