#pragma once

#include <QBasicTimer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTableView>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "imagelist/ImageInfo.h"
#include "imagelist/IntakeAsker.h"
#include "imagelist/JobEvents.h"
#include "imagelist/MemoryBudget.h"
#include "imagelist/OutputNames.h"
#include "imagelist/RowPainter.h"
#include "platform/CancelFlag.h"
#include "platform/WinTypes.h"
#include "settings/AdjustOption.h"

class CImageHeaderCtrl;
class CImageListModel;
class IListApplication;
class IListStatusDisplay;
class IPasswordPrompt;
class IPreviewDisplay;
class IRecentItemSink;
class IRibbonInvalidator;
class QMenu;

// The list of page images: it owns the entries and runs the batch jobs that
// load, preview and execute them on worker threads.
//
// Threads: the user-interface thread changes rows, entries, to-do flags and
// the option record only after InterruptJob (or while no job runs), so the
// job's threads read them without locks. The job thread holds m_csJob for a
// whole job; its workers take m_csPick or m_csError, one at a time. What a
// worker finds out goes into its entry under the entry's own lock, as the rows
// may be drawn meanwhile.
class CImageListCtrl : public QTableView, private IIntakeAsker {
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
    void SetRecentItems(IRecentItemSink* pRecent) { m_pRecentItems = pRecent; }
    void SetPasswordPrompt(IPasswordPrompt* pPrompt) { m_pPasswordPrompt = pPrompt; }

    // Intake: files, folders and archives become entries, then the list is
    // sorted again and the load job started.
    void AddFiles(const QStringList& paths);

    // The rows: their count and the entry shown in each (null out of range).
    int GetItemCount() const { return static_cast<int>(m_arrRows.size()); }
    // Appends an entry as the last row, without intake, for programs that
    // fill the list themselves (measuring programs, tests); the caller
    // brings the view up to date (UpdateFileCount). Only while no job runs.
    void AppendEntry(std::unique_ptr<CImageInfo> info);
    CImageInfo* GetImageInfo(int row) const;
    int GetFocusedRow() const;
    std::vector<int> GetSelectedRows() const;  // ascending
    void RedrawRow(int row);

    // Jobs. StartNextJob does nothing while an intake adds entries.
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
    // The memory the pages of a job may hold at once (half the smallest limit
    // on the process's memory unless set); set it only while no job runs.
    void SetMemoryBudget(qint64 bytes) { m_memoryBudget.SetLimit(bytes); }

    // Output naming.
    void MakeOutputFileName(const CImageInfo& info, QString& title, QString& extension) const;
    BOOL PrepareSave();
    void ClearOutputNames();

    // Result reset.
    void ResetResults(std::uint32_t mask);
    void ResetSelectedResults();
    void RefreshFiles();
    void ShowInPreview(int row);

    // Per-file override menu at a screen point; (-1, -1) puts it at the
    // list's top-left corner. The chosen command id, or 0.
    int OnContextMenu(const QPoint& point);

    // Rows.
    void RemoveSelected();
    void RemoveAll();
    void RemoveItem(int row);
    void UpdateFileCount();
    void UpdateSelectionCount();

    // Columns, row drawing, sorting and the list's settings.
    // The application's fonts and debug switch; null: the application font.
    void SetApplication(IListApplication* pApp);
    // Column layout, thumbnail size and sort from the profile, and back.
    void LoadSettings();
    void SaveSettings();
    void LoadColumnLayout();
    void SaveColumnLayout() const;
    void SetThumbSize(int mode);
    int GetThumbSize() const { return m_nThumbSize; }
    // Shows or hides a column; FALSE when nothing changed.
    BOOL ShowColumn(int id, BOOL show);
    BOOL HasSelection() const;
    // Selects and focuses the row alone.
    void SelectOnly(int row);
    CImageHeaderCtrl* GetHeaderCtrl() const { return m_wndHeader; }
    // Sorts by a control column; a running job is stopped and started again.
    virtual void Sort(int iColumn, BOOL bAscending, BOOL bAdd);
    // Sorts again by the current column and direction (the caller has
    // interrupted any job).
    void SortItems();
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }
    // The height of a row for the thumbnail size and the text lines.
    int MeasureItem() const;
    // Brings the row of the index into view vertically only.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    // Seams to the engine and to the message boxes. AdjustPage runs on the
    // workers, on a worker's copy of the entry's page record; a long one polls
    // IsStopRequested as the engine does.
    virtual QImage AdjustPage(const QImage& source, CPageRecord& page, QString& message);
    virtual int AskOverwrite(const QString& text, std::uint32_t style);
    virtual int ShowMessageBox(const QString& text, std::uint32_t type);
    // Shows the menu and gives the chosen command id, or 0.
    virtual int TrackPopupMenu(QMenu& menu, const QPoint& point);

    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    void customEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Home and End go to the first and last row.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

