#include <gtest/gtest.h>

#include "engine/Margins.h"
#include "engine/PageRecord.h"
#include "support/PageGenerator.h"

#include <QPainter>

#include <cstring>
#include <string>

namespace {

// A 1000 x 800 page with a content block; margins are searched up to 30 %.
PageSpec BlockPage()
{
    PageSpec spec;
    spec.size = QSize(1000, 800);
    spec.pictureBox = QRect(200, 150, 600, 500);
    return spec;
}

RECT MarginsOf(const GeneratedPage& page)
{
    const QRect& box = page.contentBox;
    return {box.left(), box.top(), page.image.width() - 1 - box.right(), page.image.height() - 1 - box.bottom()};
}

RECT Detect(QImage& image, const CAdjustOption& option, int kind = 1, const CancelFlag* cancel = nullptr)
{
    CPageRecord info;
    DetectMargins(image, option, kind, info, cancel);
    return info.m_rcMarginPx;
}

}  // namespace

TEST(Margins, FindsTheContentBoxOfTextPages)
{
    for (const bool vertical : {false, true}) {
        PageSpec spec;
        spec.size = QSize(1240, 1754);
        spec.textBox = QRect(180, 200, 900, 1350);
        spec.vertical = vertical;
        spec.slant = 1.5;
        GeneratedPage page = GeneratePage(spec);
        EXPECT_EQ(Detect(page.image, CAdjustOption()), MarginsOf(page)) << vertical;
    }
}

TEST(Margins, SpotsUpToSpotDotAreErasedLargerOnesAreContent)
{
    PageSpec spec = BlockPage();
    spec.spots = {{QPoint(50, 400), QSize(5, 5)}, {QPoint(400, 40), QSize(5, 5)}};
    GeneratedPage page = GeneratePage(spec);
    const QImage before = page.image;
    EXPECT_EQ(Detect(page.image, CAdjustOption()), MarginsOf(page));
    EXPECT_EQ(page.image, before);  // ShadowClear off: the page itself is untouched

    spec.spots = {{QPoint(50, 400), QSize(6, 5)}, {QPoint(400, 40), QSize(5, 6)}};
    page = GeneratePage(spec);
    const RECT found = Detect(page.image, CAdjustOption());
    EXPECT_EQ(found.left, 50);
    EXPECT_EQ(found.top, 40);

    CAdjustOption dotless;
    dotless.SpotDot[0] = 0;  // every dark pixel is content
    spec.spots = {{QPoint(60, 400), QSize(1, 1)}};
    page = GeneratePage(spec);
    EXPECT_EQ(Detect(page.image, dotless).left, 60);
}

TEST(Margins, LargeSpotRegionsStayLinear)
{
    PageSpec spec;
    spec.size = QSize(3000, 3000);
    spec.pictureBox = QRect(800, 800, 1400, 1400);
    spec.spots = {{QPoint(100, 100), QSize(600, 600)}};  // 360000 pixels, erased as a spot
    GeneratedPage page = GeneratePage(spec);
    CAdjustOption option;
    option.SpotDot[0] = 999;
    EXPECT_EQ(Detect(page.image, option), MarginsOf(page));
}

TEST(Margins, ShadowAfterOneLightPixelIsClearedAfterTwoIsNot)
{
    CAdjustOption option;
    option.IgnoreShadow[1] = 1;
    for (const int offset : {1, 2}) {
        PageSpec spec = BlockPage();
        spec.spots = {{QPoint(offset, 10), QSize(40, 780)}};  // a rim strip with light ends
        GeneratedPage page = GeneratePage(spec);
        const RECT found = Detect(page.image, option, 2);
        EXPECT_EQ(found.left, offset == 1 ? page.contentBox.left() : offset) << offset;
    }
}

TEST(Margins, ScannerRimsAlongEdgesAreCleared)
{
    CAdjustOption option;
    option.IgnoreShadow[0] = 1;
    PageSpec spec = BlockPage();
    spec.rimEdges = EdgeLeft | EdgeBottom;
    spec.rimOffset = 1;
    GeneratedPage page = GeneratePage(spec);
    const QImage before = page.image;
    EXPECT_EQ(Detect(page.image, option), MarginsOf(page));
    EXPECT_EQ(page.image, before);

    option.ShadowClear[0] = 1;  // now the clearing reaches the image
    EXPECT_EQ(Detect(page.image, option), MarginsOf(page));
    EXPECT_EQ(qAlpha(page.image.pixel(20, 400)), 0);
    EXPECT_EQ(qAlpha(page.image.pixel(500, 780)), 0);
    EXPECT_EQ(qAlpha(page.image.pixel(500, 400)), 255);
}

