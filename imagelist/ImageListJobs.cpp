#include "imagelist/ImageListCtrl.h"

#include <atomic>
#include <exception>
#include <system_error>

#include "common/ErrorText.h"
#include "engine/BitmapConvert.h"
#include "engine/SaveAdjusted.h"
#include "engine/Thumbnail.h"
#include "imagelist/JobEvents.h"
#include "imagelist/ListStatusDisplay.h"
#include "imagelist/PageMemory.h"
#include "imagelist/PreviewDisplay.h"
#include "imagelist/RibbonInvalidator.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "platform/MemoryReuse.h"

namespace {

// Ribbon commands whose state follows the job: preview selected/all,
// execute selected/all, cancel.
constexpr int kFirstJobCommand = 21;
constexpr int kLastJobCommand = 25;

struct JobLook {
    COLORREF color;
    const char* caption;
};

JobLook LookOfKind(int kind)
{
    switch (kind) {
    case CImageListCtrl::JOB_PREVIEW:
        return {0x00C0FF, "プレビュー中止"};
    case CImageListCtrl::JOB_EXECUTE:
        return {0xE040E0, "実行を中止"};
    default:
        return {0x40E040, "読み込み中止"};
    }
}

}  // namespace

void CImageListCtrl::StartNextJob()
{
    // Workers would read the rows the intake is still changing; it starts
    // the job itself at its end.
    if (m_bIntake) {
        return;
    }
    if (m_bJobRunning) {
        m_retryTimer.start(300, this);
        return;
    }
    // This call meets any request still waiting; the timer must not start a
    // second job from the event loop of the overwrite question.
    m_retryTimer.stop();
    // A preview or execute kind that starts nothing (the overwrite question
    // cancelled, nothing to do) falls back to a load pass, so that it does
    // not stand in the way of loading the entries added later.
    if (m_nJobKind == JOB_EXECUTE && !PrepareSave()) {
        m_nJobKind = JOB_LOAD;
    }
    m_nWorkCount = CountJobItems();
    if (m_nWorkCount <= 0 && m_nJobKind != JOB_LOAD) {
        m_nJobKind = JOB_LOAD;
        m_nWorkCount = CountJobItems();
    }
    if (m_nWorkCount <= 0) {
        return;
    }
    const JobLook look = LookOfKind(m_nJobKind);
    if (m_pStatus != nullptr) {
        m_pStatus->ShowProgress(m_nWorkCount, look.color, QString::fromUtf8(look.caption));
    }
    m_bStop = 0;
    if (m_jobThread.joinable()) {
        m_jobThread.join();  // the previous job thread has already posted its end
    }
    try {
        m_jobThread = std::thread(&CImageListCtrl::JobThreadProc, this);
    } catch (const std::system_error&) {
        // No job: take back the progress shown for it.
        if (m_pStatus != nullptr) {
            m_pStatus->EndProgress();
        }
        return;
    }
    m_bJobRunning = 1;
    InvalidateJobCommands();
}

void CImageListCtrl::OnTimer(int nIDEvent)
{
    if (nIDEvent == m_retryTimer.timerId() && !m_bJobRunning) {
        m_retryTimer.stop();
        StartNextJob();
    }
}

int CImageListCtrl::CountJobItems() const
{
    int count = 0;
    for (const int index : m_arrRows) {
        const CImageInfo& info = *m_arrImages[static_cast<size_t>(index)];
        if (!info.m_bLoadFailed && (m_nJobKind == JOB_LOAD || info.m_bPending)) {
            ++count;
        }
    }
    return count;
}

BOOL CImageListCtrl::InterruptJob(int nQueuedKind)
{
    // A request waiting on the retry timer is taken back as well and becomes
    // the caller's to restart: left armed, the timer could start a job from the
    // event loop of a message box while the caller is still changing the rows.
    const bool waiting = m_retryTimer.isActive();
    m_retryTimer.stop();
    if (!m_bJobRunning) {
        return waiting;
    }
    m_bStop = 1;
    {
        std::lock_guard lock(m_csJob);
        m_nQueuedKind = nQueuedKind;
        ++m_nJobSerial;
    }
    return true;
}

