#include <gtest/gtest.h>

#include "platform/BitmapLock.h"
#include "platform/PixelFormat.h"

TEST(BitmapLock, NewBitmapIsZeroAndLocksInItsOwnFormat)
{
    QImage image = CreateBitmap(7, 5, PixelFormat24bppRGB);
    ASSERT_FALSE(image.isNull());
    CBitmapLock lock;
    ASSERT_EQ(lock.Lock(&image, 1, 0, PixelFormat24bppRGB), 0);
    EXPECT_EQ(lock.m_data.Width, 7u);
    EXPECT_EQ(lock.m_data.Height, 5u);
    EXPECT_EQ(lock.m_nAbsStride, lock.m_data.Stride);
    EXPECT_EQ(lock.GetPixel(3, 3), 0xFF000000u);
    lock.Unlock();
    EXPECT_EQ(lock.m_nStatus, 1);
}

TEST(BitmapLock, GetPixelClampsAndReadsBgrBytes)
{
    QImage image = CreateBitmap(4, 3, PixelFormat32bppARGB);
    image.bits()[(2 * image.bytesPerLine())] = 0x11;  // pixel (0, 2): B
    image.bits()[(2 * image.bytesPerLine()) + 1] = 0x22;
    image.bits()[(2 * image.bytesPerLine()) + 2] = 0x33;
    image.bits()[(2 * image.bytesPerLine()) + 3] = 0x44;
    CBitmapLock lock;
    ASSERT_EQ(lock.Lock(&image, 1, 0, PixelFormat32bppARGB), 0);
    EXPECT_EQ(lock.GetPixel(-5, 3 + 10), 0x44332211u);
}

TEST(BitmapLock, WriteLockInOtherFormatWritesBackOnUnlock)
{
    QImage image = CreateBitmap(2, 2, PixelFormat24bppRGB);
    {
        CBitmapLock lock;
        ASSERT_EQ(lock.Lock(&image, 0, 1, PixelFormat32bppARGB), 0);
        uchar* p = lock.Row(1) + 4;  // pixel (1, 1)
        p[0] = 10;
        p[1] = 20;
        p[2] = 30;
        p[3] = 255;
    }
    EXPECT_EQ(image.format(), QImage::Format_BGR888);
    EXPECT_EQ(image.pixel(1, 1), qRgb(30, 20, 10));
}

TEST(BitmapLock, FailedLockLeavesFieldsZeroAndAnswersBlack)
{
    QImage null;
    CBitmapLock lock;
    EXPECT_NE(lock.Lock(&null, 1, 0, PixelFormat32bppARGB), 0);
    EXPECT_EQ(lock.m_data.Width, 0u);
    EXPECT_EQ(lock.m_data.Scan0, nullptr);
    EXPECT_EQ(lock.m_pLowest, nullptr);
    EXPECT_EQ(lock.GetPixel(0, 0), 0xFF000000u);
}

TEST(CreateBitmap, RefusesBadAndAbsurdSizesWithoutAllocating)
{
    EXPECT_TRUE(CreateBitmap(0, 5, PixelFormat24bppRGB).isNull());
    EXPECT_TRUE(CreateBitmap(5, -1, PixelFormat32bppARGB).isNull());
    EXPECT_TRUE(CreateBitmap(5, 5, PixelFormat8bppIndexed).isNull());
    // 4.8 GB in 32-bit form, 3.6 GB in 24-bit form: only the latter is admitted.
    EXPECT_TRUE(CreateBitmap(40000, 30000, PixelFormat32bppARGB).isNull());
    EXPECT_FALSE(IsAdmittedBitmapSize(40000, 30000, 4));
    EXPECT_TRUE(IsAdmittedBitmapSize(40000, 30000, 3));
    EXPECT_TRUE(IsAdmittedBitmapSize(65536, 65536, 1));  // exactly the limit
    EXPECT_FALSE(IsAdmittedBitmapSize(65537, 65536, 1));
}
