#include <gtest/gtest.h>

#include "PainterTurn.h"
#include "engine/Rotate.h"

#include <algorithm>
#include <cmath>

namespace {

// An opaque image whose every pixel differs from its neighbours in each channel.
QImage Texture(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (y * 53 + x * 5) & 255, ((x + y) * 29) & 255));
    return image.convertToFormat(format);
}

}  // namespace

TEST(RotateBitmapSources, EveryOpaqueFormatTurnsAlike)
{
    // 3- and 4-byte pixels are read by different paths; odd widths give
    // 24-bit rows with padding, thin images have no inner part at all.
    for (const QSize size : {QSize(1, 1), QSize(1, 7), QSize(7, 1), QSize(2, 2), QSize(37, 29), QSize(130, 90)}) {
        const QImage argb = Texture(size.width(), size.height(), QImage::Format_ARGB32);
        for (const double angle : {3.0, -2.0, 0.25, 90.0, 180.0, -135.0}) {
            const QImage expected = RotateBitmap(argb, angle);
            for (const QImage::Format format : {QImage::Format_BGR888, QImage::Format_RGB888, QImage::Format_RGB32,
                                                QImage::Format_ARGB32_Premultiplied}) {
                const QImage turned = RotateBitmap(argb.convertToFormat(format), angle);
                EXPECT_EQ(turned, expected) << size.width() << "x" << size.height() << " " << angle << " " << format;
            }
        }
    }
}

TEST(RotateBitmapSources, AOpaquePageMatchesAPainterTurnAtAnyAngle)
{
    const QImage source = Texture(173, 121, QImage::Format_BGR888);
    for (const double angle : {-2.0, 0.5, 11.0, -60.0, 90.0, 135.0, 180.0, 270.0}) {
        const QImage turned = RotateBitmap(source, angle);
        ExpectMatchesPainterTurn(turned, source, angle);
    }
}

TEST(RotateBitmapSources, ATransparentSpotOnlyThinsTheSamplesAroundIt)
{
    // One transparent pixel in an opaque page: its colour must not matter,
    // the samples that reach it lose some alpha and the rest stay as they
    // were, within rounding.
    const QImage plain = Texture(64, 48, QImage::Format_ARGB32);
    QImage black = plain;
    black.setPixel(30, 20, qRgba(0, 0, 0, 0));
    QImage white = plain;
    white.setPixel(30, 20, qRgba(255, 255, 255, 0));
    const QImage turned = RotateBitmap(black, 2.0);
    EXPECT_EQ(RotateBitmap(white, 2.0), turned);
    const QImage reference = RotateBitmap(plain, 2.0);
    int thinned = 0;
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
            const QRgb a = turned.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            if (qAlpha(a) != qAlpha(b)) {
                ++thinned;
                EXPECT_LT(qAlpha(a), qAlpha(b)) << x << "," << y;
            } else {
                EXPECT_LE(std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))}),
                          2)  // the plain mean rounds down twice
                    << x << "," << y;
            }
        }
    }
    EXPECT_GE(thinned, 1);
    EXPECT_LE(thinned, 6);  // a source pixel reaches about four canvas pixels
}

TEST(RotateBitmap, MatchesASmoothPainterTurn)
{
    // A textured page with a transparent band and a half-transparent foot.
    QImage source(61, 43, QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y,
                            qRgba((x * 37) & 255, (y * 53) & 255, ((x + y) * 11) & 255,
                                  x >= 20 && x < 26 ? 0 : (y > 35 ? 128 : 255)));
    for (const double angle : {3.0, -7.5, 45.0, 90.0, 0.25})
        ExpectMatchesPainterTurn(RotateBitmap(source, angle), source, angle);
}
