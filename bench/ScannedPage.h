#pragma once

#include <QImage>

#include "support/PageGenerator.h"

// Every colour channel of every pixel of a 32-bit page moved by up to 4
// steps, as a scanner's noise moves them.
inline void AddScanGrain(QImage& page)
{
    quint32 state = 12345;
    for (int y = 0; y < page.height(); ++y) {
        uchar* p = page.scanLine(y);
        for (int x = 0; x < page.width(); ++x, p += 4) {  // alpha stays opaque
            for (int c = 0; c < 3; ++c) {
                state ^= state << 13;  // xorshift: neighbouring draws are independent
                state ^= state >> 17;
                state ^= state << 5;
                const int grain = static_cast<int>(state % 9) - 4;
                p[c] = static_cast<uchar>(qBound(0, p[c] + grain, 255));
            }
        }
    }
}

// An A4 300 dpi page in the working format (32-bit ARGB) with the look of a
// scan: a picture page carries a photograph-like block of smooth colour
// gradients, and every channel of every pixel has a grain of up to 4 steps,
// so that a picture page holds hundreds of thousands of distinct colours.
inline QImage ScannedA4Page(bool picture)
{
    const PageSpec spec = picture ? A4PicturePage(0.0) : A4TextPage(false, 0.0);
    QImage page = GeneratePage(spec).image.convertToFormat(QImage::Format_ARGB32);
    if (picture) {
        const QRect box = spec.pictureBox;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const int r = 255 * (x - box.left()) / box.width();
                const int g = 255 * (y - box.top()) / box.height();
                page.setPixel(x, y, qRgb(r, g, (r + 2 * g) / 3));
            }
        }
    }
    AddScanGrain(page);
    return page;
}
