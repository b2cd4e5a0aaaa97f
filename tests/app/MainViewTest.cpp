#include <gtest/gtest.h>

#include <QUrl>

#include "ViewTestSupport.h"
#include "app/FileClipboard.h"
#include "app/RibbonIds.h"

namespace {

using MainView = CViewFixture;

void SetClipboard(QMimeData* data)
{
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

TEST_F(MainView, CopyOfTwoRowsAnnouncesACopyAndPastingItAddsThemAgain)
{
    AddLoaded({"a.png", "b.png", "c.png"});
    Select({0, 2});
    EXPECT_TRUE(view.OnCmdMsg(ID_EDIT_COPY));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QList<QUrl> urls = data->urls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[1].toLocalFile(), dir.filePath("c.png"));
    EXPECT_EQ(data->data("x-special/gnome-copied-files"), "copy\n" + urls[0].toEncoded() + "\n" + urls[1].toEncoded());
    EXPECT_EQ(data->data("application/x-kde-cutselection"), "0");

    view.OnCmdMsg(ID_EDIT_PASTE);  // rows listed already are not added twice
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(RowPaths().size(), 3);
    view.OnCmdMsg(ID_DELETE);
    EXPECT_EQ(RowPaths(), QStringList{dir.filePath("b.png")});
    view.OnCmdMsg(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(RowPaths().size(), 3);
}

TEST_F(MainView, CutRemovesTheCopiedRowsAndWithNothingSelectedChangesNothing)
{
    AddLoaded({"a.png", "b.png"});
    auto* text = new QMimeData;
    text->setText(QStringLiteral("keep me"));
    SetClipboard(text);
    view.OnCmdMsg(ID_EDIT_CUT);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("keep me"));
    EXPECT_EQ(RowPaths().size(), 2);

    Select({1});
    view.OnCmdMsg(ID_EDIT_CUT);
    EXPECT_EQ(RowPaths(), QStringList{dir.filePath("a.png")});
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("application/x-kde-cutselection"), "0");  // never a move
    EXPECT_EQ(ReadFileList(QGuiApplication::clipboard()->mimeData()), QStringList{dir.filePath("b.png")});
}

