#include "app/MainFrame.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>

#include "app/MainView.h"
#include "app/RibbonBar.h"
#include "app/RibbonIcons.h"
#include "app/RibbonIds.h"
#include "app/RibbonMarkup.h"
#include "app/UIApplication.h"
#include "imagelist/ColumnTable.h"
#include "platform/ribbon/RibbonWidget.h"

// The ribbon lies over the pane that keeps its place, and follows it.
void CMainFrame::CreateRibbon(QWidget& client)
{
    m_pUIApplication = std::make_unique<CUIApplication>(*this);
    m_pUIFramework = new CRibbonWidget(CreateRibbonMarkup(), *m_pUIApplication, CreateRibbonIcon, &client);
    m_wndRibbonBar->installEventFilter(this);
    m_pUIFramework->LoadUI();
    m_pUIFramework->raise();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { InvalidateUICommand(cmdClipPaste); });
}

// The ribbon saves its state, then goes once control is back in the event
// loop: a shutdown may arrive inside a dialog that one of its menu items
// opened, with that item's code still running.
void CMainFrame::DestroyRibbon()
{
    if (m_pUIFramework == nullptr)
        return;
    m_pUIFramework->Destroy();
    std::exchange(m_pUIFramework, nullptr)->deleteLater();
    m_wndRibbonBar->SetRibbonHeight(0);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    const bool placed = event->type() == QEvent::Resize || event->type() == QEvent::Move;
    if (watched == m_wndRibbonBar && placed && m_pUIFramework != nullptr)
        m_pUIFramework->setGeometry(m_wndRibbonBar->geometry());
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SetRibbonHeight(int height)
{
    m_wndRibbonBar->SetRibbonHeight(height);
    if (m_pUIFramework != nullptr)
        m_pUIFramework->resize(m_wndRibbonBar->width(), height);
}

void CMainFrame::InvalidateUICommand(int commandId)
{
    if (m_pUIFramework != nullptr)
        m_pUIFramework->InvalidateUICommand(static_cast<unsigned>(commandId), RIBBON_INVALIDATE_STATE);
}

CommandState CMainFrame::GetCommandState() const
{
    const CImageListCtrl& list = m_wndView->m_list;
    CommandState state;
    state.clipboardHasFiles = CMainView::ClipboardHasFiles();
    state.rowCount = list.GetItemCount();
    state.selectedCount = static_cast<int>(list.GetSelectedRows().size());
    state.jobRunning = list.IsJobRunning() != 0;
    state.thumbSize = list.GetThumbSize();
    for (std::size_t id = 0; id < state.columnShown.size(); ++id)
        state.columnShown[id] = ColumnTable.ControlIndexOf(static_cast<int>(id)) >= 0;
    return state;
}

void CMainFrame::ClearRecentItems()
{
    m_recent.m_arrRecentItems.clear();
    m_recent.m_bRecentChanged = 1;
}

void CMainFrame::AddFiles(const QStringList& paths)
{
    m_wndView->m_list.AddFiles(paths);
}

void CMainFrame::SetThumbSize(int mode)
{
    m_wndView->m_list.SetThumbSize(mode);
}

void CMainFrame::ShowColumn(int column, bool show)
{
    m_wndView->m_list.ShowColumn(column, show);
}
