#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>

#include "ListTestSupport.h"

namespace {

class ResultResetTest : public CListFixture {
protected:
    // An entry that looks analysed and adjusted, with its cache file.
    CImageInfo& Analysed(const QString& name, int pageKind)
    {
        const QString path = dir.filePath(name);
        WritePage(path);
        CImageInfo& info = AddEntry(list, path);
        list.UpdateFileCount();
        info.m_pSrcThumb = new QImage(8, 8, QImage::Format_BGR888);
        info.m_nSrcWidth = 60;
        info.m_nSrcHeight = 80;
        info.m_nPageKind = pageKind;
        info.m_nTotalCells = 10;
        info.m_nVertCells = 4;
        info.m_nHorzCells = 3;
        info.m_dSlantAngle = 1.5;
        info.m_rcMarginPx = RECT{1, 2, 3, 4};
        info.m_rcMarginPct = RECT{5, 6, 7, 8};
        info.m_nAdjWidth = 50;
        info.m_nAdjHeight = 70;
        info.m_pAdjThumb = new QImage(8, 8, QImage::Format_BGR888);
        QString message;
        QImage result(50, 70, QImage::Format_BGR888);
        result.fill(Qt::white);
        EXPECT_TRUE(info.SaveCachedImage(result, nullptr, message)) << message.toStdString();
        return info;
    }