void CImageListCtrl::JobThreadProc()
{
    RunJob();
    PostJobEvent(std::make_unique<CJobFinishedEvent>());
}

void CImageListCtrl::RunJob()
{
    std::lock_guard lock(m_csJob);
    // Stopped before it began: the rows may be changing right now.
    if (IsCancelled(&m_bStop)) {
        m_nWorkerCount = 0;
        return;
    }
    const int count = std::min(m_nProcessors, m_nWorkCount);
    m_nWorkerCount = 0;
    if (count <= 0) {
        return;
    }
    m_nNextRow = 0;
    m_nDoneCount = 0;
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        try {
            workers.emplace_back(&CImageListCtrl::WorkerLoop, this);
        } catch (const std::system_error&) {
            // The workers that could be started do the work.
        }
    }
    m_nWorkerCount = static_cast<int>(workers.size());
    for (std::thread& worker : workers) {
        worker.join();
    }
}

int CImageListCtrl::PickNextRow()
{
    std::lock_guard lock(m_csPick);
    const int count = static_cast<int>(m_arrRows.size());
    for (int row = m_nNextRow; row < count; ++row) {
        if (IsCancelled(&m_bStop)) {
            return -1;
        }
        const CImageInfo& info = *m_arrImages[static_cast<size_t>(m_arrRows[static_cast<size_t>(row)])];
        if (!info.m_bLoadFailed && (m_nJobKind == JOB_LOAD || info.m_bPending)) {
            m_nNextRow = row + 1;
            return row;
        }
    }
    return -1;
}

void CImageListCtrl::WorkerLoop()
{
    for (;;) {
        const int row = PickNextRow();
        if (row < 0) {
            return;
        }
        {
            std::lock_guard lock(m_csError);
            if (!m_strFirstError.isEmpty()) {
                return;  // the first error ends the whole job
            }
        }
        try {
            ProcessItem(row);
        } catch (const std::exception& exception) {
            SetJobError(GetExceptionText(exception) + QLatin1Char('\n') + GetImageInfo(row)->m_strPath);
        }
        const int done = ++m_nDoneCount;
        PostJobEvent(std::make_unique<CJobProgressEvent>(done, m_nWorkCount));
    }
}

void CImageListCtrl::ProcessItem(int nRow)
{
    CImageInfo& info = *GetImageInfo(nRow);
    // The worker's own copy of the page record, filled by it and the engine;
    // the row may be drawn meanwhile, so it reaches the entry under its lock.
    CPageRecord page = info.GetPageRecord();
    const bool execute = m_nJobKind == JOB_EXECUTE;
    const bool needLoad = info.GetSrcThumb() == nullptr;
    // Held until the page's images are gone, since several huge pages at once
    // could exhaust the machine's memory; a loaded entry of a load pass holds none.
    const bool idle = m_nJobKind == JOB_LOAD && !needLoad;
    const CMemoryReservation reservation(m_memoryBudget, idle ? 0 : EstimatePagePeak(info.m_strPath));
    bool needAdjust = false;
    QImage cached;
    if (m_nJobKind == JOB_PREVIEW) {
        needAdjust = info.GetAdjThumb() == nullptr;
    } else if (execute) {
        if (info.GetAdjThumb() == nullptr) {
            needAdjust = true;
        } else {
            cached = info.LoadCachedImage();
            needAdjust = cached.isNull();
        }
    }
    if (!needLoad && !needAdjust && !execute) {
        return;
    }

    QImage source;
    if ((needLoad || needAdjust) && !IsCancelled(&m_bStop) && !LoadSource(info, source)) {
        return;
    }
    if (needLoad && !IsCancelled(&m_bStop)) {
        page.m_nSrcWidth = source.width();
        page.m_nSrcHeight = source.height();
        info.StoreAnalysis(page);
        ReplaceThumb(info.m_pSrcThumb, MakeThumbnail(source));
    }
    if (needAdjust && !IsCancelled(&m_bStop) && !AdjustAndCache(info, page, source, cached)) {
        return;
    }
    if (execute && !IsCancelled(&m_bStop) && !cached.isNull()) {
        QString message;
        if (!SaveAdjustedBitmap(cached, info.m_strOrigin, info.m_strOutputName, QString(), m_option, &m_bStop,
                                message)) {
            SetItemError(info, message);
            return;
        }
    }
    PostJobEvent(std::make_unique<CItemProcessedEvent>(nRow, std::move(cached), m_nJobSerial));
}

