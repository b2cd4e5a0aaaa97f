#include <gtest/gtest.h>

#include "platform/IndexedImage.h"

#include <QSet>

TEST(IndexedImage, CreationGivesZeroedRowsAndTheDefaultPalette)
{
    const CIndexedImage mono(9, 3, PixelFormat1bppIndexed);
    ASSERT_FALSE(mono.IsNull());
    EXPECT_EQ(mono.BitsPerPixel(), 1);
    EXPECT_EQ(mono.Stride(), 4);
    EXPECT_EQ(mono.GetPalette().Entries, (QList<quint32>{0xFF000000u, 0xFFFFFFFFu}));
    EXPECT_EQ(CIndexedImage(9, 3, PixelFormat4bppIndexed).Stride(), 8);
    EXPECT_EQ(CIndexedImage(9, 3, PixelFormat8bppIndexed).Stride(), 12);
    EXPECT_TRUE(CIndexedImage(0, 3, PixelFormat8bppIndexed).IsNull());
    EXPECT_TRUE(CIndexedImage(3, 3, PixelFormat24bppRGB).IsNull());
    EXPECT_EQ(mono.HorizontalResolution(), 96.0);
}

TEST(IndexedImage, DefaultPalettesHoldDistinctOpaqueColours)
{
    const QList<quint32> vga = DefaultPalette(PixelFormat4bppIndexed).Entries;
    ASSERT_EQ(vga.size(), 16);
    EXPECT_EQ(vga[7], 0xFFC0C0C0u);
    EXPECT_EQ(vga[15], 0xFFFFFFFFu);
    const QList<quint32> cube = DefaultPalette(PixelFormat8bppIndexed).Entries;
    ASSERT_EQ(cube.size(), 256);
    EXPECT_EQ(QSet<quint32>(cube.begin(), cube.end()).size(), 256);
    EXPECT_EQ(cube[36 * 5 + 6 * 2 + 1], 0xFFFF6633u);
    EXPECT_EQ(cube[216], 0xFF060606u);  // first grey of the ramp
    EXPECT_EQ(cube[255], 0xFFF9F9F9u);
    for (quint32 entry : cube)
        EXPECT_EQ(entry >> 24, 0xFFu);
}

TEST(IndexedImage, SetIndexedPixelPacksNibblesAndBitsMostSignificantFirst)
{
    CIndexedImage nibbles(4, 1, PixelFormat4bppIndexed);
    BitmapData data;
    nibbles.LockBits(data);
    SetIndexedPixel(data, 0, 0, 0x1A);  // only the low four bits count
    EXPECT_EQ(nibbles.Row(0)[0], 0xA0);
    SetIndexedPixel(data, 1, 0, 5);
    EXPECT_EQ(nibbles.Row(0)[0], 0xA5);
    SetIndexedPixel(data, 0, 0, 3);
    EXPECT_EQ(nibbles.Row(0)[0], 0x35);

    CIndexedImage bits(16, 2, PixelFormat1bppIndexed);
    bits.LockBits(data);
    SetIndexedPixel(data, 0, 1, 1);
    SetIndexedPixel(data, 9, 1, 3);
    EXPECT_EQ(bits.Row(1)[0], 0x80);
    EXPECT_EQ(bits.Row(1)[1], 0x40);
    SetIndexedPixel(data, 0, 1, 0);
    EXPECT_EQ(bits.Row(1)[0], 0x00);
    EXPECT_EQ(bits.Row(1)[1], 0x40);
    EXPECT_EQ(GetIndexedPixel(bits, 9, 1), 1);
    EXPECT_EQ(bits.Row(0)[0], 0x00);

    data.PixelFormat = PixelFormat24bppRGB;  // not an indexed format: nothing is written
    SetIndexedPixel(data, 8, 1, 1);
    EXPECT_EQ(bits.Row(1)[1], 0x40);
}

TEST(IndexedImage, DrawImageMapsToTheFirstNearestEntryAndKeepsUncoveredPixels)
{
    CIndexedImage target(3, 2, PixelFormat4bppIndexed);
    ColorPalette palette;
    palette.Entries = {0xFF000000u, 0xFF0000FFu, 0xFFFF0000u, 0xFF0000FFu};
    target.SetPalette(palette);
    BitmapData data;
    target.LockBits(data);
    SetIndexedPixel(data, 2, 1, 2);
    QImage source(2, 2, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(0, 0, 250, 0));  // alpha is ignored
    source.setPixel(1, 0, qRgb(200, 10, 10));
    source.setPixel(0, 1, qRgb(10, 10, 10));
    source.setPixel(1, 1, qRgb(0, 0, 255));
    target.DrawImage(source);
    EXPECT_EQ(GetIndexedPixel(target, 0, 0), 1);
    EXPECT_EQ(GetIndexedPixel(target, 1, 0), 2);
    EXPECT_EQ(GetIndexedPixel(target, 0, 1), 0);
    EXPECT_EQ(GetIndexedPixel(target, 1, 1), 1);
    EXPECT_EQ(GetIndexedPixel(target, 2, 1), 2);
}
