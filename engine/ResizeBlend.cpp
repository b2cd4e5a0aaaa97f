#include "engine/ResizeBlend.h"

#include <cstring>

namespace {

// x / 255 rounded, for 0 <= x <= 255 * 255.
inline int Div255(int x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

}  // namespace

void DrawOntoCanvas(const QImage& image, QImage& canvas)
{
    if (image.isNull() || canvas.format() != QImage::Format_BGR888)
        return;
    const int width = qMin(image.width(), canvas.width());
    const int height = qMin(image.height(), canvas.height());
    if (!image.hasAlphaChannel()) {
        const QImage rgb = image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
        for (int y = 0; y < height && !rgb.isNull(); ++y)
            std::memcpy(canvas.scanLine(y), rgb.constScanLine(y), static_cast<size_t>(width) * 3);
        return;
    }
    // Straight alpha is blended as it is; any other alpha format goes
    // through premultiplied form, which is what smooth scaling yields.
    const bool straight = image.format() == QImage::Format_ARGB32;
    const QImage argb = straight || image.format() == QImage::Format_ARGB32_Premultiplied
                            ? image
                            : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (argb.isNull())
        return;
    for (int y = 0; y < height; ++y) {
        const uchar* s = argb.constScanLine(y);
        uchar* d = canvas.scanLine(y);
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const int a = s[3];
            if (a == 255) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            } else if (a != 0) {
                const int rest = 255 - a;
                for (int c = 0; c < 3; ++c) {
                    const int source = straight ? Div255(s[c] * a) : s[c];
                    d[c] = static_cast<uchar>(qMin(255, source + Div255(d[c] * rest)));
                }
            }
        }
    }
}
