#include "engine/BitmapConvert.h"

#include "platform/PixelFormat.h"

#include <algorithm>
#include <cstring>

int TestDarkPixel(const CBitmapLock& lock, int x, int y, const CAdjustOption& option)
{
    const uchar* p = lock.Row(y) + static_cast<qptrdiff>(x) * 4;
    if (p[3] == 0)
        return -1;
    return p[0] + p[1] + p[2] < 3 * option.BackBorder ? 1 : 0;
}

namespace {

// Copies the source row by row after locking it in lockFormat into a new image
// of newFormat; both formats have the same bytes per pixel.
QImage CopyRows(const QImage& bitmap, int lockFormat, int newFormat)
{
    QImage source = bitmap;  // shared handle; a read lock does not detach it
    CBitmapLock in;
    in.Lock(&source, 1, 0, lockFormat);
    const int width = static_cast<int>(in.m_data.Width);
    const int height = static_cast<int>(in.m_data.Height);
    if (width <= 0 || height <= 0)
        return {};
    // Every byte of every row is overwritten below, so no zero fill.
    QImage copy(width, height, QImageFormatOf(newFormat));
    if (copy.isNull())
        return {};
    CBitmapLock out;
    if (out.Lock(&copy, 0, 1, newFormat) != Ok)
        return copy;
    const size_t rowBytes = static_cast<size_t>(std::min(in.m_nAbsStride, out.m_nAbsStride));
    for (int y = 0; y < height; ++y)
        std::memcpy(out.Row(y), in.Row(y), rowBytes);
    return copy;
}

}  // namespace

QImage CloneBitmap(const QImage& bitmap)
{
    const int format = GetPixelFormat(bitmap);
    if (format & PixelFormatAlpha)
        return CopyRows(bitmap, PixelFormat32bppARGB, PixelFormat32bppARGB);
    if (format == PixelFormat32bppRGB)  // the fourth byte becomes alpha
        return CopyRows(bitmap, PixelFormat32bppRGB, PixelFormat32bppARGB);
    return CopyRows(bitmap, PixelFormat24bppRGB, PixelFormat24bppRGB);
}

QImage CloneBitmap24(const QImage& bitmap)
{
    return CopyRows(bitmap, PixelFormat24bppRGB, PixelFormat24bppRGB);
}

QImage FlattenAlphaOnWhite(const QImage& bitmap)
{
    if (!(GetPixelFormat(bitmap) & PixelFormatAlpha))
        return {};
    QImage source = bitmap;
    CBitmapLock in;
    if (in.Lock(&source, 1, 0, PixelFormat32bppARGB) != Ok)
        return {};
    const int width = static_cast<int>(in.m_data.Width);
    const int height = static_cast<int>(in.m_data.Height);
    QImage flat(width, height, QImageFormatOf(PixelFormat24bppRGB));
    if (flat.isNull())
        return {};
    // Source-over blend of straight alpha onto opaque white, row by row.
    for (int y = 0; y < height; ++y) {
        const uchar* s = in.Row(y);
        uchar* d = flat.scanLine(y);
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const int a = s[3];
            const int white = 255 * (255 - a) + 127;
            d[0] = static_cast<uchar>((s[0] * a + white) / 255);
            d[1] = static_cast<uchar>((s[1] * a + white) / 255);
            d[2] = static_cast<uchar>((s[2] * a + white) / 255);
        }
    }
    return flat;
}