signals:
    // A command of the per-file override menu, for the main view.
    void MenuCommand(int commandId);

protected:
    // For lists built on this one (the job measuring program, the tests).
    // Shows the rows in a new order, as a sort does: row i shows the entry
    // that row order[i] showed. Only while no job runs.
    void ReorderRows(const std::vector<int>& order);
    // Workers a job starts at most: the processor count, lowered to measure.
    void SetProcessorCount(int count) { m_nProcessors = count; }
    // Workers the last job started.
    int GetWorkerCount() const { return m_nWorkerCount; }
    bool IsStopRequested() const { return IsCancelled(&m_bStop); }

private:
    // The walk of one intake, up to its sort.
    void TakeIn(const QStringList& paths);
    int AskSubfolders() override;
    void ShowIntakeMessage(const QString& text) override;
    bool AskArchivePassword(const QString& archivePath, QString& password) override;

    // Any thread: queues the event and posts the call that hands it on.
    void PostJobEvent(std::unique_ptr<QEvent> event);
    // Hands the oldest queued job event to customEvent.
    Q_INVOKABLE void DeliverJobEvent();
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
    bool AdjustAndCache(CImageInfo& info, CPageRecord& page, const QImage& source, QImage& result);
    void SetJobError(const QString& text);
    void SetItemError(const CImageInfo& info, const QString& message);
    void ReplaceThumb(QImage*& slot, const QImage& thumb);
    void InvalidateJobCommands();
    void RemoveRowsNotLoaded();

    void DropAdjusted(int row);
    void DropMargins(int row);
    void DropAnalysis(int row);
    void EmptyPreview();

    // Columns, drawing, sorting.
    void OnCreate();
    void RebuildColumns();
    void InsertColumn(int index, int id);
    BOOL ApplyColumnOrder();
    void ApplyStatusFont();
    std::vector<RowColumn> HeaderColumns() const;
    void UpdateRowHeight();
    void DrawRows(QPainter& painter, int first, int last);
    void DrawEmptyHint(QPainter& painter);
    // Repaints the whole width of a row, where its focus rectangle runs.
    void RedrawFocusRow(int row);
    QString OnGetDispInfo(int row, int column) const;
    void OpenFocusedInPreview();
    void OnItemChanged(const QModelIndex& current, const QModelIndex& previous);
    void OnHeaderClicked(int index);
    void OnHeaderEndDrag(int index, int oldOrder, int newOrder);
    void OnHeaderEndTrack(int index, int oldWidth, int newWidth);
    void OnHeaderDividerDblClick(int index);
    int CompareItems(int a, int b) const;
    void SaveSelection();
    void RestoreSelection();
    // Selects exactly the rows (ascending) and focuses a row (-1: the focus
    // stays).
    void SelectRows(const std::vector<int>& rows, int focused);
    // Focuses a row and brings it into view.
    void FocusRow(int row);
    void EnsureRowVisible(int row);
    void FollowSortColumn(int index, BOOL shown);

    CImageHeaderCtrl* m_wndHeader;
    IListApplication* m_pApp = nullptr;
    int m_nSortColumn = 0;
    BOOL m_bAscending = 1;
    int m_nThumbSize = 1;
    int m_nTextRowHeight = 0;
    std::array<QPixmap, ICON_COUNT> m_imgIcons;
    int m_nFocusImage = -1;
    QSet<int> m_mapSelImages;
    QHash<int, int> m_mapSortPos;  // entry index -> its row before the sort
    // Set while the list itself changes the header, whose signals then
    // describe no user action.
    bool m_bBuildingColumns = false;

    CAdjustOption& m_option;
    CImageListModel* m_pModel;
    IListStatusDisplay* m_pStatus = nullptr;
    IRibbonInvalidator* m_pRibbon = nullptr;
    IPreviewDisplay* m_pPreview = nullptr;
    IRecentItemSink* m_pRecentItems = nullptr;
    IPasswordPrompt* m_pPasswordPrompt = nullptr;
    std::thread m_jobThread;
    CMemoryBudget m_memoryBudget;
    QBasicTimer m_retryTimer;
    CJobEventQueue m_jobEvents;
    // Bumped by every interrupt: item events of the stopped job still queued
    // then carry an older serial and are recognised as stale.
    int m_nJobSerial = 0;

    std::vector<std::unique_ptr<CImageInfo>> m_arrImages;  // entries in order of adding
    std::vector<int> m_arrRows;                            // display row -> index into m_arrImages
    QHash<QString, COutputNames> m_mapOutputNames;         // lower-cased output folder -> names given there
    QHash<QString, QString> m_mapArchiveFolders;           // archive path -> folder extracted into
    BOOL m_bBulkRemove = 0;
    BOOL m_bIntake = 0;  // an intake is adding entries; it starts the next job itself
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
