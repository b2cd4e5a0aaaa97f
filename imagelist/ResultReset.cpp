#include "imagelist/ImageListCtrl.h"

#include "common/Paths.h"
#include "imagelist/PreviewDisplay.h"

#include <sys/stat.h>

// The three levels of dropping a stored result; each includes the ones after it.
void CImageListCtrl::DropAdjusted(int row)
{
    CImageInfo& info = *GetImageInfo(row);
    info.m_nAdjWidth = 0;
    info.m_nAdjHeight = 0;
    delete std::exchange(info.m_pAdjThumb, nullptr);
    info.DeleteCacheFile();
    RedrawRow(row);
}

void CImageListCtrl::DropMargins(int row)
{
    CImageInfo& info = *GetImageInfo(row);
    info.m_rcMarginPx = RECT{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
    info.m_rcMarginPct = RECT{};
    DropAdjusted(row);
}

void CImageListCtrl::DropAnalysis(int row)
{
    CImageInfo& info = *GetImageInfo(row);
    info.m_dSlantAngle = kUnsetAngleMarker;
    info.m_nPageKind = kUnsetMarker;
    info.m_nTotalCells = 0;
    info.m_nVertCells = 0;
    info.m_nHorzCells = 0;
    DropMargins(row);
}

void CImageListCtrl::ResetResults(std::uint32_t mask)
{
    const int focused = GetFocusedRow();
    bool focusedDropped = false;
    const int rows = static_cast<int>(m_arrRows.size());
    for (int row = 0; row < rows; ++row) {
        CImageInfo& info = *GetImageInfo(row);
        if (info.m_bLoadFailed) {
            continue;
        }
        const int kind = info.m_nPageKindOverride != kUnsetMarker ? info.m_nPageKindOverride : info.m_nPageKind;
        const bool text = kind == 1;
        const bool pict = kind == 2;
        const bool pages = ((mask & OPTCHG_TEXT) && text) || ((mask & OPTCHG_PICT) && pict);
        bool dropped = true;
        if (((mask & OPTCHG_TEXTITEMS) && text) || ((mask & OPTCHG_PICTITEMS) && pict)) {
            DropAnalysis(row);
        } else if ((mask & OPTCHG_SLANT) && pages) {
            info.m_dSlantAngle = kUnsetAngleMarker;
            DropMargins(row);
        } else if ((mask & OPTCHG_MARGIN) && pages) {
            DropMargins(row);
        } else if (((mask & (OPTCHG_SIZE | OPTCHG_COLOR)) && pages) || (mask & OPTCHG_BACKCOLOR)) {
            DropAdjusted(row);
        } else {
            dropped = false;
        }
        focusedDropped = focusedDropped || (dropped && row == focused);
    }
    if (focusedDropped && m_pPreview != nullptr && m_pPreview->IsPreviewVisible()) {
        m_pPreview->SetPreviewAdjustedImage(QImage());
    }
    if (mask & OPTCHG_OUTNAME) {
        ClearOutputNames();
    }
}

void CImageListCtrl::ResetSelectedResults()
{
    const BOOL interrupted = InterruptJob(JOB_LOAD);
    const int focused = GetFocusedRow();
    bool focusedDropped = false;
    for (const int row : GetSelectedRows()) {
        if (GetImageInfo(row)->m_bLoadFailed) {
            continue;
        }
        DropAnalysis(row);
        focusedDropped = focusedDropped || row == focused;
    }
    if (focusedDropped && m_pPreview != nullptr && m_pPreview->IsPreviewVisible()) {
        m_pPreview->SetPreviewAdjustedImage(QImage());
    }
    if (interrupted) {
        StartNextJob();
    }
}

void CImageListCtrl::EmptyPreview()
{
    if (m_pPreview != nullptr && m_pPreview->IsPreviewVisible()) {
        m_pPreview->SetPreviewSourceFile(QString());
        m_pPreview->SetPreviewAdjustedImage(QImage());
    }
}

void CImageListCtrl::RefreshFiles()
{
    if (m_arrRows.empty()) {
        return;
    }
    const BOOL interrupted = InterruptJob(JOB_LOAD);
    m_bBulkRemove = 1;
    const int focused = GetFocusedRow();
    bool removed = false;
    bool reset = false;
    for (int row = static_cast<int>(m_arrRows.size()) - 1; row >= 0; --row) {
        CImageInfo& info = *GetImageInfo(row);
        struct stat status {};
        if (!GetFileStatus(info.m_strPath, status)) {
            RemoveItem(row);
            removed = true;
            continue;
        }
        const qint64 size = status.st_size;
        const qint64 modified = status.st_mtime;
        if (info.m_dwFileSize != static_cast<quint32>(size) || info.m_timeModified != modified) {
            info.Reset(size, modified);
            reset = true;
            RedrawRow(row);
            if (row == focused) {
                EmptyPreview();
            }
        }
    }
    m_bBulkRemove = 0;
    if (removed) {
        ClearOutputNames();
        UpdateFileCount();
        UpdateSelectionCount();
        if (m_arrRows.empty()) {
            EmptyPreview();
        }
    }
    if (interrupted || reset) {
        StartNextJob();
    }
}

void CImageListCtrl::ShowInPreview(int row)
{
    if (m_pPreview == nullptr || !m_pPreview->IsPreviewVisible()) {
        return;
    }
    CImageInfo* info = GetImageInfo(row);
    if (info == nullptr) {
        m_pPreview->SetPreviewSourceFile(QString());
        m_pPreview->SetPreviewAdjustedImage(QImage());
        return;
    }
    m_pPreview->SetPreviewSourceFile(info->m_strPath);
    m_pPreview->SetPreviewAdjustedImage(info->LoadCachedImage());
}
