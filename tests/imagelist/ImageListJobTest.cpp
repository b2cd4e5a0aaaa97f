#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QSignalSpy>

#include <future>

#include "ListTestSupport.h"
#include "imagelist/JobEvents.h"
#include "msgbox/ExtMsgBoxDefs.h"

namespace {

constexpr COLORREF kLoadColor = 0x40E040;
constexpr COLORREF kPreviewColor = 0x00C0FF;
constexpr COLORREF kExecuteColor = 0xE040E0;

class ImageListJobTest : public CListFixture {
protected:
    QString Page(const QString& name, bool damaged = false)
    {
        const QString path = dir.filePath(name);
        if (damaged) {
            WriteDamaged(path);
        } else {
            WritePage(path);
        }
        return path;
    }

    void Add(const QString& name, bool damaged = false)
    {
        AddEntry(list, Page(name, damaged));
        list.UpdateFileCount();
    }

    void RunLoadPass()
    {
        list.StartNextJob();
        ASSERT_TRUE(WaitIdle(list));
    }

    void Select(std::initializer_list<int> rows)
    {
        list.selectionModel()->clearSelection();
        for (const int row : rows) {
            list.selectionModel()->select(list.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
};

TEST_F(ImageListJobTest, LoadJobCountsEveryRowNotFailedAndReportsOnlyNewOnes)
{
    Add("a.png");
    Add("b.png");
    Add("c.png");
    Add("bad.png", true);
    list.SetProcessorCount(1);  // one worker, so the failure comes after the three loads
    RunLoadPass();
    ASSERT_EQ(list.messages.size(), 1u);
    EXPECT_EQ(list.messages[0], QStringLiteral("画像をロードできませんでした。\n") + dir.filePath("bad.png"));
    EXPECT_TRUE(list.GetImageInfo(3)->m_bLoadFailed);
    EXPECT_NE(list.GetImageInfo(3)->GetSrcThumb(), nullptr);  // the placeholder
    EXPECT_EQ(list.GetImageInfo(0)->m_nSrcWidth, 60);
    EXPECT_EQ(list.GetImageInfo(0)->m_nSrcHeight, 80);

    // Three loaded and one failed: a total of three, nothing to redraw.
    list.ClearCounts();
    list.SetProcessorCount(8);
    RunLoadPass();
    ASSERT_EQ(list.status.started.size(), 1u);
    EXPECT_EQ(list.status.started[0].total, 3);
    EXPECT_EQ(list.status.started[0].color, kLoadColor);
    EXPECT_EQ(list.status.started[0].caption, QStringLiteral("読み込み中止"));
    EXPECT_EQ(list.progressEvents, 3);
    EXPECT_TRUE(list.itemEvents.empty());
    EXPECT_EQ(list.finishedEvents, 1);
    EXPECT_TRUE(list.messages.empty());

    // Two new entries: one item event each, without a bitmap.
    Add("d.png");
    Add("e.png");
    list.ClearCounts();
    RunLoadPass();
    EXPECT_EQ(list.status.started[0].total, 5);
    EXPECT_EQ(list.progressEvents, 5);
    std::vector<std::pair<int, bool>> items = list.itemEvents;
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<std::pair<int, bool>>{{4, false}, {5, false}}));
    EXPECT_EQ(list.adjustCalls, 0);
}

TEST_F(ImageListJobTest, WorkersAreCappedByTheWork)
{
    for (int i = 0; i < 50; ++i) {
        Add(QStringLiteral("p%1.png").arg(i));
    }
    list.SetProcessorCount(1);
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.GetWorkerCount(), 1);
    EXPECT_EQ(list.adjustCalls, 50);
    EXPECT_EQ(list.adjustThreads.size(), 1u);

