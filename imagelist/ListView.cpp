#include "imagelist/ImageListCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "imagelist/ColumnTable.h"
#include "imagelist/ImageHeaderCtrl.h"
#include "imagelist/ImageListModel.h"
#include "imagelist/ListApplication.h"
#include "imagelist/PreviewDisplay.h"
#include "imagelist/RibbonInvalidator.h"

namespace {

constexpr int kMinTextHeight = 16;
constexpr int kRowPad = 6;
constexpr int kCmdClipPaste = 13;

std::array<QPixmap, ICON_COUNT> LoadListIcons()
{
    std::array<QPixmap, ICON_COUNT> icons;
    for (int i = 0; i < ICON_COUNT; ++i)
        icons[static_cast<size_t>(i)] = QPixmap(QStringLiteral(":/res/images/%1.png").arg(153 + i));
    return icons;
}

// The hint's font when the application gives none: 14 point bold.
QFont DefaultBoldFont()
{
    QFont font = QApplication::font();
    font.setPointSize(14);
    font.setBold(true);
    return font;
}

}  // namespace

void CImageListCtrl::OnCreate()
{
    setHorizontalHeader(m_wndHeader);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_pModel->SetTextCallback([this](int row, int column) { return OnGetDispInfo(row, column); });
    ApplyStatusFont();
    RebuildColumns();
    m_imgIcons = LoadListIcons();
    m_wndHeader->SetSortColumn(m_nSortColumn, m_bAscending, 0);

    connect(m_wndHeader, &QHeaderView::sectionClicked, this, &CImageListCtrl::OnHeaderClicked);
    connect(m_wndHeader, &QHeaderView::sectionMoved, this, &CImageListCtrl::OnHeaderEndDrag);
    connect(m_wndHeader, &QHeaderView::sectionResized, this, &CImageListCtrl::OnHeaderEndTrack);
    // The divider's double-click fits only the text columns to their contents.
    disconnect(m_wndHeader, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(m_wndHeader, &QHeaderView::sectionHandleDoubleClicked, this, &CImageListCtrl::OnHeaderDividerDblClick);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &CImageListCtrl::OnItemChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bBulkRemove)
            UpdateSelectionCount();
    });
}

void CImageListCtrl::SetApplication(IListApplication* pApp)
{
    m_pApp = pApp;
    ApplyStatusFont();
}

void CImageListCtrl::ApplyStatusFont()
{
    const QFont font = m_pApp != nullptr ? m_pApp->GetStatusFont() : QApplication::font();
    setFont(font);
    const int h = std::max(kMinTextHeight, QFontMetrics(font).height());
    m_nTextRowHeight = h + 2 * (h + 1);  // three lines with a pixel between them
    UpdateRowHeight();
}

int CImageListCtrl::MeasureItem() const
{
    const int thumb = ThumbSizePixels(m_nThumbSize);
    return (m_nTextRowHeight <= thumb ? thumb : m_nTextRowHeight) + kRowPad;
}

void CImageListCtrl::UpdateRowHeight()
{
    verticalHeader()->setDefaultSectionSize(MeasureItem());
}

QString CImageListCtrl::OnGetDispInfo(int row, int column) const
{
    const CImageInfo* info = GetImageInfo(row);
    return info != nullptr ? info->GetColumnText(ColumnTable.IdAtControlIndex(column)) : QString();
}

BOOL CImageListCtrl::HasSelection() const
{
    return selectionModel()->hasSelection();
}

void CImageListCtrl::SelectOnly(int row)
{
    if (row < 0 || row >= m_pModel->rowCount())
        return;
    selectionModel()->setCurrentIndex(m_pModel->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CImageListCtrl::OnItemChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // A move to another cell of the same row leaves the focused row as it is.
    if (current.row() == previous.row())
        return;
    // The view repaints only the two cells; the focus rectangle spans rows.
    RedrawFocusRow(previous.row());
    RedrawFocusRow(current.row());
    // While rows are removed one after another the focus passes rows that
    // are about to go, and a job's threads must not meet the rows half
    // removed: nothing is shown or loaded for them, and the callers count
    // the selection once at the end.
    if (m_bBulkRemove)
        return;
    const CImageInfo* info = GetImageInfo(current.row());
    if (info != nullptr) {
        ShowInPreview(current.row());
        // The row the user looks at is loaded first when nothing loads yet.
        if (m_nJobKind == JOB_LOAD && !m_bJobRunning && info->GetSrcThumb() == nullptr)
            StartNextJob();
    }
    UpdateSelectionCount();
}

void CImageListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        // Shift+F10 is the menu key's twin, but only the menu key reaches the
        // list as a menu event.
        OnContextMenu(QPoint(-1, -1));
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OpenFocusedInPreview();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // A row is focused as a whole: the keys scroll the columns instead.
        horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                                          : QAbstractSlider::SliderSingleStepAdd);
        break;
    default:
        QTableView::keyPressEvent(event);
    }
}