TEST(Margins, DarkRegionsReachingIntoThePageAreNoShadows)
{
    CAdjustOption option;
    option.IgnoreShadow[0] = option.ShadowClear[0] = 1;
    PageSpec spec;
    spec.textBox = QRect(150, 200, 700, 1000);
    spec.rimEdges = EdgeLeft | EdgeTop;
    spec.paper = qRgb(229, 229, 229);  // R + G + B = 687, just below 3 x BackBorder: the paper is dark
    GeneratedPage page = GeneratePage(spec);
    QImage before = page.image;
    EXPECT_EQ(Detect(page.image, option).left, 0);  // the paper itself is met at once
    EXPECT_EQ(page.image, before);

    spec.paper = qRgb(255, 255, 255);
    page = GeneratePage(spec);
    before = page.image;
    EXPECT_EQ(Detect(page.image, option), MarginsOf(page));
    EXPECT_EQ(qAlpha(page.image.pixel(10, 700)), 0);  // the rim is gone, the text is not
    EXPECT_EQ(page.image.copy(page.contentBox), before.copy(page.contentBox));

    QPainter painter(&page.image);  // squared paper: lines across the page join the rim
    painter.fillRect(QRect(0, 0, 1000, 40), Qt::black);
    for (int at = 20; at < 1000; at += 60) {
        painter.fillRect(QRect(at, 0, 2, 1414), Qt::black);
        painter.fillRect(QRect(0, at, 1000, 2), Qt::black);
    }
    painter.end();
    before = page.image;
    Detect(page.image, option);
    EXPECT_EQ(page.image, before);
}

TEST(Margins, SidesWithoutContentGetTheDefault)
{
    PageSpec spec = BlockPage();
    spec.pictureBox = QRect();
    GeneratedPage blank = GeneratePage(spec);
    EXPECT_EQ(Detect(blank.image, CAdjustOption()), (RECT{100, 80, 100, 80}));

    CAdjustOption option;
    option.MgnMinRect[0] = {25, 0, 0, 0};  // above the maximum of 20
    option.MgnMaxRect[0] = {20, 30, 30, 30};
    GeneratedPage page = GeneratePage(BlockPage());
    const RECT found = Detect(page.image, option);
    EXPECT_EQ(found.left, 100);
    EXPECT_EQ(found.top, 150);
}

TEST(Margins, PercentIsRoundedHalfAwayFromZero)
{
    PageSpec spec = BlockPage();
    spec.pictureBox = QRect(57, 150, 698, 500);
    GeneratedPage page = GeneratePage(spec);
    CPageRecord info;
    DetectMargins(page.image, CAdjustOption(), 1, info, nullptr);
    EXPECT_EQ(info.m_rcMarginPx.left, 57);
    EXPECT_EQ(info.m_rcMarginPct.left, 6);  // 5.7
    EXPECT_EQ(info.m_rcMarginPct.top, 19);  // 18.75
    EXPECT_EQ(info.m_rcMarginPx.right, 245);
    EXPECT_EQ(info.m_rcMarginPct.right, 25);  // 24.5
}

TEST(Margins, WideMarginsStayInsideTinyImages)
{
    CAdjustOption option;
    option.MgnMinRect[0] = {0, 0, 0, 0};
    option.MgnMaxRect[0] = {99, 99, 99, 99};  // rounds to the whole width of a 1-pixel image
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(qRgba(0, 0, 0, 255));
    EXPECT_EQ(Detect(dot, option), (RECT{0, 0, 0, 0}));
}

TEST(Margins, CancelLeavesTheEntry)
{
    GeneratedPage page = GeneratePage(BlockPage());
    const CancelFlag cancel{1};
    CPageRecord info;
    DetectMargins(page.image, CAdjustOption(), 1, info, &cancel);
    EXPECT_EQ(info.m_rcMarginPx, (RECT{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker}));
    EXPECT_EQ(info.m_rcMarginPct, (RECT{}));
}