    list.ClearCounts();
    list.SetProcessorCount(8);
    Select({3, 7});
    list.StartAdjust(true, true);
    EXPECT_EQ(list.status.started.back().total, 2);
    ASSERT_TRUE(WaitIdle(list));
    // Both are adjusted already: the job runs over them at no cost.
    EXPECT_EQ(list.GetWorkerCount(), 2);
    EXPECT_EQ(list.adjustCalls, 0);
}

TEST_F(ImageListJobTest, RequestDuringAJobIsRetriedUntilItHasEnded)
{
    Add("a.png");
    Add("b.png");
    RunLoadPass();
    std::atomic<bool> entered{false};
    std::atomic<bool> block{true};
    list.adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        if (!block) {
            return QuickAdjust(source, info, message);
        }
        entered = true;
        while (!list.IsStopRequested()) {
            std::this_thread::yield();
        }
        return QImage();  // stopped: no result, no error
    };
    list.ClearCounts();
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));

    block = false;
    list.StartAdjust(false, false);
    // The preview job is stopped but its end has not been handled yet.
    EXPECT_TRUE(list.IsJobRunning());
    EXPECT_TRUE(list.IsRetryArmed());
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.status.started.size(), 2u);
    EXPECT_EQ(list.status.started[0].color, kPreviewColor);
    EXPECT_EQ(list.status.started[1].color, kExecuteColor);
    EXPECT_EQ(list.status.started[1].caption, QStringLiteral("実行を中止"));
    EXPECT_TRUE(list.messages.empty());
    EXPECT_TRUE(QFileInfo::exists(option.SaveAnyDir + "/a.png"));
    EXPECT_TRUE(QFileInfo::exists(option.SaveAnyDir + "/b.png"));
    EXPECT_EQ(list.GetJobKind(), CImageListCtrl::JOB_LOAD);
}

// Between the end of a job and the next tick of the retry timer, an interrupt
// finds no job but a waiting request: it takes the request back for the
// caller to restart after its change, keeping the requested kind.
TEST_F(ImageListJobTest, InterruptAfterTheEndTakesBackTheWaitingRequest)
{
    Add("a.png");
    RunLoadPass();
    list.ClearCounts();
    list.StartAdjust(true, false);
    list.StartAdjust(false, false);  // waits for the preview job to end
    ASSERT_TRUE(WaitUntil([&] { return !list.IsJobRunning(); }));
    ASSERT_TRUE(list.IsRetryArmed());

    EXPECT_TRUE(list.InterruptJob(CImageListCtrl::JOB_LOAD));
    EXPECT_FALSE(list.IsRetryArmed());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(list.status.started.size(), 1u);  // nothing started meanwhile

    list.StartNextJob();
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.status.started.size(), 2u);
    EXPECT_EQ(list.status.started[1].color, kExecuteColor);
    EXPECT_FALSE(list.InterruptJob(CImageListCtrl::JOB_LOAD));  // nothing runs or waits now
}

TEST_F(ImageListJobTest, FirstErrorEndsTheJobAndIsShownOnce)
{
    Add("bad1.png", true);
    Add("a.png");
    Add("bad2.png", true);
    Add("b.png");
    list.SetProcessorCount(1);
    RunLoadPass();
    ASSERT_EQ(list.messages.size(), 1u);
    EXPECT_TRUE(list.messages[0].endsWith("bad1.png"));
    EXPECT_EQ(list.progressEvents, 1);
    // The rows after the error were not taken.
    EXPECT_EQ(list.GetImageInfo(1)->GetSrcThumb(), nullptr);
    EXPECT_FALSE(list.GetImageInfo(2)->m_bLoadFailed);

    // With several workers both failures may be met; still one message. The
    // shown error is gone: the new job's workers take rows.
    list.ClearCounts();
    list.SetProcessorCount(8);
    RunLoadPass();
    EXPECT_EQ(list.messages.size(), 1u);
    EXPECT_GE(list.progressEvents, 1);
}

TEST_F(ImageListJobTest, AdjustAndSaveFailuresCarryThePath)
{
    Add("a.png");
    list.adjust = [](const QImage&, CPageRecord&, QString& message) {
        message = QStringLiteral("engine failed");
        return QImage();
    };
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.messages.size(), 1u);
    EXPECT_EQ(list.messages[0], QStringLiteral("engine failed\n") + dir.filePath("a.png"));
    EXPECT_EQ(list.GetImageInfo(0)->GetAdjThumb(), nullptr);
}

