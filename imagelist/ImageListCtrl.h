#pragma once

#include <QBasicTimer>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTableView>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "imagelist/ImageInfo.h"
#include "platform/CancelFlag.h"
#include "platform/WinTypes.h"
#include "settings/AdjustOption.h"

class CImageListModel;
class IListStatusDisplay;
class IPreviewDisplay;
class IRibbonInvalidator;

// The list of page images: it owns the entries and runs the batch jobs that
// load, preview and execute them on worker threads.
//
// Threads: the user-interface thread changes rows, entries, to-do flags and
// the option record only after InterruptJob (or while no job runs), so the
// job's threads read them without locks. The job thread holds m_csJob for a
// whole job; its workers take m_csPick or m_csError, one at a time.
class CImageListCtrl : public QTableView {
    Q_OBJECT

public:
    enum { JOB_LOAD = 0, JOB_PREVIEW = 1, JOB_EXECUTE = 2 };

    // The option record is the application's live one; the list reads it,
    // and its jobs read it without a lock.
    explicit CImageListCtrl(CAdjustOption& option, QWidget* parent = nullptr);
    ~CImageListCtrl() override;
    CImageListCtrl(const CImageListCtrl&) = delete;
    CImageListCtrl& operator=(const CImageListCtrl&) = delete;

    // Displays of other windows; null while they do not exist.
    void SetStatusDisplay(IListStatusDisplay* pStatus) { m_pStatus = pStatus; }
    void SetRibbon(IRibbonInvalidator* pRibbon) { m_pRibbon = pRibbon; }
    void SetPreview(IPreviewDisplay* pPreview) { m_pPreview = pPreview; }

    // The rows: their count and the entry shown in each (null out of range).
    int GetItemCount() const { return static_cast<int>(m_arrRows.size()); }
    CImageInfo* GetImageInfo(int row) const;
    int GetFocusedRow() const;
    std::vector<int> GetSelectedRows() const;  // ascending
    void RedrawRow(int row);

    // Jobs.
    void StartNextJob();
    void StartAdjust(BOOL bPreview, BOOL bSelectedOnly);
    void StopJob();
    int CountJobItems() const;
    // A job thread exists: set when it is started, cleared when its end has
    // been handled.
    BOOL IsJobRunning() const { return m_bJobRunning; }
    // The kind of the running job, or of the next one to start; an
    // interrupt that resumes the work queues it again.
    int GetJobKind() const { return m_nJobKind; }
    // A request waits for the running job to end.
    bool IsRetryArmed() const { return m_retryTimer.isActive(); }
    // Stops a running job and waits until all its threads have let go of the
    // list; the job that runs next is of nQueuedKind. TRUE when a job ran or a
    // request was waiting for one: the caller restarts it after its change.
    BOOL InterruptJob(int nQueuedKind);

    // Output naming.
    void MakeOutputFileName(const CImageInfo& info, QString& title, QString& extension) const;
    BOOL PrepareSave();
    void ClearOutputNames();

    // Result reset.
    void ResetResults(std::uint32_t mask);
    void ResetSelectedResults();
    void RefreshFiles();
    void ShowInPreview(int row);

    // Rows.
    void RemoveItem(int row);
    void UpdateFileCount();
    void UpdateSelectionCount();

protected:
    // Seams to the engine and to the message boxes. AdjustPage runs on the
    // workers; a long one polls IsStopRequested as the engine does.
    virtual QImage AdjustPage(const QImage& source, CImageInfo& info, QString& message);
    virtual int AskOverwrite(const QString& text, std::uint32_t style);
    virtual int ShowMessageBox(const QString& text, std::uint32_t type);

    bool event(QEvent* event) override;
    void customEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    // For lists built on this one, which fill the rows themselves (the job
    // measuring program, the tests): appends an entry as the last row; the
    // caller brings the view up to date (UpdateFileCount).
    void AppendEntry(std::unique_ptr<CImageInfo> info);
    // Shows the rows in a new order, as a sort does: row i shows the entry
    // that row order[i] showed. Only while no job runs.
    void ReorderRows(const std::vector<int>& order);
    // Workers a job starts at most: the processor count, lowered to measure.
    void SetProcessorCount(int count) { m_nProcessors = count; }
    // Workers the last job started.
    int GetWorkerCount() const { return m_nWorkerCount; }
    bool IsStopRequested() const { return IsCancelled(&m_bStop); }

private:
    void OnJobProgress(int nDone, int nTotal);
    void OnItemProcessed(int nRow, QImage bitmap, int nJobSerial);
    void OnJobFinished();
    void OnTimer(int nIDEvent);

    void JobThreadProc();
    void RunJob();
    void WorkerLoop();
    int PickNextRow();
    void ProcessItem(int nRow);
    bool LoadSource(CImageInfo& info, QImage& source);
    bool AdjustAndCache(CImageInfo& info, const QImage& source, QImage& result);
    void SetJobError(const QString& text);
    void SetItemError(const CImageInfo& info, const QString& message);
    void ReplaceThumb(QImage*& slot, const QImage& thumb);
    void InvalidateJobCommands();
    void RemoveRowsNotLoaded();

    void DropAdjusted(int row);
    void DropMargins(int row);
    void DropAnalysis(int row);
    void EmptyPreview();

    CAdjustOption& m_option;
    CImageListModel* m_pModel;
    IListStatusDisplay* m_pStatus = nullptr;
    IRibbonInvalidator* m_pRibbon = nullptr;
    IPreviewDisplay* m_pPreview = nullptr;
    std::thread m_jobThread;
    QBasicTimer m_retryTimer;
    // Bumped by every interrupt: item events of the stopped job still queued
    // then carry an older serial and are recognised as stale.
    int m_nJobSerial = 0;

    std::vector<std::unique_ptr<CImageInfo>> m_arrImages;  // entries in order of adding
    std::vector<int> m_arrRows;                            // display row -> index into m_arrImages
    QHash<QString, QStringList> m_mapOutputNames;  // lower-cased output folder -> names given there
    BOOL m_bBulkRemove = 0;
    // Job state.
    std::mutex m_csJob;
    int m_nNextRow = 0;
    std::mutex m_csPick;
    int m_nWorkCount = 0;
    std::atomic<int> m_nDoneCount{0};
    int m_nJobKind = JOB_LOAD;
    int m_nQueuedKind = JOB_LOAD;
    BOOL m_bJobRunning = 0;
    CancelFlag m_bStop{0};
    QString m_strFirstError;
    std::mutex m_csError;
    int m_nProcessors = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    int m_nWorkerCount = 0;
};
