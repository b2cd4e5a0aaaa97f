#include <gtest/gtest.h>

#include "common/TempRoot.h"
#include "imagelist/ImageInfo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Each test gets a temporary root of its own, so cache files never meet,
// claimed as the program claims its root: only then are files removed there.
class ImageInfoCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTempRoot(m_root.path());
        ASSERT_EQ(ClaimTempRoot(), GetTempRoot());
    }

    static QImage Page()
    {
        QImage image(40, 30, QImage::Format_BGR888);
        image.fill(QColor(200, 100, 50));
        return image;
    }

    QTemporaryDir m_root;
};

}  // namespace

TEST(ImageInfo, NewEntryShowsNoAnalysisAndNoOverrides)
{
    const CImageInfo info;
    EXPECT_EQ(info.m_nPageKind, kUnsetMarker);
    EXPECT_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
    EXPECT_EQ(info.m_rcMarginPx.left, kUnsetMarker);
    EXPECT_EQ(info.m_rcMarginPx.bottom, kUnsetMarker);
    EXPECT_EQ(info.m_rcMarginPct.right, 0);
    EXPECT_EQ(info.m_nPageKindOverride, kUnsetMarker);
    EXPECT_EQ(info.m_dRotateOverride, kUnsetAngleMarker);
    EXPECT_EQ(info.m_rcMarginOverride.top, kUnsetMarker);
    EXPECT_EQ(info.m_timeModified, -1);
}

TEST_F(ImageInfoCache, NamesAreEightUpperCaseHexDigitsUniquePerEntry)
{
    const CImageInfo a;
    const CImageInfo b;
    const QString name = a.GetCacheFileName();
    EXPECT_TRUE(name.startsWith(GetTempRoot() + QStringLiteral("Adj/")));
    const QString file = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}\\.png$")).match(file).hasMatch()) << file.toStdString();
    EXPECT_NE(a.GetCacheFileName(), b.GetCacheFileName());
}

TEST_F(ImageInfoCache, SavesOnceLoadsBackAndGoesWithTheEntry)
{
    QString path;
    {
        CImageInfo info;
        path = info.GetCacheFileName();
        QImage page = Page();
        QString error;
        ASSERT_TRUE(info.SaveCachedImage(page, nullptr, error)) << error.toStdString();  // creates Adj/
        ASSERT_TRUE(QFile::exists(path));

        // An existing cache file is never rewritten.
        QImage other(10, 10, QImage::Format_BGR888);
        other.fill(Qt::black);
        EXPECT_TRUE(info.SaveCachedImage(other, nullptr, error));
        const QImage loaded = info.LoadCachedImage();
        ASSERT_FALSE(loaded.isNull());
        EXPECT_EQ(loaded.size(), QSize(40, 30));
        EXPECT_EQ(QColor(loaded.pixel(5, 5)), QColor(200, 100, 50));
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ImageInfoCache, DamagedCacheFileGivesNoneAndIsRemoved)
{
    CImageInfo info;
    EXPECT_TRUE(info.LoadCachedImage().isNull());  // no file yet
    QImage page = Page();
    QString error;
    ASSERT_TRUE(info.SaveCachedImage(page, nullptr, error));
    QFile file(info.GetCacheFileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\x89PNG\r\n\x1a\n broken");
    file.close();
    EXPECT_TRUE(info.LoadCachedImage().isNull());
    EXPECT_FALSE(QFile::exists(info.GetCacheFileName()));
}

TEST_F(ImageInfoCache, StopBeforeSavingWritesNothing)
{
    CImageInfo info;
    QImage page = Page();
    QString error;
    CancelFlag stop{1};
    EXPECT_FALSE(info.SaveCachedImage(page, &stop, error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(info.GetCacheFileName()));
}

TEST_F(ImageInfoCache, ResetDropsResultsButKeepsNamesFlagsAndOverrides)
{
    CImageInfo info;
    info.m_strOrigin = QStringLiteral("/books/a.png");
    info.m_strPath = QStringLiteral("/books/a.png");
    info.m_strOutputName = QStringLiteral("a.png");
    info.m_bPending = 1;
    info.m_bLoadFailed = 1;
    info.m_nSrcWidth = info.m_nAdjWidth = 10;
    info.m_pSrcThumb = new QImage(Page());
    info.m_pAdjThumb = new QImage(Page());
    info.m_nPageKind = 1;
    info.m_nTotalCells = 7;
    info.m_dSlantAngle = 1.0;
    info.m_rcMarginPx = {1, 2, 3, 4};
    info.m_rcMarginPct = {1, 1, 1, 1};
    info.m_nPageKindOverride = 2;
    info.m_dRotateOverride = 0.0;
    info.m_rcMarginOverride = {0, 0, 0, 0};
    QImage page = Page();
    QString error;
    ASSERT_TRUE(info.SaveCachedImage(page, nullptr, error));

    info.Reset(0x1'0000'0005LL, 1234);
    EXPECT_EQ(info.m_dwFileSize, 5u);  // the low 32 bits
    EXPECT_EQ(info.m_timeModified, 1234);
    EXPECT_EQ(info.m_bLoadFailed, 0);
    EXPECT_EQ(info.m_nSrcWidth, 0);
    EXPECT_EQ(info.m_nAdjWidth, 0);
    EXPECT_EQ(info.GetSrcThumb(), nullptr);
    EXPECT_EQ(info.GetAdjThumb(), nullptr);
    EXPECT_EQ(info.m_nPageKind, kUnsetMarker);
    EXPECT_EQ(info.m_nTotalCells, 0);
    EXPECT_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
    EXPECT_EQ(info.m_rcMarginPx.top, kUnsetMarker);
    EXPECT_EQ(info.m_rcMarginPct.left, 0);
    EXPECT_FALSE(QFile::exists(info.GetCacheFileName()));
    EXPECT_EQ(info.m_strOutputName, QStringLiteral("a.png"));
    EXPECT_EQ(info.m_bPending, 1);
    EXPECT_EQ(info.m_nPageKindOverride, 2);
    EXPECT_EQ(info.m_dRotateOverride, 0.0);
    EXPECT_EQ(info.m_rcMarginOverride.left, 0);
}

// A cache file left under the name a new entry gets (by a crashed run or by
// another process sharing the temporary root) must not pass for its result.
TEST_F(ImageInfoCache, FileLeftUnderANewEntrysNameIsNotItsResult)
{
    const CImageInfo first;
    const QString name = first.GetCacheFileName();
    bool ok = false;
    const quint32 identity = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1, 8).toUInt(&ok, 16);
    ASSERT_TRUE(ok);
    const QString next = GetTempRoot() + QStringLiteral("Adj/") +
                         QStringLiteral("%1").arg(identity + 1, 8, 16, QLatin1Char('0')).toUpper() +
                         QStringLiteral(".png");
    QImage stranger(10, 10, QImage::Format_BGR888);
    stranger.fill(Qt::black);
    ASSERT_TRUE(QDir().mkpath(GetTempRoot() + QStringLiteral("Adj")));
    ASSERT_TRUE(stranger.save(next));

    CImageInfo info;
    ASSERT_EQ(info.GetCacheFileName(), next);
    EXPECT_TRUE(info.LoadCachedImage().isNull());
    QImage page = Page();
    QString error;
    ASSERT_TRUE(info.SaveCachedImage(page, nullptr, error)) << error.toStdString();
    EXPECT_EQ(info.LoadCachedImage().size(), QSize(40, 30));
}
