#include "app/MainFrame.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/FolivaneApp.h"
#include "app/MainStatusBar.h"
#include "app/MainView.h"
#include "app/ProfileFile.h"
#include "app/RibbonBar.h"
#include "app/SingleInstance.h"
#include "app/WindowIdentity.h"
#include "common/Paths.h"
#include "res/StringTable.h"

namespace {

QString CountText(unsigned id, int count)
{
    return CStringTable::Application().LoadString(id).replace(QStringLiteral("%d"), QString::number(count));
}

}  // namespace

CMainFrame::CMainFrame()
{
    setWindowIcon(QIcon(QStringLiteral(":/res/images/128.png")));
    resize(1024, 720);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create(const QString& instanceFolder)
{
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_wndRibbonBar = new CRibbonBar(client);
    m_wndView = new CMainView(theApp.m_option, client);
    layout->addWidget(m_wndRibbonBar);
    layout->addWidget(m_wndView, 1);
    setCentralWidget(client);
    setFocusProxy(m_wndView);
    CreateStatusBar();
    m_wndView->m_list.SetStatusDisplay(this);
    SetAllFilesCount(0);
    SetSelectedFilesCount(0);
    LoadRecentItems();
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this, [this] { PostCommand(ID_HELP_INDEX); });
    m_pIdentity = new CWindowIdentity([this] { ActivateFrame(); }, this);
    return m_pIdentity->Register(instanceFolder, QString::fromLatin1(kMainFrameClassName));
}

void CMainFrame::CreateStatusBar()
{
    m_wndStatusBar = new CMainStatusBar(this);
    m_wndStatusBar->setObjectName(QStringLiteral("59393"));
    m_wndStatusBar->SetIndicators(
        {ID_INDICATOR_ALLFILES, ID_INDICATOR_SELFILES, ID_INDICATOR_PROGRESS, ID_INDICATOR_STOP, ID_INDICATOR_EMPTY});
    m_wndStatusBar->SetPaneInfo(ID_INDICATOR_ALLFILES, 140, false);
    m_wndStatusBar->SetPaneInfo(ID_INDICATOR_SELFILES, 140, false);
    m_wndStatusBar->SetPaneInfo(ID_INDICATOR_PROGRESS, 180, false);
    m_wndStatusBar->SetPaneInfo(ID_INDICATOR_STOP, 120, false);
    m_wndStatusBar->SetPaneInfo(ID_INDICATOR_EMPTY, 0, true);
    setStatusBar(m_wndStatusBar);
    connect(m_wndStatusBar, &CMainStatusBar::command, this, [this](int id) { OnCmdMsg(id); });
}

void CMainFrame::ShowProgress(int total, COLORREF barColor, const QString& caption)
{
    m_wndStatusBar->ShowProgress(total, barColor, caption);
}

void CMainFrame::SetPaneProgress(int done)
{
    m_wndStatusBar->SetPaneProgress(ID_INDICATOR_PROGRESS, done);
}

void CMainFrame::EndProgress()
{
    m_wndStatusBar->EndProgress();
}

void CMainFrame::SetAllFilesCount(int count)
{
    m_wndStatusBar->SetPaneText(ID_INDICATOR_ALLFILES, CountText(ID_INDICATOR_ALLFILES, count));
}

void CMainFrame::SetSelectedFilesCount(int count)
{
    m_wndStatusBar->SetPaneText(ID_INDICATOR_SELFILES, CountText(ID_INDICATOR_SELFILES, count));
}

bool CMainFrame::OnCmdMsg(int id)
{
    if (m_wndView->OnCmdMsg(id)) {
        return true;
    }
    if (id == ID_APP_EXIT) {
        close();
        return true;
    }
    return theApp.OnCmdMsg(id);
}

void CMainFrame::PostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { OnCmdMsg(id); }, Qt::QueuedConnection);
}

void CMainFrame::SaveStateAndShutdown()
{
    if (m_bShutDown) {
        return;
    }
    m_bShutDown = true;
    const int failures = GetProfileWriteFailures();
    {
        const CProfileBatch batch;
        m_wndView->m_list.StopJob();
        theApp.m_option.Save();
        SaveRecentItems();
    }
    ReportUnsavedProfile(failures);
    if (!theApp.m_strTempRoot.isEmpty()) {
        DeleteFolderTree(theApp.m_strTempRoot);
    }
    DestroyPreview();
}

bool CMainFrame::OnQueryEndSession()
{
    SaveStateAndShutdown();
    close();
    return true;
}

void CMainFrame::ActivateFrame()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveStateAndShutdown();
    event->accept();
}
