#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/VisualManager.h"

namespace {

constexpr COLORREF kBar = RGB(0, 0, 255);

QImage DrawProgress(int width, int total, int current)
{
    QImage image(width, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    EXPECT_TRUE(CMyVisualManager::DrawStatusBarProgress(painter, image.rect(), total, current, kBar, 0xFFFFFFFF,
                                                        RGB(0, 0, 0), 1));
    return image;
}

int CountColor(const QImage& image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST(ProgressDrawing, ThreeOfTenFillsThirtyPixelsInsideAWhiteRim)
{
    const QImage image = DrawProgress(102, 10, 3);
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb white = qRgb(255, 255, 255);
    // The bar starts inside the one-pixel white rim and is 100 * 3 / 10 wide.
    EXPECT_EQ(image.pixel(0, 10), white);
    EXPECT_EQ(image.pixel(1, 1), blue);
    EXPECT_EQ(image.pixel(30, 18), blue);
    EXPECT_EQ(image.pixel(31, 10), white);
    EXPECT_EQ(image.pixel(1, 0), white);
    EXPECT_EQ(image.pixel(1, 19), white);
    EXPECT_EQ(CountColor(image, qRgb(255, 0, 0)), 0);
    // "3 / 10" is drawn in the middle, not at the sides.
    int dark = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 35; x < 67; ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
        EXPECT_NE(qGray(image.pixel(90, y)), 0);
    }
    EXPECT_GT(dark, 10);
}

TEST(ProgressDrawing, ATotalOfZeroIsOnlyWhiteAndACountBeyondTheTotalStaysInside)
{
    const QImage empty = DrawProgress(102, 0, 5);
    EXPECT_EQ(CountColor(empty, qRgb(255, 255, 255)), 102 * 20);

    const QImage over = DrawProgress(102, 10, 50);
    EXPECT_EQ(over.pixel(0, 10), qRgb(255, 255, 255));
    EXPECT_EQ(over.pixel(101, 10), qRgb(255, 255, 255));
    EXPECT_EQ(over.pixel(100, 1), qRgb(0, 0, 255));
}