TEST_F(ImageListJobTest, StoppingAPreviewRecordsNoErrorAndStartsALoadPass)
{
    Add("a.png");
    Add("b.png");
    RunLoadPass();
    Add("c.png");  // not loaded yet
    std::atomic<bool> entered{false};
    list.adjust = [&](const QImage&, CPageRecord&, QString& message) {
        entered = true;
        while (!list.IsStopRequested()) {
            std::this_thread::yield();
        }
        message = QStringLiteral("cut short");
        return QImage();
    };
    list.ClearCounts();
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
    list.StopJob();
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_TRUE(list.messages.empty());
    ASSERT_EQ(list.status.started.size(), 2u);
    EXPECT_EQ(list.status.started[1].color, kLoadColor);
    EXPECT_EQ(list.GetJobKind(), CImageListCtrl::JOB_LOAD);
    for (int row = 0; row < 3; ++row) {
        EXPECT_NE(list.GetImageInfo(row)->GetSrcThumb(), nullptr) << row;
        EXPECT_EQ(list.GetImageInfo(row)->GetAdjThumb(), nullptr) << row;
    }
}

class StopLoadTest : public ImageListJobTest {
protected:
    // A failed entry, then many entries whose loading is stopped right after
    // the first one was loaded.
    void StopWhileLoading(int answer)
    {
        Add("bad.png", true);
        RunLoadPass();
        // Pages large enough that loading them all outlasts handling the
        // first progress event.
        const QString page = dir.filePath("page.png");
        WritePage(page, 300, 420);
        for (int i = 0; i < 400; ++i) {
            const QString copy = dir.filePath(QStringLiteral("p%1.png").arg(i));
            QFile::copy(page, copy);
            AddEntry(list, copy);
        }
        list.UpdateFileCount();
        list.SetProcessorCount(1);
        list.answerQuestion = [&](const QString&) {
            // Asked after the interrupt: the rows are settled now.
            for (int row = 0; row < list.GetItemCount(); ++row) {
                const CImageInfo* info = list.GetImageInfo(row);
                (info->m_bLoadFailed || info->GetSrcThumb() != nullptr ? kept : notLoaded).insert(info->m_strPath);
            }
            if (userReadsTheQuestion) {
                // The box's own event loop runs on while the user reads it,
                // until the stopped job's end has been handled and no request
                // waits any more (a retry the box let fire would start a job).
                const size_t started = list.status.started.size();
                EXPECT_TRUE(WaitIdle(list));
                jobRanDuringQuestion = list.status.started.size() != started;
            }
            return answer;
        };
        bool stopped = false;
        list.beforeEvent = [&](QEvent* event) {
            if (!stopped && event->type() == CJobProgressEvent::EventType()) {
                stopped = true;
                if (requestBeforeStop) {
                    list.StartNextJob();  // waits for the running job on the retry timer
                }
                list.StopJob();
            }
        };
        list.ClearCounts();
        list.StartNextJob();
        ASSERT_TRUE(WaitIdle(list));
        list.beforeEvent = nullptr;
        ASSERT_EQ(list.messages.size(), 1u);
        EXPECT_EQ(list.messages[0],
                  QStringLiteral("読み込みされていないファイルは一覧から削除されます。よろしいですか？。"));
        ASSERT_FALSE(notLoaded.empty());
    }

    std::set<QString> kept;
    std::set<QString> notLoaded;
    bool requestBeforeStop = false;
    bool userReadsTheQuestion = false;
    bool jobRanDuringQuestion = false;
};

TEST_F(StopLoadTest, YesRemovesExactlyTheRowsNotLoaded)
{
    StopWhileLoading(IDYES);
    std::set<QString> remaining;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        remaining.insert(list.GetImageInfo(row)->m_strPath);
    }
    EXPECT_EQ(remaining, kept);
    EXPECT_EQ(static_cast<size_t>(list.GetItemCount()), kept.size());
    EXPECT_EQ(list.model()->rowCount(), static_cast<int>(kept.size()));
    EXPECT_EQ(list.status.allFiles, static_cast<int>(kept.size()));
}

TEST_F(StopLoadTest, NoKeepsEveryRowAndTheNextPassLoadsThem)
{
    StopWhileLoading(IDNO);
    EXPECT_EQ(static_cast<size_t>(list.GetItemCount()), 401u);
    for (int row = 0; row < 401; ++row) {
        const CImageInfo* info = list.GetImageInfo(row);
        EXPECT_TRUE(info->m_bLoadFailed || info->GetSrcThumb() != nullptr) << row;
    }
}

