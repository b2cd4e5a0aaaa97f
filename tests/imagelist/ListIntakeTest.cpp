#include <gtest/gtest.h>

#include "IntakeTestSupport.h"
#include "ListTestSupport.h"
#include "archive/ZipTestArchive.h"
#include "common/Paths.h"
#include "imagelist/PasswordPrompt.h"
#include "imagelist/RecentItemSink.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

struct CFakeRecentItems : IRecentItemSink {
    QStringList items;
    void AddRecentItem(const QString& path) override { items.append(path); }
};

struct CFakePasswordPrompt : IPasswordPrompt {
    std::deque<std::optional<QString>> answers;  // empty or nullopt: Cancel
    int asked = 0;
    bool AskPassword(QWidget*, const QString&, QString& password) override
    {
        ++asked;
        if (answers.empty() || !answers.front()) {
            return false;
        }
        password = *answers.front();
        answers.pop_front();
        return true;
    }
};

class ListIntakeTest : public CListFixture {
protected:
    void SetUp() override
    {
        CListFixture::SetUp();
        list.SetRecentItems(&recent);
        list.SetPasswordPrompt(&prompt);
    }

    QString Page(const QString& name)
    {
        const QString path = dir.filePath(name);
        CreateFolderPath(GetFolderPart(path));
        WritePage(path);
        return path;
    }

    // A drag that enters the list and is dropped there.
    void Drop(const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list.viewport(), &drop);
    }

    CFakeRecentItems recent;
    CFakePasswordPrompt prompt;
};

}  // namespace

TEST_F(ListIntakeTest, NothingReadableAddsNothingButStillStartsTheJob)
{
    AddEntry(list, Page(QStringLiteral("old.png")));
    list.AddFiles({dir.filePath(QStringLiteral("missing.png")), dir.filePath(QStringLiteral("nope"))});
    EXPECT_EQ(list.GetItemCount(), 1U);
    EXPECT_TRUE(recent.items.isEmpty());
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.status.started.size(), 1U);  // the load job of the old entry
    EXPECT_NE(list.GetImageInfo(0)->GetSrcThumb(), nullptr);
}

TEST_F(ListIntakeTest, IntakeCountsRecordsAndLoadsWhatItAdded)
{
    const QString first = Page(QStringLiteral("a.png"));
    Page(QStringLiteral("pages/b.png"));
    Page(QStringLiteral("pages/sub/c.png"));
    list.answerQuestion = [](const QString&) { return IDCANCEL; };
    list.AddFiles({first, dir.filePath(QStringLiteral("pages")), first});
    EXPECT_EQ(list.messages, std::vector<QString>{QString::fromUtf8("サブフォルダも追加しますか？")});
    EXPECT_EQ(recent.items, (QStringList{first, dir.filePath(QStringLiteral("pages"))}));
    EXPECT_EQ(list.status.allFiles, 2);
    EXPECT_EQ(list.model()->rowCount(), 2);
    ASSERT_TRUE(WaitIdle(list));
    for (int row = 0; row < 2; ++row) {
        EXPECT_NE(list.GetImageInfo(row)->GetSrcThumb(), nullptr);
    }
}

TEST_F(ListIntakeTest, NewEntriesTakeTheirPlaceInTheSortOrder)
{
    AddEntry(list, Page(QStringLiteral("p2.png")));
    list.UpdateFileCount();
    list.AddFiles({Page(QStringLiteral("p10.png")), Page(QStringLiteral("p1.png"))});
    ASSERT_EQ(list.GetItemCount(), 3U);
    EXPECT_EQ(list.GetImageInfo(0)->m_strPath, dir.filePath(QStringLiteral("p1.png")));
    EXPECT_EQ(list.GetImageInfo(2)->m_strPath, dir.filePath(QStringLiteral("p10.png")));
    EXPECT_EQ(list.status.allFiles, 3);
}

TEST_F(ListIntakeTest, ArchiveTwiceIsRecordedOnceAndAsksThroughThePrompt)
{
    const QString archive = dir.filePath(QStringLiteral("locked.zip"));
    ASSERT_TRUE(WriteTestZip(archive, {{"p.png", PageBytes(), Z_DEFLATED, "pw"}}));
    prompt.answers = {QStringLiteral("bad"), QStringLiteral("pw")};
    list.AddFiles({archive});
    list.AddFiles({archive});
    EXPECT_EQ(list.messages, std::vector<QString>{QString::fromUtf8("パスワードが違います。")});
    EXPECT_EQ(recent.items, QStringList{archive});
    EXPECT_EQ(list.GetItemCount(), 1U);
    EXPECT_EQ(prompt.asked, 2);  // extracted once: the second drop asks nothing
}

TEST_F(ListIntakeTest, DroppedLocalFilesAreTakenInAfterTheDrop)
{
    const QString page = Page(QStringLiteral("d.png"));
    Drop({QUrl(QStringLiteral("https://example.org/x.png"))});
    Drop({QUrl::fromLocalFile(page), QUrl(QStringLiteral("https://example.org/y.png"))});
    EXPECT_EQ(list.GetItemCount(), 0);
    ASSERT_TRUE(WaitUntil([&] { return list.GetItemCount() > 0; }));
    EXPECT_EQ(list.GetImageInfo(0)->m_strPath, page);
    EXPECT_EQ(recent.items, QStringList{page});
}

TEST_F(ListIntakeTest, IntakeDuringALoadJobRestartsIt)
{
    for (int i = 0; i < 6; ++i) {
        AddEntry(list, Page(QStringLiteral("p%1.png").arg(i)));
    }
    list.UpdateFileCount();
    list.StartNextJob();
    list.AddFiles({Page(QStringLiteral("late.png"))});
    ASSERT_TRUE(WaitIdle(list));
    for (int row = 0; row < 7; ++row) {
        EXPECT_NE(list.GetImageInfo(row)->GetSrcThumb(), nullptr) << row;
    }
    EXPECT_TRUE(list.messages.empty());
}

TEST_F(ListIntakeTest, NoJobStartsWhileTheIntakeAsksItsQuestion)
{
    AddEntry(list, Page(QStringLiteral("old.png")));
    list.UpdateFileCount();
    Page(QStringLiteral("pages/a.png"));
    Page(QStringLiteral("pages/sub/b.png"));
    bool startedWhileAsking = false;
    list.answerQuestion = [&](const QString&) {
        // The focus coming back to the list gives it a current row.
        list.selectionModel()->setCurrentIndex(list.model()->index(0, 0), QItemSelectionModel::NoUpdate);
        startedWhileAsking = list.IsJobRunning();
        return IDYES;
    };
    list.AddFiles({dir.filePath(QStringLiteral("pages"))});
    EXPECT_FALSE(startedWhileAsking);
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.GetItemCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_NE(list.GetImageInfo(row)->GetSrcThumb(), nullptr) << row;
    }
}