// The page without transparency; false when the file cannot be read, which
// marks the entry failed for good and shows the placeholder in its row.
bool CImageListCtrl::LoadSource(CImageInfo& info, QImage& source)
{
    source = LoadImageFileCopy(info.m_strPath);
    if (source.isNull()) {
        SetJobError(QStringLiteral("画像をロードできませんでした。\n") + info.m_strPath);
        info.m_bLoadFailed = 1;
        ReplaceThumb(info.m_pSrcThumb, LoadPlaceholderBitmap());
        return false;
    }
    QImage flat = FlattenAlphaOnWhite(source);
    if (!flat.isNull()) {
        source = std::move(flat);
    }
    return true;
}

// The adjusted page with its thumbnail and cache file; false on a failure.
bool CImageListCtrl::AdjustAndCache(CImageInfo& info, CPageRecord& page, const QImage& source, QImage& result)
{
    QString message;
    QImage adjusted = AdjustPage(source, page, message);
    info.StoreAnalysis(page);  // what was found before a failure or a stop is kept
    if (adjusted.isNull()) {
        SetItemError(info, message);
        return false;
    }
    result = std::move(adjusted);
    info.StoreAdjustedSize(result.width(), result.height());
    ReplaceThumb(info.m_pAdjThumb, MakeThumbnail(result));
    if (!info.SaveCachedImage(result, &m_bStop, message)) {
        SetItemError(info, message);
        return false;
    }
    return true;
}

void CImageListCtrl::SetJobError(const QString& text)
{
    std::lock_guard lock(m_csError);
    if (m_strFirstError.isEmpty()) {
        m_strFirstError = text;
    }
}

// Work cut short by the stop flag is no error.
void CImageListCtrl::SetItemError(const CImageInfo& info, const QString& message)
{
    if (!IsCancelled(&m_bStop)) {
        SetJobError(message + QLatin1Char('\n') + info.m_strPath);
    }
}

// A worker stores the new thumbnail in one pointer write; the previous one
// may still be drawn, so it is released on the user-interface thread.
void CImageListCtrl::ReplaceThumb(QImage*& slot, const QImage& thumb)
{
    QImage* previous = slot;
    // Published with release order, so that a drawing that meets the new
    // pointer also sees the finished image behind it.
    std::atomic_ref<QImage*>(slot).store(thumb.isNull() ? nullptr : new QImage(thumb), std::memory_order_release);
    if (previous != nullptr) {
        PostJobEvent(std::make_unique<CThumbReleaseEvent>(previous));
    }
}

void CImageListCtrl::PostJobEvent(std::unique_ptr<QEvent> event)
{
    m_jobEvents.Push(std::move(event));
    QMetaObject::invokeMethod(this, "DeliverJobEvent", Qt::QueuedConnection);
}

void CImageListCtrl::DeliverJobEvent()
{
    if (const std::unique_ptr<QEvent> event = m_jobEvents.Take()) {
        customEvent(event.get());
    }
}

void CImageListCtrl::OnJobProgress(int nDone, int nTotal)
{
    Q_UNUSED(nTotal);
    if (m_pStatus != nullptr) {
        m_pStatus->SetPaneProgress(nDone);
    }
}