// The stopped job ends while the question is open; a request that was
// waiting for it must not start a job on the rows about to be removed.
TEST_F(StopLoadTest, WaitingRequestStartsNoJobWhileTheQuestionIsOpen)
{
    requestBeforeStop = true;
    userReadsTheQuestion = true;
    StopWhileLoading(IDYES);
    EXPECT_FALSE(jobRanDuringQuestion);
    EXPECT_EQ(static_cast<size_t>(list.GetItemCount()), kept.size());
}

TEST_F(ImageListJobTest, AdjustingOnlyFailedRowsRunsALoadPass)
{
    Add("bad.png", true);
    Add("a.png");
    RunLoadPass();
    Add("b.png");
    list.ClearCounts();
    Select({0});
    list.StartAdjust(false, true);
    EXPECT_EQ(list.GetJobKind(), CImageListCtrl::JOB_LOAD);
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.status.started.size(), 1u);
    EXPECT_EQ(list.status.started[0].color, kLoadColor);
    EXPECT_EQ(list.adjustCalls, 0);
    EXPECT_NE(list.GetImageInfo(2)->GetSrcThumb(), nullptr);
    EXPECT_FALSE(list.GetImageInfo(0)->m_bPending);
}

TEST_F(ImageListJobTest, ProcessedBitmapGoesToTheVisiblePreviewOfTheFocusedRowOnly)
{
    Add("a.png");
    Add("b.png");
    list.setCurrentIndex(list.model()->index(1, 0));
    list.preview.adjustedCalls = 0;
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.preview.adjustedCalls, 1);
    EXPECT_EQ(list.preview.adjusted.size(), QSize(60, 80));

    // Hidden preview: nothing handed over.
    list.preview.visible = false;
    Select({0, 1});
    list.ResetSelectedResults();
    list.preview.adjustedCalls = 0;
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.adjustCalls, 4);
    EXPECT_EQ(list.preview.adjustedCalls, 0);
}

TEST_F(ImageListJobTest, ItemEventsOfAnInterruptedJobAreStale)
{
    Add("a.png");
    Add("b.png");
    Add("c.png");
    list.setCurrentIndex(list.model()->index(2, 0));
    ASSERT_TRUE(WaitIdle(list));  // focusing a row not loaded yet loads the list
    list.ClearCounts();
    list.SetProcessorCount(1);
    // The one worker has posted the items of a and b when it reaches c, which
    // it gives up once stopped.
    std::promise<void> atLastRow;
    int calls = 0;
    list.adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        if (++calls < 3) {
            return QuickAdjust(source, info, message);
        }
        atLastRow.set_value();
        while (!list.IsStopRequested()) {
            std::this_thread::yield();
        }
        return QImage();
    };
    list.StartAdjust(true, false);
    // Waited for without handling events, so that the items stay queued.
    ASSERT_EQ(atLastRow.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_TRUE(list.InterruptJob(CImageListCtrl::JOB_LOAD));
    list.RemoveItem(0);
    list.UpdateFileCount();
    list.preview.adjustedCalls = 0;
    ASSERT_TRUE(WaitIdle(list));
    // The bitmap posted for old row 1 (entry b) must not reach the preview,
    // although row 1 is now the focused one (entry c).
    EXPECT_EQ(list.GetFocusedRow(), 1);
    EXPECT_EQ(list.preview.adjustedCalls, 0);
    EXPECT_EQ(list.itemEvents.size(), 2u);
}

TEST_F(ImageListJobTest, RowOfAStoppedJobIsRedrawnWhenItsLastResultArrives)
{
    Add("a.png");
    Add("b.png");
    RunLoadPass();
    list.setCurrentIndex(list.model()->index(0, 0));
    list.SetProcessorCount(1);
    std::promise<void> atLastRow;
    int calls = 0;  // one worker: row 0 (a.png) comes first
    list.adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        if (++calls == 1)
            return QuickAdjust(source, info, message);
        atLastRow.set_value();
        while (!list.IsStopRequested())
            std::this_thread::yield();
        return QImage();
    };
    list.StartAdjust(true, false);
    // Waited for without handling events: the result of a stays queued.
    ASSERT_EQ(atLastRow.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
    QSignalSpy redrawn(list.model(), &QAbstractItemModel::dataChanged);
    list.preview.adjustedCalls = 0;
    list.StopJob();
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_FALSE(redrawn.isEmpty());
    EXPECT_EQ(redrawn.front().front().toModelIndex().row(), 0);
    EXPECT_EQ(list.preview.adjustedCalls, 0);  // the stale bitmap is still dropped
}