TEST_F(MainView, PasteTakesLocalNamesOnlyWhateverElseTheClipboardHolds)
{
    const QString first = Page(QStringLiteral("\u4E00\u4E01.png"));
    const QString broken = Page(QStringLiteral("line\nbreak.png"));
    auto* files = MakeFileListMimeData({first, broken}).release();
    QList<QUrl> urls = files->urls();
    urls.append(QUrl(QStringLiteral("https://example.com/page.png")));
    urls.append(QUrl(QStringLiteral("smb://server/share/page.png")));
    files->setUrls(urls);
    SetClipboard(files);
    view.OnCmdMsg(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(RowPaths().size(), 2);
    EXPECT_TRUE(RowPaths().contains(first));
    EXPECT_TRUE(RowPaths().contains(broken));

    auto* other = new QMimeData;
    other->setText(QUrl::fromLocalFile(first).toString());  // a name as text is no file list
    other->setImageData(QImage(4, 4, QImage::Format_RGB32));
    SetClipboard(other);
    EXPECT_FALSE(CMainView::ClipboardHasFiles());
    view.OnCmdMsg(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(RowPaths().size(), 2);
}

TEST_F(MainView, PasteOfAHundredThousandMissingNamesAddsNothingAndReturns)
{
    QStringList names;
    for (int i = 0; i < 100000; ++i)
        names.append(dir.filePath(QStringLiteral("gone/%1.png").arg(i)));
    SetClipboard(MakeFileListMimeData(names).release());
    view.OnCmdMsg(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_TRUE(RowPaths().isEmpty());
    EXPECT_TRUE(List().messages.empty());
}

TEST_F(MainView, AddFilesAndFoldersGoToTheIntakeInTheDialogsOrder)
{
    view.openFiles = {Page("b.png"), Page("a.png")};
    view.OnCmdMsg(ID_ADD_FILES);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(RowPaths().size(), 2);
    QDir(dir.path()).mkdir("sub");
    WritePage(dir.filePath("sub/c.png"));
    view.folders = {dir.filePath("sub")};
    view.OnCmdMsg(ID_ADD_FOLDER);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_TRUE(RowPaths().contains(dir.filePath("sub/c.png")));
}

TEST_F(MainView, SelectAllDeleteAndClearWorkOnTheSelection)
{
    view.OnCmdMsg(ID_EDIT_SELECT_ALL);  // empty list: nothing to select
    EXPECT_FALSE(List().HasSelection());
    AddLoaded({"a.png", "b.png", "c.png"});
    view.OnCmdMsg(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(List().GetSelectedRows(), (std::vector<int>{0, 1, 2}));
    Select({1});
    view.OnCmdMsg(ID_DELETE);
    EXPECT_EQ(RowPaths(), (QStringList{dir.filePath("a.png"), dir.filePath("c.png")}));
}

TEST_F(MainView, RotateOtherOpensAtZeroAndCancelLeavesRowsAndTheRunningJobAlone)
{
    AddLoaded({"a.png", "b.png"});
    List().GetImageInfo(1)->m_dRotateOverride = 2.5;
    Select({0, 1});
    StartHeldPreview();
    const RECT before = List().GetImageInfo(0)->GetPageRecord().m_rcMarginPx;  // as the job's worker may store
    emit List().MenuCommand(ID_SLANT_OTHER);
    ASSERT_EQ(view.angleSeeds, std::vector<double>{0.0});  // the first selected row is not set
    EXPECT_TRUE(List().IsJobRunning());
    EXPECT_FALSE(List().IsStopRequested());
    EXPECT_EQ(List().GetImageInfo(0)->m_dRotateOverride, kUnsetAngleMarker);
    EXPECT_EQ(List().GetImageInfo(1)->m_dRotateOverride, 2.5);
    EXPECT_EQ(List().GetImageInfo(0)->GetPageRecord().m_rcMarginPx, before);

    Select({1});
    view.angle = -1.5;
    view.OnCmdMsg(ID_SLANT_OTHER);
    EXPECT_EQ(view.angleSeeds.back(), 2.5);
    EXPECT_EQ(List().GetImageInfo(1)->m_dRotateOverride, -1.5);
    Release();
}

TEST_F(MainView, APageKindDuringAPreviewJobResumesAPreviewJobAndEmptiesTheFocusedPreview)
{
    AddLoaded({"a.png", "b.png"});
    List().SelectOnly(1);
    StartHeldPreview();
    List().preview.adjusted = QImage(2, 2, QImage::Format_RGB32);
    List().status.started.clear();
    view.OnCmdMsg(ID_PAGE_KIND_PICT);
    EXPECT_EQ(List().GetImageInfo(1)->m_nPageKindOverride, 2);
    EXPECT_EQ(List().GetImageInfo(0)->m_nPageKindOverride, kUnsetMarker);
    EXPECT_TRUE(List().preview.adjusted.isNull());
    ASSERT_TRUE(WaitUntil([this] { return !List().status.started.empty(); }));
    EXPECT_EQ(List().GetJobKind(), CImageListCtrl::JOB_PREVIEW);
    EXPECT_EQ(List().status.started.front().caption, QStringLiteral("プレビュー中止"));
    Release();
}

TEST_F(MainView, OptionsOkWithChangesRestartsWithALoadJobAndWithoutChangesTouchesNothing)
{
    AddLoaded({"a.png"});
    StartHeldPreview();
    view.sheet = [](CAdjustOption&) { return IDOK; };
    view.OnCmdMsg(ID_OPTIONS);
    EXPECT_FALSE(List().IsStopRequested());
    EXPECT_TRUE(List().IsJobRunning());

    List().status.started.clear();
    view.sheet = [](CAdjustOption& copy) {
        copy.SaveQuality = copy.SaveQuality == 50 ? 60 : 50;
        return IDOK;
    };
    const int quality = option.SaveQuality;
    view.OnCmdMsg(ID_OPTIONS);
    EXPECT_NE(option.SaveQuality, quality);
    hold = false;
    ASSERT_TRUE(WaitIdle(List()));
    for (const auto& started : List().status.started)
        EXPECT_EQ(started.caption, QStringLiteral("読み込み中止"));

    view.sheet = [](CAdjustOption& copy) {
        copy.SaveQuality = 1;
        return IDCANCEL;
    };
    view.OnCmdMsg(ID_OPTIONS);
    EXPECT_NE(option.SaveQuality, 1);
}

TEST_F(MainView, CommandsPressedRapidlyWhileJobsStartAndStopLeaveOneJobAtATime)
{
    AddLoaded({"a.png", "b.png", "c.png", "d.png"});
    view.sheet = [](CAdjustOption& copy) {
        copy.SaveQuality = copy.SaveQuality == 50 ? 60 : 50;
        return IDOK;
    };
    const int commands[] = {ID_PREVIEW_ALL,      ID_STOP,        ID_EXECUTE_SELECTED, ID_PAGE_KIND_TEXT, ID_OPTIONS,
                            ID_PREVIEW_SELECTED, ID_MARGIN_NONE, ID_EXECUTE_ALL,      ID_EDIT_CLEAR,     ID_REFRESH};
    for (int round = 0; round < 30; ++round) {
        Select({round % 4});
        for (const int id : commands) {
            view.OnCmdMsg(id);
            QCoreApplication::processEvents();
        }
    }
    view.OnCmdMsg(ID_STOP);
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(List().status.started.size(), static_cast<size_t>(List().status.ended));
    EXPECT_EQ(RowPaths().size(), 4);
}

// The focus moves from row to row while rows are removed; a job started then
// would meet rows half removed.
TEST_F(MainView, DeletingRowsStartsNoJobWhileTheRowsAreRemoved)
{
    const QString bad = dir.filePath(QStringLiteral("a.png"));
    WriteDamaged(bad);
    List().SetProcessorCount(1);
    List().AddFiles({bad, Page(QStringLiteral("b.png")), Page(QStringLiteral("c.png"))});
    ASSERT_TRUE(WaitIdle(List()));
    ASSERT_TRUE(List().GetImageInfo(0)->m_bLoadFailed);
    ASSERT_EQ(List().GetImageInfo(1)->GetSrcThumb(), nullptr);  // left unloaded by the first error
    List().SelectOnly(0);
    bool startedDuringRemoval = false;
    QString focusedPath;
    QObject::connect(List().selectionModel(), &QItemSelectionModel::currentChanged, &List(),
                     [&](const QModelIndex& current) {
                         startedDuringRemoval = startedDuringRemoval || List().IsJobRunning();
                         focusedPath = List().GetImageInfo(current.row())->m_strPath;
                     });
    view.OnCmdMsg(ID_DELETE);
    EXPECT_FALSE(startedDuringRemoval);
    EXPECT_EQ(focusedPath, dir.filePath(QStringLiteral("b.png")));  // the focus meets the row it shows
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(List().GetItemCount(), 2);
}