void CImageListCtrl::OnItemProcessed(int nRow, QImage bitmap, int nJobSerial)
{
    // The row shows what the worker stored, also when the job was stopped
    // since. A stale event's row may show another entry now: its bitmap goes.
    RedrawRow(nRow);
    if (nJobSerial != m_nJobSerial) {
        return;
    }
    if (bitmap.isNull()) {
        return;
    }
    if (nRow == GetFocusedRow() && m_pPreview != nullptr && m_pPreview->IsPreviewVisible()) {
        m_pPreview->SetPreviewAdjustedImage(bitmap);
    }
}

void CImageListCtrl::OnJobFinished()
{
    if (m_jobThread.joinable()) {
        m_jobThread.join();  // it has nothing left to do but end
    }
    m_bJobRunning = 0;
    ReleaseFreedMemory();  // the page buffers kept for the job's workers
    InvalidateJobCommands();
    m_nJobKind = m_nQueuedKind;
    m_nQueuedKind = JOB_LOAD;
    if (m_pStatus != nullptr) {
        m_pStatus->EndProgress();
    }
    // Emptied before it is shown: the box runs its own event loop, in which
    // the retry timer may start the next job, whose workers would otherwise
    // take the old text for an error of their own.
    const QString error = std::exchange(m_strFirstError, QString());
    if (!error.isEmpty()) {
        ShowMessageBox(error, MB_OK);
    }
}

void CImageListCtrl::InvalidateJobCommands()
{
    if (m_pRibbon == nullptr) {
        return;
    }
    for (int id = kFirstJobCommand; id <= kLastJobCommand; ++id) {
        m_pRibbon->InvalidateUICommand(id);
    }
}

void CImageListCtrl::StartAdjust(BOOL bPreview, BOOL bSelectedOnly)
{
    if (m_arrRows.empty()) {
        return;
    }
    InterruptJob(JOB_LOAD);
    for (const auto& info : m_arrImages) {
        info->m_bPending = info->m_bLoadFailed ? 0 : !bSelectedOnly;
    }
    const int kind = bPreview ? JOB_PREVIEW : JOB_EXECUTE;
    int& target = m_bJobRunning ? m_nQueuedKind : m_nJobKind;
    if (bSelectedOnly) {
        bool any = false;
        for (const int row : GetSelectedRows()) {
            CImageInfo* info = GetImageInfo(row);
            if (info != nullptr && !info->m_bLoadFailed) {
                info->m_bPending = 1;
                any = true;
            }
        }
        if (!any) {
            target = JOB_LOAD;
            StartNextJob();
            return;
        }
    }
    target = kind;
    StartNextJob();
}

void CImageListCtrl::StopJob()
{
    if (m_arrRows.empty() || !m_bJobRunning) {
        return;
    }
    InterruptJob(JOB_LOAD);
    if (m_nJobKind == JOB_LOAD) {
        RemoveRowsNotLoaded();
    }
    StartNextJob();
}

void CImageListCtrl::RemoveRowsNotLoaded()
{
    m_bBulkRemove = 1;
    bool asked = false;
    bool removed = false;
    for (int row = static_cast<int>(m_arrRows.size()) - 1; row >= 0; --row) {
        const CImageInfo& info = *GetImageInfo(row);
        if (info.m_bLoadFailed || info.GetSrcThumb() != nullptr) {
            continue;
        }
        if (!asked) {
            asked = true;
            if (ShowMessageBox(QStringLiteral("読み込みされていないファイルは一覧から削除されます。よろしいですか？。"),
                               MB_YESNO) != IDYES) {
                break;
            }
        }
        RemoveItem(row);
        removed = true;
    }
    m_bBulkRemove = 0;
    if (removed) {
        ClearOutputNames();
        UpdateFileCount();
        UpdateSelectionCount();
    }
}
