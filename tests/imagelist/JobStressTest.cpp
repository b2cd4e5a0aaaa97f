#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <numeric>

#include "ListTestSupport.h"
#include "engine/AdjustImage.h"
#include "engine/BitmapConvert.h"
#include "engine/SaveAdjusted.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "settings/AdjustOption.h"
#include "settings/OutputFolder.h"

namespace {

// Execute jobs over many pages, interrupted and restarted every few
// milliseconds in every way the user can, with the real engine.
class JobStressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        out = dir.filePath(QStringLiteral("out"));
        option.SaveDirType = 2;  // one folder for all: equal titles get numbers
        option.SaveAnyDir = out;
        option.OwPrompt = 0;
        for (int folder = 0; folder < 3; ++folder) {
            QDir(dir.path()).mkpath(QString::number(folder));
            for (int i = 0; i < kPagesPerFolder; ++i) {
                const QString path =
                    dir.filePath(QStringLiteral("%1/p%2.png").arg(folder).arg(i, 3, 10, QLatin1Char('0')));
                WritePage(path, 240 + i % 7, 340 + folder);
                AddEntry(list, path);
            }
        }
        list.UpdateFileCount();
        // Stopping a load pass asks whether to drop the rows not loaded yet;
        // the user keeps them, so every page stays to be executed.
        list.answerQuestion = [this](const QString&) {
            ++questions;
            return IDNO;
        };
    }

    // Every output file that exists under an entry's name is a complete image.
    void ExpectOutputsComplete()
    {
        for (int row = 0; row < list.GetItemCount(); ++row) {
            const CImageInfo* info = list.GetImageInfo(row);
            if (info->m_strOutputName.isEmpty()) {
                continue;
            }
            const QString path = GetOutputFolder(info->m_strOrigin, option) + info->m_strOutputName;
            if (QFileInfo::exists(path)) {
                EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
            }
        }
    }

    // Each output holds its own page adjusted under the final options: no
    // stale cache, thumbnail or analysis of an interrupted run got into it.
    void ExpectOutputsAreTheirOwnPages()
    {
        const QString reference = dir.filePath(QStringLiteral("reference.png"));
        for (int row = 0; row < list.GetItemCount(); ++row) {
            const CImageInfo* info = list.GetImageInfo(row);
            QImage source = LoadImageFileCopy(info->m_strPath);
            ASSERT_FALSE(source.isNull());
            CImageInfo fresh;
            fresh.m_nSrcWidth = source.width();
            fresh.m_nSrcHeight = source.height();
            QString message;
            QImage adjusted = AdjustImage(source, option, fresh, nullptr, message);
            ASSERT_FALSE(adjusted.isNull()) << message.toStdString();
            ASSERT_TRUE(SaveAdjustedBitmap(adjusted, QString(), QString(), reference, option, nullptr, message));
            const QString path = GetOutputFolder(info->m_strOrigin, option) + info->m_strOutputName;
            EXPECT_EQ(QImage(path), QImage(reference)) << path.toStdString();
        }
    }

    void Sort()
    {
        // As a sort does it: the rows change, the job kind resumes.
        const BOOL interrupted = list.InterruptJob(list.GetJobKind());
        if (interrupted && ++checks % 8 == 0) {
            ExpectOutputsComplete();
        }
        std::vector<int> order(static_cast<size_t>(list.GetItemCount()));
        std::iota(order.rbegin(), order.rend(), 0);
        std::rotate(order.begin(), order.begin() + static_cast<int>(random.bounded(50u)), order.end());
        list.ReorderRows(order);
        if (interrupted) {
            list.StartNextJob();
        }
    }

    void ChangeOptions()
    {
        const BOOL interrupted = list.InterruptJob(CImageListCtrl::JOB_LOAD);
        option.BackColor = option.BackColor == 0xFFFFFF ? 0xF0F0F0 : 0xFFFFFF;
        list.ResetResults(OPTCHG_BACKCOLOR);
        if (interrupted) {
            list.StartNextJob();
        }
    }

    void ClearSomeResults()
    {
        list.selectionModel()->clearSelection();
        for (int i = 0; i < 20; ++i) {
            const int row =
                static_cast<int>(random.bounded(static_cast<quint32>(static_cast<size_t>(list.GetItemCount()))));
            list.selectionModel()->select(list.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        list.ResetSelectedResults();
    }

    static constexpr int kPagesPerFolder = 100;
    QTemporaryDir dir;
    QString out;
    CAdjustOption option;
    CTestListCtrl list{option};
    QRandomGenerator random{20261207};
    int checks = 0;
    int questions = 0;
};

TEST_F(JobStressTest, InterruptedExecuteJobsLeaveEveryOutputCompleteAndUnique)
{
    list.StartAdjust(false, false);
    for (int step = 0; step < 160; ++step) {
        // The jobs run on for a few processed pages, or until they are done.
        const int progress = list.progressEvents + 1 + static_cast<int>(random.bounded(8u));
        ASSERT_TRUE(WaitUntil(
            [&] { return list.progressEvents >= progress || (!list.IsJobRunning() && !list.IsRetryArmed()); }));
        switch (random.bounded(6u)) {
        case 0:
            list.StartAdjust(false, false);
            break;
        case 1:
            list.StopJob();
            list.StartAdjust(false, false);
            break;
        case 2:
            list.RefreshFiles();
            break;
        case 3:
            Sort();
            break;
        case 4:
            ChangeOptions();
            break;
        default:
            ClearSomeResults();
            break;
        }
    }
    list.StartAdjust(false, false);
    ASSERT_TRUE(WaitIdle(list, 300000));

    // No error: the only boxes shown were the questions answered above.
    EXPECT_EQ(static_cast<int>(list.messages.size()), questions)
        << (list.messages.empty() ? "" : list.messages.back().toStdString());
    ASSERT_EQ(static_cast<size_t>(list.GetItemCount()), 3u * kPagesPerFolder);
    QSet<QString> names;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const CImageInfo* info = list.GetImageInfo(row);
        ASSERT_TRUE(info->m_bPending);
        ASSERT_FALSE(info->m_strOutputName.isEmpty());
        EXPECT_FALSE(names.contains(info->m_strOutputName.toLower())) << info->m_strOutputName.toStdString();
        names.insert(info->m_strOutputName.toLower());
        const QString path = GetOutputFolder(info->m_strOrigin, option) + info->m_strOutputName;
        const QImage output(path);
        EXPECT_FALSE(output.isNull()) << path.toStdString();
    }
    ExpectOutputsAreTheirOwnPages();
    // Nothing else was written there: no half-written file under a final name.
    const QStringList files = QDir(out).entryList(QDir::Files);
    for (const QString& file : files) {
        EXPECT_TRUE(names.contains(file.toLower())) << file.toStdString();
    }
}

}  // namespace
