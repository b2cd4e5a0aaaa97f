#include "imagelist/ImageListCtrl.h"

#include "imagelist/ImageListModel.h"
#include "imagelist/ListStatusDisplay.h"
#include "imagelist/RibbonInvalidator.h"
#include "settings/OutputFolder.h"

void CImageListCtrl::RemoveSelected()
{
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) {
        return;
    }
    // Workers read the rows and entries: they must be done first.
    const BOOL interrupted = InterruptJob(JOB_LOAD);
    if (rows.size() == m_arrRows.size()) {
        RemoveAll();
        EmptyPreview();
    } else {
        // From the last up, so that the rows still to go keep their numbers.
        m_bBulkRemove = 1;
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            RemoveItem(*row);
        }
        m_bBulkRemove = 0;
    }
    ClearOutputNames();
    UpdateFileCount();
    UpdateSelectionCount();
    if (interrupted) {
        StartNextJob();
    }
}

// The output names and archive folders stay; the callers clear the names.
void CImageListCtrl::RemoveAll()
{
    m_pModel->SetItemCount(0);
    m_arrImages.clear();
    m_arrRows.clear();
}

void CImageListCtrl::RemoveItem(int row)
{
    if (row < 0 || row >= static_cast<int>(m_arrRows.size())) {
        return;
    }
    m_pModel->DeleteItem(row);
    const int index = m_arrRows[static_cast<size_t>(row)];
    m_arrRows.erase(m_arrRows.begin() + row);
    const std::unique_ptr<CImageInfo> info = std::move(m_arrImages[static_cast<size_t>(index)]);
    m_arrImages.erase(m_arrImages.begin() + index);

    // Its output name becomes free again in its folder.
    const auto names = m_mapOutputNames.find(GetOutputFolder(info->m_strOrigin, m_option).toLower());
    if (names != m_mapOutputNames.end() && !info->m_strOutputName.isEmpty()) {
        names->Remove(info->m_strOutputName);
    }
    for (int& other : m_arrRows) {
        if (other > index) {
            --other;
        }
    }
}

void CImageListCtrl::UpdateFileCount()
{
    m_pModel->SetItemCount(static_cast<int>(m_arrRows.size()));
    if (m_pStatus != nullptr) {
        m_pStatus->SetAllFilesCount(static_cast<int>(m_arrRows.size()));
    }
    if (m_pRibbon != nullptr) {
        // select all, refresh, preview all, execute all
        for (const int id : {19, 44, 22, 24}) {
            m_pRibbon->InvalidateUICommand(id);
        }
    }
}

void CImageListCtrl::UpdateSelectionCount()
{
    if (m_pStatus != nullptr) {
        m_pStatus->SetSelectedFilesCount(static_cast<int>(GetSelectedRows().size()));
    }
    if (m_pRibbon != nullptr) {
        // cut, copy, delete, clear, preview selected, execute selected
        for (const int id : {14, 15, 17, 18, 21, 23}) {
            m_pRibbon->InvalidateUICommand(id);
        }
    }
}
