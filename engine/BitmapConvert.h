#pragma once

#include <QImage>
#include <QString>

#include "platform/BitmapLock.h"
#include "settings/AdjustOption.h"

// Grey value of a colour: (R * 306 + G * 601 + B * 117) >> 10.
constexpr int GrayValue(int r, int g, int b)
{
    return (r * 306 + g * 601 + b * 117) >> 10;
}

// -1 for a pixel without content (alpha 0), 1 for a dark pixel
// (B + G + R < 3 * BackBorder), 0 for a bright one. The lock holds a 32-bit
// ARGB image and (x, y) lies inside it.
int TestDarkPixel(const CBitmapLock& lock, int x, int y, const CAdjustOption& option);

// Independent copies; a null image when the source cannot be read.
QImage CloneBitmap(const QImage& bitmap);
QImage CloneBitmap24(const QImage& bitmap);
QImage FlattenAlphaOnWhite(const QImage& bitmap);

// The image of a file, not tied to the file; a null image when the file is not
// a readable image or is too large.
QImage LoadImageFileCopy(const QString& path);

// The 32 x 32 image shown for entries whose image fails to load.
QImage LoadPlaceholderBitmap();
