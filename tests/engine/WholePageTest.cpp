#include <gtest/gtest.h>

#include "engine/AdjustImage.h"
#include "engine/BitmapConvert.h"
#include "engine/PageRecord.h"
#include "engine/SaveAdjusted.h"
#include "engine/TextSlant.h"
#include "support/PageGenerator.h"

#include <QImageReader>
#include <QTemporaryDir>

#include <cmath>

// Whole pages through the pipeline, judged by what a reader of the book sees:
// straight lines, the content with its margins, no scanner rim, the asked size.
namespace {

// Half-size A4 book page, slanted, with a dark rim on the left and on the
// bottom and a few dust spots in the margins.
PageSpec SlantedScan(double slant)
{
    PageSpec spec;
    spec.size = QSize(1240, 1754);
    spec.paper = qRgb(246, 244, 238);
    spec.textBox = QRect(200, 220, 840, 1300);
    spec.glyphSize = 22;
    spec.glyphGap = 3;
    spec.lineGap = 20;
    spec.slant = slant;
    spec.rimEdges = EdgeLeft | EdgeBottom;
    spec.rimWidth = 30;
    spec.rimOffset = 2;
    spec.spots = {{QPoint(120, 900), QSize(3, 3)}, {QPoint(1150, 300), QSize(4, 2)}, {QPoint(600, 1650), QSize(2, 2)}};
    return spec;
}

CAdjustOption StraightenAndCut()
{
    CAdjustOption option;
    option.Slant[0] = 2;
    option.CutMargin[0] = 2;
    option.IgnoreShadow[0] = 1;
    option.ShadowClear[0] = 1;
    option.MgnMaxRect[0] = {30, 30, 30, 30};
    option.MgnAddRect[0] = {5, 5, 5, 5};
    return option;
}

// Slant of an adjusted page measured again as a text page.
double MeasureAgain(const QImage& page, const CAdjustOption& option)
{
    CPageRecord info;
    QImage working = page.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(DetectTextSlant(working, option, info, nullptr), 1);
    return info.m_dSlantAngle;
}

int DarkPixelsIn(const QImage& page, const QRect& area, int backBorder)
{
    int dark = 0;
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qRed(row[x]) + qGreen(row[x]) + qBlue(row[x]) < 3 * backBorder;
    }
    return dark;
}

}  // namespace

TEST(WholePage, SlantedScanComesOutStraightCutAndClean)
{
    const CAdjustOption option = StraightenAndCut();
    for (const double slant : {-3.0, 2.0}) {
        const GeneratedPage scan = GeneratePage(SlantedScan(slant));
        const QImage source = scan.image.convertToFormat(QImage::Format_BGR888);
        CPageRecord info;
        QString message;
        const QImage result = AdjustImage(source, option, info, nullptr, message);
        ASSERT_FALSE(result.isNull()) << message.toStdString();
        EXPECT_EQ(info.m_nPageKind, 1);
        EXPECT_NEAR(info.m_dSlantAngle, slant, 0.5);
        EXPECT_NEAR(MeasureAgain(result, option), 0.0, 0.5) << "slant " << slant;

        // The straight text block with 5 % of its size added on each side.
        const QSize content(840, 1300);
        EXPECT_NEAR(result.width(), content.width() * 1.1, content.width() * 0.03) << "slant " << slant;
        EXPECT_NEAR(result.height(), content.height() * 1.1, content.height() * 0.03) << "slant " << slant;

        // The added margins are paper: the rim and the spots are gone.
        const int marginX = result.width() / 25;
        const int marginY = result.height() / 25;
        const QRect all = result.rect();
        EXPECT_EQ(DarkPixelsIn(result, QRect(0, 0, marginX, all.height()), option.BackBorder), 0);
        EXPECT_EQ(DarkPixelsIn(result, QRect(all.width() - marginX, 0, marginX, all.height()), option.BackBorder), 0);
        EXPECT_EQ(DarkPixelsIn(result, QRect(0, 0, all.width(), marginY), option.BackBorder), 0);
        EXPECT_EQ(DarkPixelsIn(result, QRect(0, all.height() - marginY, all.width(), marginY), option.BackBorder), 0);
    }
}

TEST(WholePage, ResizedToTheAskedSizeAndSavedAtEveryDepth)
{
    CAdjustOption option = StraightenAndCut();
    option.Resize = 2;
    option.FixSize = {600, 900};
    option.KeepRate = 1;
    const QImage source = GeneratePage(SlantedScan(1.5)).image.convertToFormat(QImage::Format_BGR888);
    CPageRecord info;
    info.m_nSrcWidth = source.width();
    info.m_nSrcHeight = source.height();
    QString message;
    QImage result = AdjustImage(source, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull()) << message.toStdString();
    EXPECT_TRUE(result.width() == 600 || result.height() == 900) << result.width() << " x " << result.height();
    EXPECT_LE(result.width(), 600);
    EXPECT_LE(result.height(), 900);

    QTemporaryDir dir;
    for (int depth = 1; depth <= 4; ++depth) {
        option.SaveDepth = depth;
        const QString path = dir.filePath(QStringLiteral("page%1.png").arg(depth));
        ASSERT_TRUE(SaveAdjustedBitmap(result, QString(), QString(), path, option, nullptr, message))
            << message.toStdString();
        QImageReader reader(path);
        EXPECT_EQ(reader.size(), result.size()) << "depth " << depth;
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull());
        // Even at one bit the lines survive as black on white.
        EXPECT_GT(DarkPixelsIn(back, back.rect(), option.BackBorder), back.width() * back.height() / 100);
    }
}

TEST(WholePage, PicturePageKeepsItsColoursWhenColourAdjustmentIsOff)
{
    PageSpec spec;
    spec.size = QSize(800, 1000);
    spec.pictureBox = QRect(100, 150, 600, 700);
    const QImage source = GeneratePage(spec).image.convertToFormat(QImage::Format_BGR888);
    CAdjustOption option;
    option.TextPage = 0;
    option.AdjustPictColor = 0;
    option.BrightPict = 150;
    option.GrayPict = 1;
    CPageRecord info;
    QString message;
    const QImage result = AdjustImage(source, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull()) << message.toStdString();
    ASSERT_EQ(result.size(), source.size());
    for (const QPoint at : {QPoint(150, 200), QPoint(400, 500), QPoint(650, 800), QPoint(20, 20)})
        EXPECT_EQ(result.pixel(at), source.pixel(at)) << at.x() << "," << at.y();
}
