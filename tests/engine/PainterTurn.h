#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

// The smooth turn a painter gives, on a canvas of the given size placed as
// the rotation places its own: the reference the rotation is held to.
inline QImage PainterTurn(const QImage& source, double angle, QSize size)
{
    const float theta = static_cast<float>(angle * std::numbers::pi / 180.0);
    const float c = std::cos(theta), s = std::sin(theta);
    const float w = static_cast<float>(source.width()), h = static_cast<float>(source.height());
    QImage reference(size, QImage::Format_ARGB32);
    reference.fill(Qt::transparent);
    QPainter painter(&reference);
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    painter.translate(-std::min({0.0f, w * c, -h * s, w * c - h * s}), -std::min({0.0f, w * s, h * c, w * s + h * c}));
    painter.rotate(angle);
    painter.drawImage(0, 0, source);
    return reference;
}

// Edge alpha within half a level on average, opaque colours within 4 levels.
inline void ExpectMatchesPainterTurn(const QImage& turned, const QImage& source, double angle)
{
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
