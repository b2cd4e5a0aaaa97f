#pragma once

#include <QImage>
#include <QList>
#include <QtGlobal>

#include <vector>

#include "platform/BitmapLock.h"
#include "platform/PixelFormat.h"

// Palette of an indexed image: entries are 0xAARRGGBB; Count = Entries.size().
struct ColorPalette {
    quint32 Flags = 0;
    QList<quint32> Entries;
};

// A 1, 4 or 8 bits-per-pixel image with a palette, the form pages take only
// when they are saved at a reduced depth. Rows are top-down, each padded to a
// multiple of 4 bytes; pixels pack most significant bits first.
class CIndexedImage {
public:
    CIndexedImage() = default;

    // A zero-filled image carrying the default palette of its depth (see
    // DefaultPalette). Null when the size is not positive, the format is not
    // one of the three indexed formats or the memory cannot be had.
    CIndexedImage(int width, int height, int pixelFormat);

    bool IsNull() const { return m_bits.empty(); }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int GetPixelFormat() const { return m_nPixelFormat; }
    int BitsPerPixel() const { return (m_nPixelFormat >> 8) & 0xFF; }
    qsizetype Stride() const { return m_nStride; }
    const uchar* Bits() const { return m_bits.data(); }
    const uchar* Row(int y) const { return m_bits.data() + y * m_nStride; }

    const ColorPalette& GetPalette() const { return m_palette; }
    void SetPalette(const ColorPalette& palette) { m_palette = palette; }

    // Dots per inch, written by the encoders; 96 for a new image.
    double HorizontalResolution() const { return m_dDpiX; }
    double VerticalResolution() const { return m_dDpiY; }
    void SetResolution(double dpiX, double dpiY);

    // Fills data so that it addresses every pixel in the image's own format;
    // all zero for a null image.
    void LockBits(BitmapData& data);

    // Draws source unscaled at (0, 0) (alpha ignored): every pixel takes the
    // index of the nearest palette colour, the first of equals. The part of
    // the image the source does not cover is left as it is.
    void DrawImage(const QImage& source);

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPixelFormat = PixelFormatUndefined;
    qsizetype m_nStride = 0;
    std::vector<uchar> m_bits;
    ColorPalette m_palette;
    double m_dDpiX = 96.0;
    double m_dDpiY = 96.0;
};

// The palette a new indexed image starts with: black and white for 1 bpp;
// the 16 VGA colours for 4 bpp; for 8 bpp the 6 x 6 x 6 colour cube (levels
// 0, 51, ..., 255; index 36 R + 6 G + B) followed by the 40 greys of a
// 46-step ramp (255 * i / 45, rounded) that the cube does not already hold.
ColorPalette DefaultPalette(int pixelFormat);

// Writes one palette index into a locked 1, 4 or 8 bpp image; other bits of
// the byte are kept. Other formats are left alone.
inline void SetIndexedPixel(const BitmapData& data, int x, int y, int index)
{
    uchar* row = data.Scan0 + static_cast<qptrdiff>(y) * data.Stride;
    switch (data.PixelFormat) {
    case PixelFormat8bppIndexed:
        row[x] = static_cast<uchar>(index);
        break;
    case PixelFormat4bppIndexed: {
        uchar& byte = row[x / 2];
        byte = (x & 1) ? static_cast<uchar>((byte & 0xF0) | (index & 15))
                       : static_cast<uchar>((byte & 0x0F) | (index & 15) << 4);
        break;
    }
    case PixelFormat1bppIndexed: {
        uchar& byte = row[x / 8];
        const int bit = 7 - (x & 7);
        byte = static_cast<uchar>((byte & ~(1 << bit)) | (index & 1) << bit);
        break;
    }
    default:
        break;
    }
}

// The index stored at (x, y) of an indexed image.
inline int GetIndexedPixel(const CIndexedImage& image, int x, int y)
{
    const uchar* row = image.Row(y);
    switch (image.BitsPerPixel()) {
    case 8:
        return row[x];
    case 4:
        return (x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4;
    case 1:
        return row[x / 8] >> (7 - (x & 7)) & 1;
    default:
        return 0;
    }
}