TEST(IsLargerThanSpot, ExactSpotIsErasedOneMoreIsKept)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(qRgba(255, 255, 255, 255));
    for (int y = 2; y < 7; ++y)
        for (int x = 2; x < 7; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 255));
    for (int y = 10; y < 16; ++y)
        for (int x = 10; x < 15; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 255));
    CBitmapLock lock;
    ASSERT_EQ(lock.Lock(&image, 1, 1, 0x0026200A), 0);
    FillScratch scratch;
    const CAdjustOption option;
    EXPECT_EQ(IsLargerThanSpot(lock, 0, 0, option, 5, scratch, nullptr), 0);  // bright
    EXPECT_EQ(IsLargerThanSpot(lock, 4, 4, option, 5, scratch, nullptr), 0);
    EXPECT_EQ(IsLargerThanSpot(lock, 4, 4, option, 5, scratch, nullptr), 0);  // now transparent
    EXPECT_EQ(IsLargerThanSpot(lock, 12, 12, option, 5, scratch, nullptr), 1);
    EXPECT_EQ(IsLargerThanSpot(lock, 12, 12, option, 5, scratch, nullptr), 1);  // left as it was
    EXPECT_EQ(IsLargerThanSpot(lock, 12, 12, option, 0, scratch, nullptr), 1);
    lock.Unlock();
    EXPECT_EQ(image.pixel(6, 6), 0u);
    EXPECT_EQ(image.pixel(14, 15), qRgba(0, 0, 0, 255));
}

TEST(ClearEdgeShadow, TransparentPixelsNeitherEndTheWalkNorForgiveABrightOne)
{
    // Each row is walked from the left: t = transparent, b = bright, d = dark.
    const auto walk = [](const char* row) {
        const int width = static_cast<int>(std::strlen(row));
        QImage image(width, 1, QImage::Format_ARGB32);
        for (int x = 0; x < width; ++x)
            image.setPixel(x, 0,
                           row[x] == 't'   ? qRgba(0, 0, 0, 0)
                           : row[x] == 'b' ? qRgb(250, 250, 250)
                                           : qRgb(9, 9, 9));
        CBitmapLock lock;
        EXPECT_EQ(lock.Lock(&image, 1, 1, 0x0026200A), 0);
        FillScratch scratch;
        ClearEdgeShadow(lock, 0, 0, 1, 0, QRect(), CAdjustOption(), scratch, nullptr);
        lock.Unlock();
        std::string result;
        for (int x = 0; x < width; ++x)
            result += qAlpha(image.pixel(x, 0)) == 0 ? 't' : qRed(image.pixel(x, 0)) > 128 ? 'b' : 'd';
        return result;
    };
    EXPECT_EQ(walk("ttbttddbd"), "ttbttttbd");  // the first dark run goes, the one beyond a bright pixel stays
    EXPECT_EQ(walk("btbdd"), "btbdd");          // two bright pixels end the walk
    EXPECT_EQ(walk("tttt"), "tttt");            // off the image without a find
}

TEST(ClearEdgeShadow, ARegionReachingTheInnerRectangleStays)
{
    // A strip from the left edge to column 9 or 10; the inner rectangle begins at column 10.
    for (const int last : {9, 10}) {
        QImage image(30, 12, QImage::Format_ARGB32);
        image.fill(qRgb(255, 255, 255));
        for (int y = 2; y < 10; ++y)
            for (int x = 0; x <= last; ++x)
                image.setPixel(x, y, qRgb(0, 0, 0));
        const QImage before = image;
        CBitmapLock lock;
        ASSERT_EQ(lock.Lock(&image, 1, 1, 0x0026200A), 0);
        FillScratch scratch;
        ClearEdgeShadow(lock, 0, 5, 1, 0, QRect(10, 0, 20, 12), CAdjustOption(), scratch, nullptr);
        ClearEdgeShadow(lock, 0, 6, 1, 0, QRect(10, 0, 20, 12), CAdjustOption(), scratch, nullptr);
        lock.Unlock();
        if (last == 9)
            EXPECT_EQ(qAlpha(image.pixel(9, 9)), 0);
        else
            EXPECT_EQ(image, before);
    }
}

TEST(FillScratch, OneScratchServesSeveralImagesOfOneSize)
{
    // A shadow cleared in one image leaves no trace that hides the same
    // pixels of the next image from the spot fill.
    const auto stripe = [] {
        QImage image(30, 10, QImage::Format_ARGB32);
        image.fill(qRgb(255, 255, 255));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 8; ++x)
                image.setPixel(x, y, qRgb(0, 0, 0));
        return image;
    };
    const CAdjustOption option;
    FillScratch scratch;
    QImage first = stripe();
    CBitmapLock lock;
    ASSERT_EQ(lock.Lock(&first, 1, 1, 0x0026200A), 0);
    ClearEdgeShadow(lock, 0, 5, 1, 0, QRect(), option, scratch, nullptr);
    lock.Unlock();
    EXPECT_EQ(qAlpha(first.pixel(7, 9)), 0);

    QImage second = stripe();
    ASSERT_EQ(lock.Lock(&second, 1, 1, 0x0026200A), 0);
    EXPECT_EQ(IsLargerThanSpot(lock, 3, 3, option, 9, scratch, nullptr), 1);  // 8 x 10 does not fit in 9 x 9
}
