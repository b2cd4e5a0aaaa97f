#include "dialogs/PreviewLink.h"

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

bool CPreviewLink::ShowPreviewDialog()
{
    return ::ShowPreviewDialog();
}

int CPreviewLink::GetRowCount() const
{
    return m_list.GetItemCount();
}

int CPreviewLink::GetFocusedRow() const
{
    return m_list.GetFocusedRow();
}

void CPreviewLink::SelectOnlyAndShow(int row)
{
    // The list's change of focus then shows the row in the preview.
    m_list.SelectOnly(row);
    m_list.scrollTo(m_list.model()->index(row, 0));
}