    static bool HasAnalysis(const CImageInfo& info) { return info.m_nPageKind != kUnsetMarker; }
    static bool HasSlant(const CImageInfo& info) { return info.m_dSlantAngle != kUnsetAngleMarker; }
    static bool HasMargins(const CImageInfo& info) { return info.m_rcMarginPx.left != kUnsetMarker; }
    static bool HasResult(const CImageInfo& info)
    {
        return info.GetAdjThumb() != nullptr && info.m_nAdjWidth != 0 && QFileInfo::exists(info.GetCacheFileName());
    }
};

TEST_F(ResultResetTest, PageKindBitsDropEverythingOfTheirPages)
{
    CImageInfo& text = Analysed("t.png", 1);
    CImageInfo& pict = Analysed("p.png", 2);
    CImageInfo& fresh = Analysed("n.png", kUnsetMarker);
    list.ResetResults(0x3);
    for (const CImageInfo* info : {&text, &pict}) {
        EXPECT_FALSE(HasAnalysis(*info));
        EXPECT_FALSE(HasSlant(*info));
        EXPECT_FALSE(HasMargins(*info));
        EXPECT_EQ(info->m_rcMarginPct, RECT{});
        EXPECT_EQ(info->m_nTotalCells, 0);
        EXPECT_FALSE(HasResult(*info));
        EXPECT_EQ(info->m_nAdjWidth, 0);
        EXPECT_NE(info->GetSrcThumb(), nullptr);  // the source is kept
        EXPECT_EQ(info->m_nSrcWidth, 60);
    }
    EXPECT_TRUE(HasResult(fresh));  // never analysed: neither text nor picture
}

TEST_F(ResultResetTest, TextSlantDropsSlantAndMarginsOfTextPagesOnly)
{
    CImageInfo& text = Analysed("t.png", 1);
    CImageInfo& pict = Analysed("p.png", 2);
    CImageInfo& overridden = Analysed("o.png", 2);
    overridden.m_nPageKindOverride = 1;  // taken as a text page
    list.ResetResults(0x110);
    for (const CImageInfo* info : {&text, &overridden}) {
        EXPECT_TRUE(HasAnalysis(*info));
        EXPECT_FALSE(HasSlant(*info));
        EXPECT_FALSE(HasMargins(*info));
        EXPECT_FALSE(HasResult(*info));
    }
    EXPECT_EQ(overridden.m_nPageKind, 2);
    EXPECT_TRUE(HasSlant(pict));
    EXPECT_TRUE(HasMargins(pict));
    EXPECT_TRUE(HasResult(pict));
}

TEST_F(ResultResetTest, BackColourDropsEveryResultAndKeepsAnalyses)
{
    CImageInfo& text = Analysed("t.png", 1);
    CImageInfo& fresh = Analysed("n.png", kUnsetMarker);
    CImageInfo& failed = Analysed("f.png", 2);
    failed.m_bLoadFailed = 1;
    list.ResetResults(0x1000);
    EXPECT_FALSE(HasResult(text));
    EXPECT_FALSE(HasResult(fresh));
    EXPECT_TRUE(HasSlant(text));
    EXPECT_TRUE(HasMargins(text));
    EXPECT_TRUE(HasResult(failed));  // failed entries are skipped
}

TEST_F(ResultResetTest, MarginAndSizeBitsFollowTheirPages)
{
    CImageInfo& text = Analysed("t.png", 1);
    CImageInfo& pict = Analysed("p.png", 2);
    list.ResetResults(0x220);  // picture page margins
    EXPECT_TRUE(HasMargins(text));
    EXPECT_FALSE(HasMargins(pict));
    EXPECT_TRUE(HasSlant(pict));
    EXPECT_FALSE(HasResult(pict));
    list.ResetResults(0x140);  // text page size
    EXPECT_TRUE(HasMargins(text));
    EXPECT_FALSE(HasResult(text));
}

TEST_F(ResultResetTest, OutputNameBitClearsNames)
{
    CImageInfo& text = Analysed("t.png", 1);
    ASSERT_TRUE(list.PrepareSave());
    list.ResetResults(0x4000);  // other save settings: nothing to drop
    EXPECT_EQ(text.m_strOutputName, "t.png");
    EXPECT_TRUE(HasResult(text));
    list.ResetResults(0x2000);
    EXPECT_TRUE(text.m_strOutputName.isEmpty());
    EXPECT_TRUE(HasResult(text));
    // The folder's names are forgotten too: the entry takes its name again.
    ASSERT_TRUE(list.PrepareSave());
    EXPECT_EQ(text.m_strOutputName, "t.png");
}

TEST_F(ResultResetTest, FocusedResultLeavesThePreview)
{
    Analysed("t.png", 1);
    Analysed("p.png", 2);
    list.setCurrentIndex(list.model()->index(1, 0));
    list.preview.adjustedCalls = 0;
    list.ResetResults(0x110);  // not the focused picture page
    EXPECT_EQ(list.preview.adjustedCalls, 0);
    list.ResetResults(0x210);
    EXPECT_EQ(list.preview.adjustedCalls, 1);
    EXPECT_TRUE(list.preview.adjusted.isNull());

    // Clearing the selected rows' results.
    CImageInfo& other = Analysed("o.png", 1);
    list.selectionModel()->select(list.model()->index(0, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list.selectionModel()->select(list.model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.preview.adjustedCalls = 0;
    list.preview.source = QStringLiteral("kept");
    list.ResetSelectedResults();
    EXPECT_FALSE(HasAnalysis(other));
    EXPECT_FALSE(HasAnalysis(*list.GetImageInfo(0)));
    EXPECT_EQ(list.preview.adjustedCalls, 0);  // the focused row was not selected
    EXPECT_EQ(list.preview.source, "kept");
    EXPECT_TRUE(list.status.started.empty());  // no job was running: none starts
}

TEST_F(ResultResetTest, ShowInPreviewShowsSourceAndCachedResult)
{
    const CImageInfo& done = Analysed("t.png", 1);
    const QString path = dir.filePath("n.png");
    WritePage(path);
    AddEntry(list, path);
    list.UpdateFileCount();
    list.ShowInPreview(0);
    EXPECT_EQ(list.preview.source, done.m_strPath);
    EXPECT_EQ(list.preview.adjusted.size(), QSize(50, 70));
    list.ShowInPreview(1);
    EXPECT_EQ(list.preview.source, path);
    EXPECT_TRUE(list.preview.adjusted.isNull());
    list.ShowInPreview(-1);
    EXPECT_TRUE(list.preview.source.isEmpty());
    list.preview.visible = false;
    list.ShowInPreview(0);
    EXPECT_TRUE(list.preview.source.isEmpty());
}

TEST_F(ResultResetTest, RefreshRemovesDeletedFilesAndReloadsRewrittenOnes)
{
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        const QString path = dir.filePath(name);
        WritePage(path);
        AddEntry(list, path);
    }
    list.UpdateFileCount();
    list.StartNextJob();
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_TRUE(list.PrepareSave());

    // Nothing changed: no job starts.
    list.ClearCounts();
    list.RefreshFiles();
    EXPECT_TRUE(list.status.started.empty());
    EXPECT_EQ(list.GetImageInfo(1)->m_strOutputName, "b.png");

    QFile::remove(dir.filePath("a.png"));
    WritePage(dir.filePath("b.png"), 90, 40);
    list.RefreshFiles();
    ASSERT_EQ(static_cast<size_t>(list.GetItemCount()), 2u);
    EXPECT_EQ(list.GetImageInfo(0)->m_strPath, dir.filePath("b.png"));
    EXPECT_EQ(list.GetImageInfo(1)->m_strPath, dir.filePath("c.png"));
    EXPECT_EQ(list.status.allFiles, 2);
    EXPECT_EQ(list.model()->rowCount(), 2);
    EXPECT_TRUE(list.GetImageInfo(1)->m_strOutputName.isEmpty());  // named anew next time
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.status.started.size(), 1u);
    EXPECT_EQ(list.GetImageInfo(0)->m_nSrcWidth, 90);
    EXPECT_NE(list.GetImageInfo(0)->GetSrcThumb(), nullptr);
}

}  // namespace
