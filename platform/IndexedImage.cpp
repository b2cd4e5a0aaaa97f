#include "platform/IndexedImage.h"

#include "platform/ColorIndexMap.h"
#include "platform/NearestColor.h"

#include <cmath>
#include <new>

namespace {

constexpr quint32 kOpaque = 0xFF000000u;

quint32 Rgb(int r, int g, int b)
{
    return kOpaque | static_cast<quint32>(r) << 16 | static_cast<quint32>(g) << 8 | static_cast<quint32>(b);
}

}  // namespace

ColorPalette DefaultPalette(int pixelFormat)
{
    ColorPalette palette;
    switch (pixelFormat) {
    case PixelFormat1bppIndexed:
        palette.Entries = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
        break;
    case PixelFormat4bppIndexed:
        palette.Entries = {Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
                           Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
                           Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
                           Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};
        break;
    case PixelFormat8bppIndexed:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.Entries.append(Rgb(r * 51, g * 51, b * 51));
        for (int i = 0; i <= 45; ++i) {
            if (i % 9 != 0) {  // every ninth step is a grey of the cube
                const int v = static_cast<int>(std::lround(255.0 * i / 45.0));
                palette.Entries.append(Rgb(v, v, v));
            }
        }
        break;
    default:
        break;
    }
    return palette;
}

CIndexedImage::CIndexedImage(int width, int height, int pixelFormat)
{
    if (width <= 0 || height <= 0)
        return;
    if (pixelFormat != PixelFormat1bppIndexed && pixelFormat != PixelFormat4bppIndexed &&
        pixelFormat != PixelFormat8bppIndexed)
        return;
    const int bpp = (pixelFormat >> 8) & 0xFF;
    const qsizetype stride = (static_cast<qsizetype>(width) * bpp + 31) / 32 * 4;
    try {
        m_bits.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    m_nWidth = width;
    m_nHeight = height;
    m_nPixelFormat = pixelFormat;
    m_nStride = stride;
    m_palette = DefaultPalette(pixelFormat);
}

void CIndexedImage::SetResolution(double dpiX, double dpiY)
{
    m_dDpiX = dpiX;
    m_dDpiY = dpiY;
}

void CIndexedImage::LockBits(BitmapData& data)
{
    data = BitmapData();
    if (IsNull())
        return;
    data.Width = static_cast<quint32>(m_nWidth);
    data.Height = static_cast<quint32>(m_nHeight);
    data.Stride = static_cast<qint32>(m_nStride);
    data.PixelFormat = m_nPixelFormat;
    data.Scan0 = m_bits.data();
}

void CIndexedImage::DrawImage(const QImage& source)
{
    BitmapData target;
    LockBits(target);
    QImage pixels = source;  // shares the data; a read lock does not detach it
    CBitmapLock lock;
    if (target.Scan0 == nullptr || lock.Lock(&pixels, 1, 0, PixelFormat24bppRGB) != Ok)
        return;
    const int width = qMin(m_nWidth, static_cast<int>(lock.m_data.Width));
    const int height = qMin(m_nHeight, static_cast<int>(lock.m_data.Height));
    CColorIndexMap nearest;
    quint32 lastKey = 0;
    int lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        const uchar* p = lock.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const quint32 key = Rgb(p[2], p[1], p[0]);
            if (key != lastKey) {
                bool added = false;
                int& index = nearest.FindOrInsert(key, 0, added);
                if (added)
                    index = NearestPaletteIndex(m_palette.Entries.constData(),
                                                static_cast<int>(m_palette.Entries.size()), key, lastIndex);
                lastKey = key;
                lastIndex = index;
            }
            SetIndexedPixel(target, x, y, lastIndex);
        }
    }
}
