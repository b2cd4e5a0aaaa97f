// The preview window's keys: walking the image list, zooming and scrolling.
#include <QKeyEvent>

#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewListNavigation.h"

bool CPreviewDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            ShowHelp();
            return true;
        }
        const Qt::KeyboardModifiers mods = key->modifiers();
        if (HandleKey(key->key(), mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::ShiftModifier)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

BOOL CPreviewDialog::HandleKey(int key, bool ctrl, bool shift)
{
    const PreviewKeyAction action = GetPreviewKeyAction(key, ctrl, shift);
    if (action.command == PreviewKeyCommand::Pass)
        return false;
    RunKeyAction(action);
    return true;
}

void CPreviewDialog::RunKeyAction(const PreviewKeyAction& action)
{
    switch (action.command) {
    case PreviewKeyCommand::ShowMainWindow:
        BringMainWindowToTop();
        break;
    case PreviewKeyCommand::SelectFirst:
        SelectFirstImage();
        break;
    case PreviewKeyCommand::SelectLast:
        SelectLastImage();
        break;
    case PreviewKeyCommand::SelectPrev:
        SelectPrevImage(action.amount);
        break;
    case PreviewKeyCommand::SelectNext:
        SelectNextImage(action.amount);
        break;
    case PreviewKeyCommand::ZoomIn:
        ForViews(action, &CPreviewCtrl::ZoomIn);
        break;
    case PreviewKeyCommand::ZoomOut:
        ForViews(action, &CPreviewCtrl::ZoomOut);
        break;
    case PreviewKeyCommand::ScrollHorz:
        ForViews(action, &CPreviewCtrl::ScrollHorz);
        break;
    case PreviewKeyCommand::ScrollVert:
        ForViews(action, &CPreviewCtrl::ScrollVert);
        break;
    case PreviewKeyCommand::TakeColor:
        UpdateInsText();
        break;
    case PreviewKeyCommand::Pass:
        break;
    }
}

// Zooms the views the modifiers name at their centres.
void CPreviewDialog::ForViews(const PreviewKeyAction& action, void (CPreviewCtrl::*zoom)(QPoint))
{
    if (action.left)
        (m_wndSource->*zoom)(GetWindowCenter(*m_wndSource));
    if (action.right)
        (m_wndAdjusted->*zoom)(GetWindowCenter(*m_wndAdjusted));
}

void CPreviewDialog::ForViews(const PreviewKeyAction& action, void (CPreviewCtrl::*scroll)(int))
{
    if (action.left)
        (m_wndSource->*scroll)(action.amount);
    if (action.right)
        (m_wndAdjusted->*scroll)(action.amount);
}

void CPreviewDialog::SelectFirstImage()
{
    if (m_pList != nullptr && m_pList->GetRowCount() > 0)
        m_pList->SelectOnlyAndShow(0);
}

void CPreviewDialog::SelectLastImage()
{
    if (m_pList != nullptr && m_pList->GetRowCount() > 0)
        m_pList->SelectOnlyAndShow(m_pList->GetRowCount() - 1);
}

void CPreviewDialog::SelectPrevImage(int step)
{
    const int row = m_pList != nullptr ? GetPrevRow(m_pList->GetFocusedRow(), step) : -1;
    if (row >= 0)
        m_pList->SelectOnlyAndShow(row);
}

void CPreviewDialog::SelectNextImage(int step)
{
    const int row = m_pList != nullptr ? GetNextRow(m_pList->GetFocusedRow(), m_pList->GetRowCount(), step) : -1;
    if (row >= 0)
        m_pList->SelectOnlyAndShow(row);
}
