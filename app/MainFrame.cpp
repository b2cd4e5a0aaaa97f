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
#include "app/UIApplication.h"
#include "app/WindowIdentity.h"
#include "common/TempRoot.h"
#include "dialogs/PreviewWindow.h"
#include "platform/WindowActivation.h"
#include "platform/ribbon/RibbonWidget.h"
#include "res/StringTable.h"

namespace {

QString CountText(unsigned id, int count)
{
    return CStringTable::Application().LoadString(id).replace(QStringLiteral("%d"), QString::number(count));
}

MainViewFactory& ViewFactory()
{
    static MainViewFactory factory;
    return factory;
}

}  // namespace

void SetMainViewFactory(MainViewFactory factory)
{
    ViewFactory() = std::move(factory);
}

CMainFrame::CMainFrame() : CMainFrame(nullptr) {}

CMainFrame::CMainFrame(std::unique_ptr<CImageListCtrl> list) : m_pTestList(std::move(list))
{
    // The preview's Tab finds this window by its class name.
    setObjectName(QString::fromLatin1(kMainFrameClassName));
    setWindowIcon(QIcon(QStringLiteral(":/res/images/128.png")));
    resize(1024, 720);
}

CMainFrame::~CMainFrame()
{
    // The ribbon calls its application and the list calls this frame: both
    // stop before the members they call go.
    delete std::exchange(m_pUIFramework, nullptr);
    if (m_wndView != nullptr) {
        CImageListCtrl& list = m_wndView->m_list;
        list.SetStatusDisplay(nullptr);
        list.SetRibbon(nullptr);
        list.SetRecentItems(nullptr);
    }
}

bool CMainFrame::Create(const QString& instanceFolder)
{
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_wndRibbonBar = new CRibbonBar(client);
    m_wndView = ViewFactory() ? ViewFactory()(theApp.m_option, client)
                              : new CMainView(theApp.m_option, client, std::move(m_pTestList));
    layout->addWidget(m_wndRibbonBar);
    layout->addWidget(m_wndView, 1);
    setCentralWidget(client);
    setFocusProxy(m_wndView);
    CreateStatusBar();
    CImageListCtrl& list = m_wndView->m_list;
    list.SetStatusDisplay(this);
    list.SetRecentItems(this);
    SetAllFilesCount(0);
    SetSelectedFilesCount(0);
    LoadRecentItems();
    SetPreviewBoldFont(&theApp.GetBoldFont());
    CreateRibbon(*client);
    list.SetRibbon(this);
    CreateAccelerators();
    RestorePlacement();
    m_pIdentity = new CWindowIdentity([this](const QByteArray& startToken) { ActivateFrame(startToken); }, this);
    return m_pIdentity->Register(instanceFolder, SessionName(kMainFrameClassName));
}

// The keys of the main window's accelerators: each sends its command.
void CMainFrame::CreateAccelerators()
{
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::Key_Delete), ID_DELETE},
        {QKeySequence(Qt::CTRL | Qt::Key_A), ID_EDIT_SELECT_ALL},
        {QKeySequence(Qt::Key_Tab), ID_OPEN_PREVIEW},
        {QKeySequence(Qt::Key_F1), ID_HELP_INDEX},
    };
    for (const auto& [key, id] : keys)
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this, id = id] { PostCommand(id); });
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
    QMetaObject::invokeMethod(
        this, [this, id] { OnCmdMsg(id); }, Qt::QueuedConnection);
}

void CMainFrame::SaveStateAndShutdown()
{
    if (m_bShutDown) {
        return;
    }
    m_bShutDown = true;
    // A second start from now on waits for this copy's end instead of being
    // sent away by a window about to go.
    if (m_pIdentity)
        m_pIdentity->Withdraw();
    const int failures = GetProfileWriteFailures();
    {
        const CProfileBatch batch;
        SavePlacement();
        m_wndView->m_list.SaveSettings();
        theApp.m_option.Save();
        SaveRecentItems();
        if (!theApp.m_strTempRoot.isEmpty()) {
            // The root claimed at start and any of this copy's own that took
            // its place: each may hold pages of the list.
            DeleteTempRoots();
        }
        DestroyPreview();
        DestroyRibbon();
    }
    ReportUnsavedProfile(failures);
}

void CMainFrame::DestroyPreview()
{
    DestroyPreviewDialog();
}

bool CMainFrame::OnQueryEndSession()
{
    SaveStateAndShutdown();
    close();
    return true;
}

void CMainFrame::ActivateFrame(const QByteArray& startToken)
{
    show();
    BringWindowToUser(*windowHandle(), startToken);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveStateAndShutdown();
    event->accept();
}