// Enter opens the preview on the focused row, and nothing else.
void CImageListCtrl::OpenFocusedInPreview()
{
    const int row = GetFocusedRow();
    if (row >= 0 && m_pPreview != nullptr && m_pPreview->ShowPreviewDialog())
        ShowInPreview(row);
}

QModelIndex CImageListCtrl::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const int count = m_pModel->rowCount();
    if ((cursorAction == MoveHome || cursorAction == MoveEnd) && count > 0 && m_pModel->columnCount() > 0)
        return m_pModel->index(cursorAction == MoveHome ? 0 : count - 1, 0);
    return QTableView::moveCursor(cursorAction, modifiers);
}

void CImageListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // Rows come into view up or down only: the sideways scroll stays where
    // the user left it, whichever cell of the row is current.
    QScrollBar* sideways = horizontalScrollBar();
    const int value = sideways->value();
    const QSignalBlocker blocker(sideways);
    QTableView::scrollTo(index, hint);
    sideways->setValue(value);
}

void CImageListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0 && m_pPreview != nullptr && m_pPreview->ShowPreviewDialog())
        ShowInPreview(row);
}

void CImageListCtrl::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    RedrawFocusRow(GetFocusedRow());
    if (m_pRibbon != nullptr)
        m_pRibbon->InvalidateUICommand(kCmdClipPaste);
}

void CImageListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    RedrawFocusRow(GetFocusedRow());
}

void CImageListCtrl::RedrawFocusRow(int row)
{
    if (row >= 0 && row < m_pModel->rowCount())
        viewport()->update(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
}

void CImageListCtrl::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(isEnabled() ? QPalette::Base : QPalette::Button));
    const int count = static_cast<int>(m_arrRows.size());
    if (count == 0 || m_pModel->rowCount() == 0) {
        DrawEmptyHint(painter);
        return;
    }
    const int first = std::max(0, rowAt(area.top()));
    const int last = rowAt(area.bottom());
    DrawRows(painter, first, std::min(last < 0 ? count - 1 : last, std::min(count, m_pModel->rowCount()) - 1));
}

std::vector<RowColumn> CImageListCtrl::HeaderColumns() const
{
    std::vector<RowColumn> columns;
    for (int position = 0; position < m_wndHeader->count(); ++position) {
        const int index = m_wndHeader->logicalIndex(position);
        const ColumnDef* def = ColumnTable.Find(ColumnTable.IdAtControlIndex(index));
        if (def != nullptr && !m_wndHeader->isSectionHidden(index))
            columns.push_back({def->id, def->format, m_wndHeader->sectionSize(index)});
    }
    return columns;
}

void CImageListCtrl::DrawRows(QPainter& painter, int first, int last)
{
    const std::vector<RowColumn> columns = HeaderColumns();
    CRowPainter rows(painter, columns, m_imgIcons, ThumbSizePixels(m_nThumbSize),
                     m_pApp != nullptr && m_pApp->IsDebugOn());
    const int focused = hasFocus() ? GetFocusedRow() : -1;
    const int width = m_wndHeader->length();
    for (int row = first; row <= last; ++row) {
        const QRect item(-horizontalOffset(), rowViewportPosition(row), width, rowHeight(row));
        const RowState state{row, selectionModel()->isRowSelected(row, QModelIndex()), row == focused, isEnabled()};
        rows.DrawItem(*GetImageInfo(row), item, state, palette());
    }
}

void CImageListCtrl::DrawEmptyHint(QPainter& painter)
{
    painter.save();
    painter.setFont(m_pApp != nullptr ? m_pApp->GetBoldFont() : DefaultBoldFont());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("DRAG & DROP OK"));
    painter.restore();
}
