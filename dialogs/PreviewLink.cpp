#include "dialogs/PreviewLink.h"

#include <QItemSelectionModel>

#include "dialogs/PreviewWindow.h"
#include "imagelist/ImageListCtrl.h"

CPreviewLink::CPreviewLink(CImageListCtrl& list) : m_list(list)
{
    m_list.SetPreview(this);
    SetPreviewListNavigation(this);
}

CPreviewLink::~CPreviewLink()
{
    m_list.SetPreview(nullptr);
    SetPreviewListNavigation(nullptr);
}

bool CPreviewLink::IsPreviewVisible() const
{
    return IsPreviewDialogVisible();
}

void CPreviewLink::SetPreviewSourceFile(const QString& path)
{
    ::SetPreviewSourceFile(path);
}

void CPreviewLink::SetPreviewAdjustedImage(const QImage& bitmap)
{
    ::SetPreviewAdjustedImage(bitmap);
}

int CPreviewLink::GetRowCount() const
{
    return static_cast<int>(m_list.m_arrRows.size());
}

int CPreviewLink::GetFocusedRow() const
{
    return m_list.GetFocusedRow();
}

void CPreviewLink::SelectOnlyAndShow(int row)
{
    // The only selected row, and the focused one; the list's change of focus
    // then shows it in the preview.
    const QModelIndex index = m_list.model()->index(row, 0);
    m_list.selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list.scrollTo(index);
}
