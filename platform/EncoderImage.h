#pragma once

#include <QList>
#include <QtGlobal>

// The pixels an encoder writes: 1, 4 or 8 bpp palette indices packed most
// significant bits first, or 24 bpp rows of B, G, R bytes. Rows run top-down.
struct EncoderImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    const uchar* scan0 = nullptr;
    qsizetype stride = 0;
    QList<quint32> palette;  // 0xAARRGGBB, indexed images only
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;

    const uchar* Row(int y) const { return scan0 + y * stride; }
};
