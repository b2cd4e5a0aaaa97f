#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/FileDialogFilter.h"
#include "app/FileOverride.h"
#include "common/TempRoot.h"
#include "imagelist/ImageInfo.h"

namespace {

constexpr RECT kUnset{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};

// An entry with every result filled in and its cache file written.
class FileOverrideEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Claimed as the program claims it: cache files are removed only from a held root.
        SetTempRoot(m_root);
        ASSERT_EQ(ClaimTempRoot(), m_root);
        info.m_nPageKind = 1;
        info.m_dSlantAngle = 1.25;
        info.m_rcMarginPx = {1, 2, 3, 4};
        info.m_rcMarginPct = {5, 6, 7, 8};
        info.m_nAdjWidth = 10;
        info.m_nAdjHeight = 20;
        info.m_pAdjThumb = new QImage(2, 2, QImage::Format_RGB32);
        QFileInfo(info.GetCacheFileName()).dir().mkpath(QStringLiteral("."));
        QFile cache(info.GetCacheFileName());
        ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    }

    void ExpectAdjustedDropped() const
    {
        EXPECT_EQ(info.m_nAdjWidth, 0);
        EXPECT_EQ(info.m_nAdjHeight, 0);
        EXPECT_EQ(info.m_pAdjThumb, nullptr);
        EXPECT_FALSE(QFileInfo::exists(info.GetCacheFileName()));
        EXPECT_EQ(info.m_nPageKind, 1);  // the detected kind stays
    }

    void TearDown() override { SetTempRoot(m_previous); }

    const QString m_previous = GetTempRoot();
    QTemporaryDir m_temp;
    const QString m_root = m_temp.path() + QStringLiteral("/FolivaneTmp/");
    CImageInfo info;
};

}  // namespace

TEST_F(FileOverrideEntry, APageKindDropsSlantMarginsAndTheAdjustedResult)
{
    ApplyFileOverride(info, *GetFixedOverride(ID_PAGE_KIND_PICT));
    EXPECT_EQ(info.m_nPageKindOverride, 2);
    EXPECT_EQ(info.m_dSlantAngle, kUnsetAngleMarker);
    EXPECT_EQ(info.m_rcMarginPx, kUnset);
    EXPECT_EQ(info.m_rcMarginPct, RECT{});
    ExpectAdjustedDropped();
}

TEST_F(FileOverrideEntry, ASlantKeepsTheSlantButDropsMarginsAndTheAdjustedResult)
{
    ApplyFileOverride(info, 3.5);
    EXPECT_EQ(info.m_dRotateOverride, 3.5);
    EXPECT_EQ(info.m_dSlantAngle, 1.25);
    EXPECT_EQ(info.m_rcMarginPx, kUnset);
    ExpectAdjustedDropped();
}

TEST_F(FileOverrideEntry, AMarginCutDropsOnlyTheAdjustedResult)
{
    ApplyFileOverride(info, *GetFixedOverride(ID_MARGIN_NONE));
    EXPECT_EQ(info.m_rcMarginOverride, RECT{});
    EXPECT_EQ(info.m_rcMarginPx, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(info.m_rcMarginPct, (RECT{5, 6, 7, 8}));
    ExpectAdjustedDropped();
}

TEST_F(FileOverrideEntry, ACacheFileOfAFolderMadeAgainAtTheRootsNameIsLeftAlone)
{
    const QString cache = info.GetCacheFileName();
    ASSERT_TRUE(QDir(m_root).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(cache).path()));
    QFile other(cache);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    ApplyFileOverride(info, 3.5);
    EXPECT_TRUE(QFileInfo::exists(cache));
}

TEST(FileOverrideValues, FixedCommandsAndDialogSeeds)
{
    EXPECT_EQ(std::get<int>(*GetFixedOverride(ID_PAGE_KIND_AUTO)), kUnsetMarker);
    EXPECT_EQ(std::get<double>(*GetFixedOverride(ID_SLANT_NONE)), 0.0);
    EXPECT_EQ(std::get<RECT>(*GetFixedOverride(ID_MARGIN_AUTO)), kUnset);
    EXPECT_FALSE(GetFixedOverride(ID_SLANT_OTHER));
    EXPECT_FALSE(GetFixedOverride(ID_MARGIN_OTHER));
    CImageInfo info;
    EXPECT_EQ(GetRotateDialogSeed(info), 0.0);
    EXPECT_EQ(GetMarginDialogSeed(info), RECT{});
    info.m_rcMarginOverride = {1, kUnsetMarker, kUnsetMarker, kUnsetMarker};  // not unset in all four
    EXPECT_EQ(GetMarginDialogSeed(info), info.m_rcMarginOverride);
}

TEST(FileDialogFilter, PairsBecomeFiltersAndAllFilesTakesNamesWithoutADot)
{
    EXPECT_EQ(ToDialogFilter(QStringLiteral("画像ファイル|*.bmp;*.png|全ファイル|*.*||")),
              QStringLiteral("画像ファイル (*.bmp *.png);;全ファイル (*)"));
    EXPECT_EQ(ToDialogFilter(QString()), QString());
}
