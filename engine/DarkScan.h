#pragma once

#include <QImage>

#include "platform/BitmapLock.h"
#include "platform/PixelFormat.h"

// Locks an image for reading its pixels in 24-bit form and returns the bytes
// per pixel (0 when the lock failed). The 24-bit form of a 32-bit image holds
// its B, G, R bytes unchanged, so such images are read in place, 4 bytes a
// pixel, instead of through a converted copy.
inline int LockRgbForReading(QImage& image, CBitmapLock& lock)
{
    const int own = GetPixelFormat(image);
    const bool inPlace =
        image.format() == QImageFormatOf(PixelFormat32bppARGB) || image.format() == QImageFormatOf(PixelFormat32bppRGB);
    const int format = inPlace ? own : PixelFormat24bppRGB;
    if (lock.Lock(&image, 1, 0, format) != Ok)
        return 0;
    return GetPixelFormatSize(format);
}

// A pixel is dark when B + G + R is below three times the background border.
inline bool IsDarkRgb(const uchar* p, int limit)
{
    return p[0] + p[1] + p[2] < limit;
}
