#include <gtest/gtest.h>

#include "engine/Rotate.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

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

// The source turned by a smoothing painter onto a canvas of the given size.
QImage PainterTurn(const QImage& source, double angle, QSize size)
{
    const float theta = static_cast<float>(angle * std::numbers::pi / 180.0);
    const float c = std::cos(theta), s = std::sin(theta);
    const float w = static_cast<float>(source.width()), h = static_cast<float>(source.height());
    QImage reference(size, QImage::Format_ARGB32);
    reference.fill(Qt::transparent);
    QPainter painter(&reference);
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    painter.translate(-std::min({0.0f, w * c, -h * s, w * c - h * s}),
                      -std::min({0.0f, w * s, h * c, w * s + h * c}));
    painter.rotate(angle);
    painter.drawImage(0, 0, source);
    return reference;
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
        const QImage reference = PainterTurn(source, angle, turned.size());
        double alphaDiff = 0.0;
        int colourDiff = 0;
        for (int y = 0; y < turned.height(); ++y) {
            for (int x = 0; x < turned.width(); ++x) {
                const QRgb a = turned.pixel(x, y);
                const QRgb b = reference.pixel(x, y);
                alphaDiff += std::abs(qAlpha(a) - qAlpha(b));
                if (qAlpha(a) == 255 && qAlpha(b) == 255)
                    colourDiff = std::max({colourDiff, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                           std::abs(qBlue(a) - qBlue(b))});
            }
        }
        EXPECT_LT(alphaDiff / (turned.width() * turned.height()), 0.5) << angle;
        EXPECT_LE(colourDiff, 4) << angle;
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
