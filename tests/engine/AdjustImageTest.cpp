#include <gtest/gtest.h>

#include "engine/AdjustImage.h"
#include "engine/PageRecord.h"
#include "support/PageGenerator.h"

#include <chrono>
#include <thread>

namespace {

// A small slanted text page and a picture page: big enough to classify,
// small enough to adjust many times.
QImage TextPage(double slant = 2.0)
{
    PageSpec spec;
    spec.size = QSize(620, 877);
    spec.textBox = QRect(75, 85, 470, 700);
    spec.glyphSize = 11;
    spec.glyphGap = 2;
    spec.lineGap = 10;
    spec.slant = slant;
    return GeneratePage(spec).image.convertToFormat(QImage::Format_BGR888);
}

QImage PicturePage()
{
    PageSpec spec;
    spec.size = QSize(600, 800);
    spec.pictureBox = QRect(100, 120, 400, 520);
    return GeneratePage(spec).image.convertToFormat(QImage::Format_BGR888);
}

const RECT kUnsetRect = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(AdjustImage, RefusesMissingSourceAndMissingPageKinds)
{
    CAdjustOption option;
    CPageRecord info;
    QString message;
    EXPECT_TRUE(AdjustImage(QImage(), option, info, nullptr, message).isNull());
    EXPECT_EQ(message, QStringLiteral("no source bmp"));

    option.TextPage = 0;
    option.PictPage = 0;
    EXPECT_TRUE(AdjustImage(PicturePage(), option, info, nullptr, message).isNull());
    EXPECT_EQ(message, QStringLiteral("not exist text and pict"));
    EXPECT_EQ(info.m_nPageKind, kUnsetMarker);

    // A per-file kind still adjusts the page, as a text page.
    info.m_nPageKindOverride = 1;
    option.Slant[0] = 1;
    option.RotateAngle[0] = 0.0;
    option.Slant[1] = 2;
    const QImage result = AdjustImage(PicturePage(), option, info, nullptr, message);
    EXPECT_FALSE(result.isNull()) << message.toStdString();
    EXPECT_EQ(result.format(), QImage::Format_BGR888);
    EXPECT_EQ(info.m_nPageKind, kUnsetMarker);  // an override is not written back
    EXPECT_EQ(info.m_dSlantAngle, 0.0);         // the text-page setting applied
}

TEST(AdjustImage, StoredKindOutsideOneAndTwoIsInvalid)
{
    CAdjustOption option;
    CPageRecord info;
    info.m_nPageKind = 3;
    QString message;
    EXPECT_TRUE(AdjustImage(PicturePage(), option, info, nullptr, message).isNull());
    EXPECT_EQ(message, QStringLiteral("invalid page type"));
    EXPECT_EQ(info.m_nPageKind, 3);
}

TEST(AdjustImage, FirstRunClassifiesAndMeasuresLaterRunsReuse)
{
    CAdjustOption option;
    option.Slant[0] = 2;
    CPageRecord info;
    QString message;
    const QImage page = TextPage(2.0);
    ASSERT_FALSE(AdjustImage(page, option, info, nullptr, message).isNull()) << message.toStdString();
    EXPECT_EQ(info.m_nPageKind, 1);
    EXPECT_NEAR(info.m_dSlantAngle, 2.0, 0.5);
    EXPECT_GT(info.m_nTotalCells, 0);

    // Marked results: a second run that measured again would overwrite them.
    info.m_dSlantAngle = 0.25;
    info.m_nTotalCells = 0;
    ASSERT_FALSE(AdjustImage(page, option, info, nullptr, message).isNull());
    EXPECT_EQ(info.m_nPageKind, 1);
    EXPECT_EQ(info.m_dSlantAngle, 0.25);
    EXPECT_EQ(info.m_nTotalCells, 0);
}

TEST(AdjustImage, OnlyPictureKindOverwritesStoredKindEveryRun)
{
    CAdjustOption option;
    option.TextPage = 0;
    CPageRecord info;
    info.m_nPageKind = 1;
    QString message;
    ASSERT_FALSE(AdjustImage(TextPage(), option, info, nullptr, message).isNull());
    EXPECT_EQ(info.m_nPageKind, 2);
    EXPECT_EQ(info.m_nTotalCells, 0);  // no classification ran
}

TEST(AdjustImage, PerFileRotationZeroAndMarginsZeroLeaveThePageWhole)
{
    CAdjustOption option;
    option.TextPage = 0;
    option.Slant[1] = 2;
    option.CutMargin[1] = 2;
    CPageRecord info;
    info.m_dSlantAngle = 3.5;
    info.m_dRotateOverride = 0.0;
    info.m_rcMarginOverride = {0, 0, 0, 0};
    const QImage page = PicturePage();
    QString message;
    const QImage result = AdjustImage(page, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull()) << message.toStdString();
    EXPECT_EQ(result.size(), page.size());
    EXPECT_EQ(result.pixel(300, 400), page.pixel(300, 400));
    EXPECT_EQ(info.m_dSlantAngle, 3.5);
    EXPECT_TRUE(SameRect(info.m_rcMarginPx, kUnsetRect));
}

TEST(AdjustImage, MarginSettingsWriteTheEntry)
{
    CAdjustOption option;
    option.TextPage = 0;
    CPageRecord info;
    QString message;
    const QImage page = PicturePage();

    option.CutMargin[1] = 0;
    QImage result = AdjustImage(page, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull());
    EXPECT_EQ(result.size(), page.size());
    EXPECT_TRUE(SameRect(info.m_rcMarginPx, RECT{0, 0, 0, 0}));
    EXPECT_TRUE(SameRect(info.m_rcMarginPct, RECT{0, 0, 0, 0}));

    // Fixed cut: 5 % of 600 x 800 on every side, rounded; nothing added back.
    option.CutMargin[1] = 1;
    result = AdjustImage(page, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull());
    EXPECT_TRUE(SameRect(info.m_rcMarginPx, RECT{30, 40, 30, 40}));
    EXPECT_TRUE(SameRect(info.m_rcMarginPct, RECT{5, 5, 5, 5}));
    EXPECT_EQ(result.size(), QSize(540, 720));

    // A per-file cut is used as it is and not stored.
    info.m_rcMarginOverride = {10, 0, 0, 25};
    result = AdjustImage(page, option, info, nullptr, message);
    ASSERT_FALSE(result.isNull());
    EXPECT_EQ(result.size(), QSize(540, 600));
    EXPECT_TRUE(SameRect(info.m_rcMarginPx, RECT{30, 40, 30, 40}));
}

TEST(AdjustImage, DetectedMarginsCutToTheContentPlusTheAddedMargin)
{
    CAdjustOption option;
    option.TextPage = 0;
    option.CutMargin[1] = 2;
    option.MgnAddRect[1] = {0, 0, 0, 0};
    CPageRecord info;
    QString message;
    const QImage result = AdjustImage(PicturePage(), option, info, nullptr, message);
    ASSERT_FALSE(result.isNull()) << message.toStdString();
    EXPECT_FALSE(SameRect(info.m_rcMarginPx, kUnsetRect));
    EXPECT_NEAR(result.width(), 400, 4);
    EXPECT_NEAR(result.height(), 520, 4);
}

TEST(AdjustImage, NeverChangesTheSource)
{
    CAdjustOption option;
    option.CutMargin[0] = option.CutMargin[1] = 2;
    option.ShadowClear[0] = option.ShadowClear[1] = 1;
    option.AdjustTextColor = option.AdjustPictColor = 1;
    option.GrayPict = 1;
    const QImage page = TextPage();
    const QImage copy = page.copy();
    CPageRecord info;
    QString message;
    ASSERT_FALSE(AdjustImage(page, option, info, nullptr, message).isNull());
    EXPECT_EQ(page, copy);
}

TEST(AdjustImage, StopBeforeTheStartLeavesNothingBehind)
{
    CAdjustOption option;
    CPageRecord info;
    CancelFlag stop{1};
    QString message = QStringLiteral("old");
    EXPECT_TRUE(AdjustImage(TextPage(), option, info, &stop, message).isNull());
    EXPECT_TRUE(message.isEmpty());
    // A classification cut short stores no page kind for later runs.
    EXPECT_EQ(info.m_nPageKind, kUnsetMarker);
    EXPECT_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
}

// Whenever the stop comes, the entry holds either nothing or what an
// uninterrupted run finds: never a guess that later runs would reuse.
TEST(AdjustImage, StopAtAnyMomentLeavesOnlyTrueResults)
{
    CAdjustOption option;
    option.Slant[0] = option.Slant[1] = 2;
    option.CutMargin[0] = option.CutMargin[1] = 2;
    const QImage page = TextPage(-1.5);
    CPageRecord reference;
    QString message;
    ASSERT_FALSE(AdjustImage(page, option, reference, nullptr, message).isNull());

    for (int delayUs = 0; delayUs < 40000; delayUs += 2500) {
        CPageRecord info;
        CancelFlag stop{0};
        std::thread stopper([&stop, delayUs] {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
            stop = 1;
        });
        const QImage result = AdjustImage(page, option, info, &stop, message);
        stopper.join();
        if (result.isNull()) {
            EXPECT_TRUE(message.isEmpty());
        }
        EXPECT_TRUE(info.m_nPageKind == kUnsetMarker || info.m_nPageKind == reference.m_nPageKind);
        EXPECT_TRUE(info.m_dSlantAngle == kUnsetAngleMarker || info.m_dSlantAngle == reference.m_dSlantAngle)
            << info.m_dSlantAngle;
        EXPECT_TRUE(SameRect(info.m_rcMarginPx, kUnsetRect) || SameRect(info.m_rcMarginPx, reference.m_rcMarginPx));
    }
}
