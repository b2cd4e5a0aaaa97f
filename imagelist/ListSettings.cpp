#include "imagelist/ImageListCtrl.h"

#include "imagelist/ColumnTable.h"
#include "imagelist/ImageHeaderCtrl.h"
#include "imagelist/ImageListModel.h"
#include "imagelist/ListApplication.h"
#include "settings/Profile.h"

namespace {

const QString kSection;  // the application's own key
constexpr int kResultColumnWidth = 100;
constexpr int kThumbColumnPad = 6;

// Clears a flag on leaving, however the scope is left.
class CFlagScope {
public:
    explicit CFlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CFlagScope() { m_flag = false; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

void CImageListCtrl::LoadSettings()
{
    LoadColumnLayout();
    RebuildColumns();
    m_nThumbSize = GetProfileInt(kSection, QStringLiteral("ThumbSize"), 1);
    UpdateRowHeight();
    Sort(GetProfileInt(kSection, QStringLiteral("SortColumn"), 0),
         GetProfileInt(kSection, QStringLiteral("Ascending"), 1), 0);
}

void CImageListCtrl::SaveSettings()
{
    InterruptJob(JOB_LOAD);  // no worker is left running at shutdown
    SaveColumnLayout();
    WriteProfileInt(kSection, QStringLiteral("ThumbSize"), m_nThumbSize);
    WriteProfileInt(kSection, QStringLiteral("SortColumn"), m_nSortColumn);
    WriteProfileInt(kSection, QStringLiteral("Ascending"), m_bAscending);
}

void CImageListCtrl::LoadColumnLayout()
{
    QByteArray data;
    const bool stored = m_pApp != nullptr ? m_pApp->LoadColumnInfo(data)
                                          : GetProfileBinary(kSection, QStringLiteral("ColumnInfo"), data);
    if (stored)
        ColumnTable.LoadColumnLayout(data);
}

void CImageListCtrl::SaveColumnLayout() const
{
    WriteProfileBinary(kSection, QStringLiteral("ColumnInfo"), ColumnTable.SaveColumnLayout());
}

void CImageListCtrl::RebuildColumns()
{
    const CFlagScope building(m_bBuildingColumns);
    while (m_pModel->columnCount() > 0)
        m_pModel->DeleteColumn(m_pModel->columnCount() - 1);
    for (int index = 0; index < ColumnTable.VisibleCount(); ++index)
        InsertColumn(index, ColumnTable.IdAtControlIndex(index));
    ApplyColumnOrder();
}

void CImageListCtrl::InsertColumn(int index, int id)
{
    const CFlagScope building(m_bBuildingColumns);
    m_pModel->InsertColumn(index);
    m_wndHeader->resizeSection(index, std::max(0, ColumnTable.Find(id)->width));
}

BOOL CImageListCtrl::ApplyColumnOrder()
{
    const CFlagScope building(m_bBuildingColumns);
    const std::vector<int> order = ColumnTable.OrderArray();
    for (int position = 0; position < static_cast<int>(order.size()); ++position) {
        const int index = order[static_cast<size_t>(position)];
        if (index < m_wndHeader->count() && position < m_wndHeader->count())
            m_wndHeader->moveSection(m_wndHeader->visualIndex(index), position);
    }
    viewport()->update();
    // Stored orders that leave a position empty or share one are no order.
    return static_cast<int>(order.size()) == m_wndHeader->count();
}

BOOL CImageListCtrl::ShowColumn(int id, BOOL show)
{
    const int oldIndex = ColumnTable.ControlIndexOf(id);
    if (!ColumnTable.SetColumnVisible(id, show))
        return 0;
    // The view leaves a new column's cells unselected: the rows are selected
    // again over the new width.
    const std::vector<int> selected = GetSelectedRows();
    const int focused = GetFocusedRow();
    const int index = show ? ColumnTable.ControlIndexOf(id) : oldIndex;
    if (show) {
        InsertColumn(index, id);
    } else {
        const CFlagScope building(m_bBuildingColumns);
        m_pModel->DeleteColumn(index);
    }
    FollowSortColumn(index, show);
    SelectRows(selected, focused);
    UpdateSelectionCount();  // counted while the view was half through the change
    return ApplyColumnOrder();
}

// The rows stay sorted by the same column, so its control index follows a
// column shown or hidden before it; once it is hidden itself, no shown
// column is the sort column.
void CImageListCtrl::FollowSortColumn(int index, BOOL shown)
{
    if (m_nSortColumn < 0 || index > m_nSortColumn)
        return;
    if (shown)
        ++m_nSortColumn;
    else
        m_nSortColumn = index == m_nSortColumn ? -1 : m_nSortColumn - 1;
    m_wndHeader->SetSortColumn(m_nSortColumn, m_bAscending, 0);
}

void CImageListCtrl::SetThumbSize(int mode)
{
    m_nThumbSize = mode;
    if (m_pModel->rowCount() > 0 && m_pModel->columnCount() > 0)
        EnsureRowVisible(0);
    UpdateRowHeight();
    const int width = ThumbSizePixels(mode) + kThumbColumnPad;
    for (const int id : {COLUMN_SRC_THUMB, COLUMN_ADJ_THUMB}) {
        ColumnTable.Find(id)->width = width;
        const int index = ColumnTable.ControlIndexOf(id);
        if (index >= 0)
            m_wndHeader->resizeSection(index, width);
    }
}

void CImageListCtrl::OnHeaderClicked(int index)
{
    const bool same = index == m_wndHeader->GetSortColumn();
    Sort(index, same ? !m_wndHeader->IsAscending() : 1, 0);
}

void CImageListCtrl::OnHeaderEndDrag(int index, int, int newOrder)
{
    if (m_bBuildingColumns)
        return;
    ColumnTable.MoveColumn(index, newOrder);
    viewport()->update();
}

void CImageListCtrl::OnHeaderEndTrack(int index, int, int newWidth)
{
    ColumnDef* column = ColumnTable.Find(ColumnTable.IdAtControlIndex(index));
    if (!m_bBuildingColumns && column != nullptr)
        column->width = newWidth;
}

void CImageListCtrl::OnHeaderDividerDblClick(int index)
{
    ColumnDef* column = ColumnTable.Find(ColumnTable.IdAtControlIndex(index));
    if (column == nullptr)
        return;
    if (column->id == COLUMN_SRC_THUMB || column->id == COLUMN_ADJ_THUMB)
        m_wndHeader->resizeSection(index, ThumbSizePixels(m_nThumbSize) + kThumbColumnPad);
    else if (column->id == COLUMN_AUTO || column->id == COLUMN_OVERRIDE)
        m_wndHeader->resizeSection(index, kResultColumnWidth);
    else
        resizeColumnToContents(index);
    column->width = m_wndHeader->sectionSize(index);
}
