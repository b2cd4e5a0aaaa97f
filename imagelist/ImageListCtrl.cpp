#include "imagelist/ImageListCtrl.h"

#include <QGuiApplication>
#include <QTimerEvent>

#include "engine/AdjustImage.h"
#include "imagelist/ImageHeaderCtrl.h"
#include "imagelist/ImageListModel.h"
#include "imagelist/JobEvents.h"
#include "msgbox/ExtMessageBox.h"
#include "msgbox/SystemMessageBox.h"
#include "platform/FileName.h"

CImageListCtrl::CImageListCtrl(CAdjustOption& option, QWidget* parent)
    : QTableView(parent), m_wndHeader(new CImageHeaderCtrl(this)), m_option(option), m_pModel(new CImageListModel(this))
{
    setModel(m_pModel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    OnCreate();
    // Files dropped from a file manager are taken in.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

CImageListCtrl::~CImageListCtrl()
{
    // The job's threads use the entries and post to this window: both must be
    // gone before the entries are.
    m_bStop = 1;
    {
        std::lock_guard lock(m_csJob);
    }
    if (m_jobThread.joinable()) {
        m_jobThread.join();
    }
}

CImageInfo* CImageListCtrl::GetImageInfo(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_arrRows.size())) {
        return nullptr;
    }
    return m_arrImages[static_cast<size_t>(m_arrRows[static_cast<size_t>(row)])].get();
}

void CImageListCtrl::AppendEntry(std::unique_ptr<CImageInfo> info)
{
    m_arrImages.push_back(std::move(info));
    m_arrRows.push_back(static_cast<int>(m_arrImages.size()) - 1);
}

void CImageListCtrl::ReorderRows(const std::vector<int>& order)
{
    std::vector<int> rows;
    rows.reserve(order.size());
    for (const int row : order) {
        rows.push_back(m_arrRows[static_cast<size_t>(row)]);
    }
    m_arrRows = std::move(rows);
}

int CImageListCtrl::GetFocusedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

std::vector<int> CImageListCtrl::GetSelectedRows() const
{
    std::vector<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CImageListCtrl::RedrawRow(int row)
{
    m_pModel->RedrawItem(row);
}

QImage CImageListCtrl::AdjustPage(const QImage& source, CPageRecord& page, QString& message)
{
    return AdjustImage(source, m_option, page, &m_bStop, message);
}

// Both boxes show the bytes of file names that are no UTF-8 as U+FFFD.
int CImageListCtrl::AskOverwrite(const QString& text, std::uint32_t style)
{
    return ExtMessageBox(this, ShownFileName(text), QString(), style, nullptr);
}

int CImageListCtrl::ShowMessageBox(const QString& text, std::uint32_t type)
{
    // As the framework's message box: the program's name, and a question mark
    // for a question, else the warning icon, unless the caller chose one.
    if ((type & MB_ICONMASK) == 0) {
        const std::uint32_t buttons = type & MB_TYPEMASK;
        type |= buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? MB_ICONQUESTION : MB_ICONEXCLAMATION;
    }
    return SystemMessageBox(this, ShownFileName(text), QGuiApplication::applicationDisplayName(), type);
}

void CImageListCtrl::customEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == CJobProgressEvent::EventType()) {
        const auto* progress = static_cast<CJobProgressEvent*>(event);
        OnJobProgress(progress->m_nDone, progress->m_nTotal);
    } else if (type == CItemProcessedEvent::EventType()) {
        auto* item = static_cast<CItemProcessedEvent*>(event);
        OnItemProcessed(item->m_nRow, std::move(item->m_bitmap), item->m_nJobSerial);
    } else if (type == CJobFinishedEvent::EventType()) {
        OnJobFinished();
    } else if (type != CThumbReleaseEvent::EventType()) {
        // A released thumbnail goes with its event; anything else is not ours.
        QTableView::customEvent(event);
    }
}

void CImageListCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_retryTimer.timerId()) {
        OnTimer(event->timerId());
    } else {
        QTableView::timerEvent(event);
    }
}
