#include "imagelist/ImageListCtrl.h"

#include <QGuiApplication>

#include <algorithm>

#include "engine/ShellSort.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ImageHeaderCtrl.h"
#include "imagelist/ImageListModel.h"
#include "imagelist/ListCompare.h"

namespace {

// The wait cursor for the life of the object.
class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace

void CImageListCtrl::Sort(int iColumn, BOOL bAscending, BOOL bAdd)
{
    m_wndHeader->SetSortColumn(iColumn, bAscending, bAdd);
    m_nSortColumn = iColumn;
    m_bAscending = bAscending;
    if (m_arrRows.size() < 2)
        return;
    // Workers read the rows: the job stops for the sort and resumes after it.
    const BOOL interrupted = InterruptJob(m_nJobKind);
    SortItems();
    if (interrupted)
        StartNextJob();
}

void CImageListCtrl::SortItems()
{
    if (m_arrRows.empty() || m_nSortColumn < 0)
        return;
    const CWaitCursor wait;
    SaveSelection();
    const int count = static_cast<int>(m_arrRows.size());
    m_mapSortPos.reserve(count);
    for (int row = 0; row < count; ++row)
        m_mapSortPos.insert(m_arrRows[static_cast<size_t>(row)], row);
    ShellSort(m_arrRows.data(), count, [this](int a, int b) { return CompareItems(a, b); });
    m_mapSortPos = {};
    RestoreSelection();
    viewport()->update();
}

// > 0 when entry a goes after entry b. Equal keys keep the rows they had
// before, in both directions.
int CImageListCtrl::CompareItems(int a, int b) const
{
    const int id = ColumnTable.IdAtControlIndex(m_nSortColumn);
    if (id >= 0 && id <= COLUMN_OVERRIDE) {
        const int key = CompareByColumn(*m_arrImages[static_cast<size_t>(a)], *m_arrImages[static_cast<size_t>(b)], id);
        if (key != 0)
            return (key > 0) == (m_bAscending != 0) ? 1 : -1;
    }
    const auto rowA = m_mapSortPos.constFind(a);
    const auto rowB = m_mapSortPos.constFind(b);
    if (rowA == m_mapSortPos.cend() || rowB == m_mapSortPos.cend() || *rowA == *rowB)
        return 0;
    return *rowA > *rowB ? 1 : -1;
}

void CImageListCtrl::SaveSelection()
{
    const int focused = GetFocusedRow();
    m_nFocusImage = GetImageInfo(focused) != nullptr ? m_arrRows[static_cast<size_t>(focused)] : -1;
    m_mapSelImages.clear();
    for (const int row : GetSelectedRows()) {
        if (GetImageInfo(row) != nullptr)
            m_mapSelImages.insert(m_arrRows[static_cast<size_t>(row)]);
    }
    selectionModel()->clear();
}

void CImageListCtrl::RestoreSelection()
{
    std::vector<int> rows;
    const int count = std::min(static_cast<int>(m_arrRows.size()), m_pModel->rowCount());
    for (int row = 0; row < count && !m_mapSelImages.isEmpty(); ++row) {
        if (m_mapSelImages.remove(m_arrRows[static_cast<size_t>(row)]))
            rows.push_back(row);
    }
    m_mapSelImages.clear();
    const auto focused = std::find(m_arrRows.begin(), m_arrRows.end(), m_nFocusImage);
    const int row = static_cast<int>(focused - m_arrRows.begin());
    SelectRows(rows, -1);
    if (m_nFocusImage >= 0 && row < count && m_pModel->columnCount() > 0)
        FocusRow(row);
    m_nFocusImage = -1;
}

void CImageListCtrl::SelectRows(const std::vector<int>& rows, int focused)
{
    // One selection of runs of rows: selecting row by row would merge
    // thousands of ranges one at a time.
    const int lastColumn = m_pModel->columnCount() - 1;
    if (lastColumn < 0)
        return;
    QItemSelection selection;
    for (size_t at = 0; at < rows.size();) {
        size_t end = at;
        while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1)
            ++end;
        selection.select(m_pModel->index(rows[at], 0), m_pModel->index(rows[end], lastColumn));
        at = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (focused >= 0 && focused != GetFocusedRow())
        FocusRow(focused);
}

void CImageListCtrl::FocusRow(int row)
{
    selectionModel()->setCurrentIndex(m_pModel->index(row, 0), QItemSelectionModel::NoUpdate);
    EnsureRowVisible(row);
}

void CImageListCtrl::EnsureRowVisible(int row)
{
    scrollTo(m_pModel->index(row, 0));
}
