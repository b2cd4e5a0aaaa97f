#include "app/MainView.h"

#include "dialogs/MgnCutDialog.h"
#include "dialogs/OptionPropertySheet.h"
#include "dialogs/RotateDialog.h"
#include "msgbox/ExtMsgBoxDefs.h"

void CMainView::OnOptions()
{
    CAdjustOption option = m_option;
    if (RunOptionsSheet(option) != IDOK)
        return;
    const int mask = option.Compare(m_option);
    if (mask == 0)
        return;
    // The job threads read the record without a lock: none may run while it changes.
    const BOOL interrupted = m_list.InterruptJob(CImageListCtrl::JOB_LOAD);
    m_option = option;
    m_list.ResetResults(static_cast<std::uint32_t>(mask));
    if (interrupted)
        m_list.StartNextJob();
}

int CMainView::RunOptionsSheet(CAdjustOption& option)
{
    COptionPropertySheet sheet(&option, &m_fileMode, this);
    return sheet.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CMainView::OnSetPageType(int id)
{
    if (const std::optional<FileOverride> value = GetFixedOverride(id))
        SetOverride(*value);
}

void CMainView::OnSetSlant(int id)
{
    if (const std::optional<FileOverride> value = id == ID_SLANT_OTHER ? AskOverride(id) : GetFixedOverride(id))
        SetOverride(*value);
}

void CMainView::OnSetMarginCut(int id)
{
    if (const std::optional<FileOverride> value = id == ID_MARGIN_OTHER ? AskOverride(id) : GetFixedOverride(id))
        SetOverride(*value);
}

bool CMainView::OnOverrideCommand(int id)
{
    if (id >= ID_PAGE_KIND_AUTO && id <= ID_PAGE_KIND_PICT)
        OnSetPageType(id);
    else if (id >= ID_SLANT_AUTO && id <= ID_SLANT_OTHER)
        OnSetSlant(id);
    else if (id >= ID_MARGIN_AUTO && id <= ID_MARGIN_OTHER)
        OnSetMarginCut(id);
    else
        return false;
    return true;
}

// The dialog starts from the first selected row; nothing without one, or
// when the dialog is cancelled.
std::optional<FileOverride> CMainView::AskOverride(int id)
{
    const std::vector<int> rows = m_list.GetSelectedRows();
    if (rows.empty())
        return std::nullopt;
    const CImageInfo& first = *m_list.GetImageInfo(rows.front());
    if (id == ID_SLANT_OTHER) {
        double angle = GetRotateDialogSeed(first);
        return AskRotateAngle(angle) ? std::optional<FileOverride>(angle) : std::nullopt;
    }
    RECT margin = GetMarginDialogSeed(first);
    return AskMarginCut(margin) ? std::optional<FileOverride>(margin) : std::nullopt;
}

bool CMainView::AskRotateAngle(double& angle)
{
    CRotateDialog dialog(angle, this);
    if (dialog.DoModal() != IDOK)
        return false;
    angle = dialog.m_dAngle;
    return true;
}

bool CMainView::AskMarginCut(RECT& margin)
{
    CMgnCutDialog dialog(margin, this);
    if (dialog.DoModal() != IDOK)
        return false;
    margin = dialog.m_rcMargin;
    return true;
}

// The interrupted job starts again with its own kind once the rows changed.
void CMainView::SetOverride(const FileOverride& value)
{
    const BOOL interrupted = m_list.InterruptJob(m_list.GetJobKind());
    const int focused = m_list.GetFocusedRow();
    for (const int row : m_list.GetSelectedRows()) {
        ApplyFileOverride(*m_list.GetImageInfo(row), value);
        m_list.RedrawRow(row);
        if (row == focused && m_pPreview->IsPreviewVisible())
            m_pPreview->SetPreviewAdjustedImage(QImage());
    }
    if (interrupted)
        m_list.StartNextJob();
}
