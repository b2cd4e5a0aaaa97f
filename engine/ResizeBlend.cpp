#include "engine/ResizeBlend.h"

#include <cstring>

namespace {

// x / 255 rounded, for 0 <= x <= 255 * 255.
inline int Div255(int x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// Four opaque pixels 0xAARRGGBB as twelve bytes B, G, R, B, G, R, ... in
// three stores: most of a page is opaque.
inline void PackOpaque(const quint32 p[4], uchar* d)
{
    const quint32 w0 = (p[0] & 0xFFFFFFu) | p[1] << 24;
    const quint32 w1 = (p[1] >> 8 & 0xFFFFu) | p[2] << 16;
    const quint32 w2 = (p[2] >> 16 & 0xFFu) | p[3] << 8;
    std::memcpy(d, &w0, 4);
    std::memcpy(d + 4, &w1, 4);
    std::memcpy(d + 8, &w2, 4);
}

struct RowBlend {
    uchar colour[3];  // B, G, R as the page stores them
    bool straight;    // straight alpha, else premultiplied
    quint32 fill[4];  // four pixels of the colour, for PackOpaque

    void Mix(const uchar* s, uchar* d) const
    {
        const int a = s[3];
        const int rest = 255 - a;
        for (int c = 0; c < 3; ++c) {
            const int source = straight ? Div255(s[c] * a) : s[c];
            d[c] = static_cast<uchar>(qMin(255, source + Div255(colour[c] * rest)));
        }
    }

    void Pixel(const uchar* s, uchar* d) const
    {
        const int a = s[3];
        if (a != 255 && a != 0) {
            Mix(s, d);
            return;
        }
        const uchar* from = a == 255 ? s : colour;
        d[0] = from[0];
        d[1] = from[1];
        d[2] = from[2];
    }

    void Row(const uchar* s, uchar* d, int width) const
    {
        int x = 0;
        for (; x + 4 <= width; x += 4, s += 16, d += 12) {
            quint32 p[4];
            std::memcpy(p, s, 16);
            if ((p[0] & p[1] & p[2] & p[3]) >> 24 == 0xFF)
                PackOpaque(p, d);
            else if ((p[0] | p[1] | p[2] | p[3]) >> 24 == 0)
                PackOpaque(fill, d);  // the margins added around a page
            else
                for (int k = 0; k < 4; ++k)
                    Pixel(s + 4 * k, d + 3 * k);
        }
        for (; x < width; ++x, s += 4, d += 3)
            Pixel(s, d);
    }
};

}  // namespace

QImage FlattenOntoColour(const QImage& image, QRgb colour)
{
    if (image.isNull())
        return {};
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_BGR888);
    // Straight alpha is blended as it is; any other alpha format goes
    // through premultiplied form, which is what smooth scaling yields.
    const bool straight = image.format() == QImage::Format_ARGB32;
    const QImage argb = straight || image.format() == QImage::Format_ARGB32_Premultiplied
                            ? image
                            : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage page(image.size(), QImage::Format_BGR888);
    if (argb.isNull() || page.isNull())
        return {};
    const RowBlend blend{
        {static_cast<uchar>(qBlue(colour)), static_cast<uchar>(qGreen(colour)), static_cast<uchar>(qRed(colour))},
        straight,
        {colour, colour, colour, colour}};
    for (int y = 0; y < page.height(); ++y)
        blend.Row(argb.constScanLine(y), page.scanLine(y), page.width());
    return page;
}
