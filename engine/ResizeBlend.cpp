#include "engine/ResizeBlend.h"

namespace {

// x / 255 rounded, for 0 <= x <= 255 * 255.
inline int Div255(int x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

struct RowBlend {
    uchar colour[3];  // B, G, R as the page stores them
    bool straight;    // straight alpha, else premultiplied

    void Mix(const uchar* s, uchar* d) const
    {
        const int a = s[3];
        const int rest = 255 - a;
        for (int c = 0; c < 3; ++c) {
            const int source = straight ? Div255(s[c] * a) : s[c];
            d[c] = static_cast<uchar>(qMin(255, source + Div255(colour[c] * rest)));
        }
    }

    void Row(const uchar* s, uchar* d, int width) const
    {
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const int a = s[3];
            const uchar* from = a == 255 ? s : colour;
            if (a == 255 || a == 0) {
                d[0] = from[0];
                d[1] = from[1];
                d[2] = from[2];
            } else {
                Mix(s, d);
            }
        }
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
    const RowBlend blend{{static_cast<uchar>(qBlue(colour)), static_cast<uchar>(qGreen(colour)),
                          static_cast<uchar>(qRed(colour))},
                         straight};
    for (int y = 0; y < page.height(); ++y)
        blend.Row(argb.constScanLine(y), page.scanLine(y), page.width());
    return page;
}
