#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <set>
#include <thread>
#include <vector>

#include "imagelist/ImageListCtrl.h"
#include "imagelist/ListStatusDisplay.h"
#include "imagelist/PreviewDisplay.h"
#include "imagelist/RibbonInvalidator.h"

// Readable strings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Status bar stand-in that records what the list shows.
struct CFakeStatus : IListStatusDisplay {
    struct Progress {
        int total;
        COLORREF color;
        QString caption;
    };
    std::vector<Progress> started;
    int lastDone = -1;
    int ended = 0;
    int allFiles = -1;
    int selectedFiles = -1;

    void ShowProgress(int total, COLORREF color, const QString& caption) override
    {
        started.push_back({total, color, caption});
    }
    void SetPaneProgress(int done) override { lastDone = done; }
    void EndProgress() override { ++ended; }
    void SetAllFilesCount(int count) override { allFiles = count; }
    void SetSelectedFilesCount(int count) override { selectedFiles = count; }
};

struct CFakeRibbon : IRibbonInvalidator {
    std::vector<int> invalidated;
    void InvalidateUICommand(int id) override { invalidated.push_back(id); }
};

struct CFakePreview : IPreviewDisplay {
    bool visible = true;
    QString source = QStringLiteral("<none>");
    QImage adjusted;
    int adjustedCalls = 0;

    bool IsPreviewVisible() const override { return visible; }
    void SetPreviewSourceFile(const QString& path) override { source = path; }
    void SetPreviewAdjustedImage(const QImage& bitmap) override
    {
        adjusted = bitmap;
        ++adjustedCalls;
    }
};

// The list with its engine call and message boxes answered by the test, and
// its posted events counted.
class CTestListCtrl : public CImageListCtrl {
public:
    explicit CTestListCtrl(CAdjustOption& option);

    using CImageListCtrl::GetWorkerCount;
    using CImageListCtrl::IsStopRequested;
    using CImageListCtrl::ReorderRows;
    using CImageListCtrl::SetProcessorCount;

    // Null: the real adjustment.
    std::function<QImage(const QImage&, CPageRecord&, QString&)> adjust;
    std::atomic<int> adjustCalls{0};
    std::mutex threadsLock;
    std::set<std::thread::id> adjustThreads;

    std::deque<int> overwriteAnswers;  // empty: Yes
    std::vector<std::pair<QString, std::uint32_t>> overwriteQuestions;
    std::vector<QString> messages;
    std::function<int(const QString&)> answerQuestion;  // the questions; null: Yes

    int progressEvents = 0;
    int finishedEvents = 0;
    std::vector<std::pair<int, bool>> itemEvents;  // row, with a bitmap
    std::function<void(QEvent*)> beforeEvent;

    CFakeStatus status;
    CFakeRibbon ribbon;
    CFakePreview preview;
    int scrollRequests = 0;  // rows brought into view, by the view itself too

    void ClearCounts();
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override
    {
        ++scrollRequests;
        CImageListCtrl::scrollTo(index, hint);
    }

protected:
    QImage AdjustPage(const QImage& source, CPageRecord& info, QString& message) override;
    int AskOverwrite(const QString& text, std::uint32_t style) override;
    int ShowMessageBox(const QString& text, std::uint32_t type) override;
    void customEvent(QEvent* event) override;
};

// A cheap adjustment: the page as 24-bit RGB, analysed as a text page.
QImage QuickAdjust(const QImage& source, CPageRecord& info, QString& message);

// Writes a small page image (PNG unless the name says otherwise).
void WritePage(const QString& path, int width = 60, int height = 80);
// Writes bytes that no decoder reads.
void WriteDamaged(const QString& path);

// Adds an entry for the file, as intake does, without updating the rows' view.
CImageInfo& AddEntry(CTestListCtrl& list, const QString& path, const QString& origin = QString());

// Handles events until the condition holds or the time runs out; the bound is
// generous, for a busy machine with few cores.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 60000);
// No job runs and none waits to be retried.
bool WaitIdle(const CImageListCtrl& list, int timeoutMs = 120000);

// A list over files in a temporary folder, its outputs in one folder of it,
// no overwrite question and the cheap adjustment.
class CListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        option.SaveDirType = 2;
        option.SaveAnyDir = dir.filePath(QStringLiteral("out"));
        option.OwPrompt = 0;
        list.adjust = QuickAdjust;
    }

    QTemporaryDir dir;
    CAdjustOption option;
    CTestListCtrl list{option};
};
