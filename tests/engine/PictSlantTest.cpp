#include <gtest/gtest.h>

#include "engine/PageRecord.h"
#include "engine/PictSlant.h"
#include "engine/Rotate.h"
#include "support/PageGenerator.h"

#include <QPoint>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// A white 500 x 1000 page; the sample rows are 0, 139, 279, 419, 569, 709,
// 849 and 999. Each point darkens its row from x to the right edge.
double PictureSlant(std::initializer_list<QPoint> points)
{
    QImage image(500, 1000, QImage::Format_BGR888);
    image.fill(qRgb(255, 255, 255));
    for (const QPoint& p : points)
        for (int x = p.x(); x < image.width(); ++x)
            image.setPixel(x, p.y(), qRgb(0, 0, 0));
    CPageRecord info;
    MeasureSlantAngle(image, CAdjustOption(), 2, info, nullptr);
    return info.m_dSlantAngle;
}

}  // namespace

TEST(PictureSlant, TooFewPointsGiveZero)
{
    EXPECT_DOUBLE_EQ(PictureSlant({}), 0.0);
    EXPECT_DOUBLE_EQ(PictureSlant({{100, 139}}), 0.0);
}

TEST(PictureSlant, OneEdgeIsLimitedToFortyFiveLikeSeveral)
{
    EXPECT_NEAR(PictureSlant({{100, 0}, {160, 139}}), 23.35, 0.01);
    EXPECT_NEAR(PictureSlant({{100, 0}, {238, 139}}), 44.79, 0.01);  // just within the limit
    EXPECT_DOUBLE_EQ(PictureSlant({{100, 0}, {240, 139}}), 0.0);     // 45.2 degrees
    EXPECT_DOUBLE_EQ(PictureSlant({{100, 0}, {400, 139}}), 0.0);     // 65.1 degrees
}

TEST(PictureSlant, SeveralEdgesTakeTheSteepestWithinFortyFive)
{
    EXPECT_DOUBLE_EQ(PictureSlant({{200, 0}, {200, 139}, {200, 279}, {200, 999}}), 0.0);
    // A left bulge: edges of about -19.8 and +19.7 degrees; the smaller wins.
    EXPECT_NEAR(PictureSlant({{100, 0}, {50, 139}, {100, 279}}), 19.65, 0.01);
    // Edges of about -74.5 and +74.4 degrees: beyond 45, so none counts.
    EXPECT_DOUBLE_EQ(PictureSlant({{490, 0}, {0, 139}, {490, 279}}), 0.0);
}

TEST(PictureSlant, GeneratedPictureLeftEdge)
{
    PageSpec spec;
    spec.size = QSize(1240, 1754);
    spec.pictureBox = QRect(200, 200, 840, 1354);
    spec.slant = 3.0;
    CPageRecord info;
    MeasureSlantAngle(GeneratePage(spec).image, CAdjustOption(), 2, info, nullptr);
    EXPECT_NEAR(info.m_dSlantAngle, 3.0, 0.5);
}

TEST(PictureSlant, CancelLeavesThePictureAngleAndZeroesTheTextAngle)
{
    const QImage image = GeneratePage(PageSpec{}).image;
    const CancelFlag cancel{1};
    CPageRecord info;
    MeasureSlantAngle(image, CAdjustOption(), 2, info, &cancel);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
    MeasureSlantAngle(image, CAdjustOption(), 1, info, &cancel);
    EXPECT_DOUBLE_EQ(info.m_dSlantAngle, 0.0);
    CPageRecord other;
    MeasureSlantAngle(image, CAdjustOption(), 3, other, nullptr);
    EXPECT_DOUBLE_EQ(other.m_dSlantAngle, kUnsetAngleMarker);
}

TEST(RotateBitmap, CanvasSizes)
{
    QImage source(200, 100, QImage::Format_BGR888);
    source.fill(qRgb(255, 255, 255));
    EXPECT_EQ(RotateBitmap(source, 90.0).size(), QSize(100, 200));
    const QImage copy = RotateBitmap(source, 0.0);
    EXPECT_EQ(copy.size(), source.size());
    EXPECT_EQ(copy.format(), QImage::Format_ARGB32);
    EXPECT_EQ(copy.pixel(0, 0), qRgba(255, 255, 255, 255));

    QImage page(1000, 1500, QImage::Format_BGR888);
    page.fill(qRgb(255, 255, 255));
    const QImage turned = RotateBitmap(page, 10.0);
    EXPECT_EQ(turned.size(), QSize(1245, 1651));
    EXPECT_EQ(qAlpha(turned.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(turned.pixel(1244, 1650)), 0);
    EXPECT_EQ(turned.pixel(622, 825), qRgba(255, 255, 255, 255));
}

TEST(RotateBitmap, PositiveAngleTurnsClockwise)
{
    QImage source(200, 100, QImage::Format_ARGB32);
    source.fill(qRgba(255, 255, 255, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 185; x < 200; ++x)
            source.setPixel(x, y, qRgba(0, 0, 0, 255));  // upper right corner
    const QImage turned = RotateBitmap(source, 90.0);
    // Clockwise, the upper right corner goes to the lower right.
    EXPECT_LT(qGray(turned.pixel(95, 195)), 60);
    EXPECT_GT(qGray(turned.pixel(5, 5)), 200);
    EXPECT_TRUE(RotateBitmap(QImage(), 5.0).isNull());
}

TEST(RotateBitmap, TransparentAreasAddNoColourAndEdgesAreSmooth)
{
    // Transparent black beside opaque white: the turn must not darken the
    // white where it borders the transparent half or the outside.
    QImage source(60, 40, QImage::Format_ARGB32);
    source.fill(qRgba(0, 0, 0, 0));
    for (int y = 0; y < 40; ++y)
        for (int x = 30; x < 60; ++x)
            source.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage turned = RotateBitmap(source, 3.0);
    bool partlyCovered = false;
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
            const QRgb p = turned.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ASSERT_EQ(qRed(p) + qGreen(p) + qBlue(p), 3 * 255) << x << "," << y;
            partlyCovered = partlyCovered || qAlpha(p) < 255;
        }
    }
    EXPECT_TRUE(partlyCovered);  // the slanted edges blend into transparency
}