TEST_F(ImageListJobTest, ResumedExecuteJobSavesEveryToDoEntryAgain)
{
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        Add(name);
    }
    option.OwPrompt = 1;
    list.SetProcessorCount(1);
    std::atomic<int> calls{0};
    std::atomic<bool> blocked{false};
    list.adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        if (++calls == 3) {
            blocked = true;
            while (!list.IsStopRequested()) {
                std::this_thread::yield();
            }
            return QImage();
        }
        return QuickAdjust(source, info, message);
    };
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitUntil([&] { return blocked.load(); }));
    const QString out = option.SaveAnyDir + QLatin1Char('/');
    // Resumed as a sort does it: the same kind again from the first row.
    ASSERT_TRUE(list.InterruptJob(list.GetJobKind()));
    ASSERT_TRUE(QFileInfo::exists(out + "a.png"));
    ASSERT_TRUE(QFileInfo::exists(out + "b.png"));
    QFile::remove(out + "a.png");
    list.StartNextJob();
    ASSERT_TRUE(WaitIdle(list));
    ASSERT_EQ(list.overwriteQuestions.size(), 1u);
    EXPECT_EQ(list.overwriteQuestions[0].first,
              out + QStringLiteral("b.png\r\nはすでに存在しています。上書きしてもよろしいですか？"));
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        EXPECT_FALSE(QImage(out + name).isNull()) << name;
    }
    EXPECT_TRUE(list.messages.empty());
}

TEST_F(ImageListJobTest, CancelledOverwriteQuestionFallsBackToALoadPass)
{
    Add("a.png");
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitIdle(list));
    Add("b.png");
    option.OwPrompt = 1;
    list.overwriteAnswers = {IDCANCEL};
    list.ClearCounts();
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.overwriteQuestions.size(), 1u);
    EXPECT_EQ(list.GetJobKind(), CImageListCtrl::JOB_LOAD);
    ASSERT_EQ(list.status.started.size(), 1u);
    EXPECT_EQ(list.status.started[0].color, kLoadColor);
    EXPECT_NE(list.GetImageInfo(1)->GetSrcThumb(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(option.SaveAnyDir + "/b.png"));

    // An entry added later is loaded, and nothing is asked again.
    Add("c.png");
    RunLoadPass();
    EXPECT_EQ(list.overwriteQuestions.size(), 1u);
    EXPECT_NE(list.GetImageInfo(2)->GetSrcThumb(), nullptr);
}

TEST_F(ImageListJobTest, KindWithNothingToDoFallsBackToALoadPass)
{
    Add("a.png");
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitIdle(list));
    option.OwPrompt = 1;
    list.overwriteAnswers = {IDNO};
    list.ClearCounts();
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.GetJobKind(), CImageListCtrl::JOB_LOAD);
    ASSERT_EQ(list.status.started.size(), 1u);
    EXPECT_EQ(list.status.started[0].color, kLoadColor);
}

TEST_F(ImageListJobTest, ReplacedThumbnailIsReleasedOnTheInterfaceThread)
{
    Add("a.png");
    RunLoadPass();
    // The file can no longer be read: the loaded thumbnail is replaced by the
    // placeholder when the page is read again for an adjustment.
    WriteDamaged(dir.filePath("a.png"));
    const CImageInfo& info = *list.GetImageInfo(0);
    const QImage* before = info.GetSrcThumb();
    // Replaced by the worker, but still there for drawing until its release
    // reaches the interface thread.
    bool released = false;
    list.beforeEvent = [&](QEvent* event) {
        if (event->type() == CThumbReleaseEvent::EventType()) {
            released = true;
            EXPECT_NE(info.GetSrcThumb(), before);
            EXPECT_EQ(before->width(), 60);
        }
    };
    list.StartAdjust(true, false);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_TRUE(released);
    EXPECT_TRUE(list.GetImageInfo(0)->m_bLoadFailed);
    EXPECT_EQ(list.messages.size(), 1u);
}

}  // namespace
