#include "app/FolivaneApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <new>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/ProfileFile.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "app/WindowIdentity.h"
#include "common/TempRoot.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/SystemMessageBox.h"
#include "platform/AppID.h"
#include "platform/SystemTranslations.h"
#include "platform/WindowActivation.h"
#include "res/StringTable.h"

CFolivaneApp theApp;

namespace {
constexpr char kAppID[] = "Quenrick.Folivane.NoVersion";
// How long a second start waits for the first program's window to be made
// known and to answer, or for its lock: a warm start makes the window known
// within tens of milliseconds, a cold one on a loaded machine within a few
// seconds.
constexpr int kFindWindowMsecs = 5000;
// How often a second start looks again for the lock and the window.
constexpr unsigned long kRetryMsecs = 50;
constexpr int kMainFrameTemplate = 128;
}  // namespace

CFolivaneApp::CFolivaneApp()
    : m_bOptionFile(theProfileRoute.m_bOptionFile),
      // theApp is made before main makes the toolkit's application object,
      // which takes the startup id out of the environment.
      m_startToken(GetStartToken()),
      m_optionProfile(m_optionDoc),
      m_pPreviousDoc(theProfileRoute.m_pOptionDoc)
{
    theProfileRoute.m_pOptionDoc = &m_optionProfile;
}

CFolivaneApp::~CFolivaneApp()
{
    if (theProfileRoute.m_pOptionDoc == &m_optionProfile) {
        theProfileRoute.m_pOptionDoc = m_pPreviousDoc;
    }
}

BOOL CFolivaneApp::InitInstance()
{
    // Before the first window, which takes its class when it is made.
    SetAppID(QString::fromLatin1(kAppID));
    // Before the first box: the toolkit's buttons and file dialogs speak the
    // user's language; the program's own texts are Japanese anyway.
    m_pToolkitTranslator = InstallSystemTranslations(QLocale());
    if (!TakeSingleInstance()) {
        return 0;
    }
    // Named before the temporary root is chosen: where the shared temporary
    // folder cannot be used, the root lies in the program's cache folder.
    m_pszRegistryKey = QStringLiteral("Quenrick");
    m_pszProfileName = QStringLiteral("Folivane");
    QCoreApplication::setOrganizationName(m_pszRegistryKey);
    QCoreApplication::setApplicationName(m_pszProfileName);
    m_strTempRoot = ClaimTempRoot();
    if (m_strTempRoot.isEmpty()) {
        ShowStartupMessage(QStringLiteral("GetTempPath failed"));
        return 0;
    }
    SetAsideBrokenProfile(GetProfileFileName());
    const CProfileBatch batch;  // one reading of the file for all settings
    m_option.Load();
    m_bDebugOn = GetProfileInt(QString(), QStringLiteral("DebugOn"), 0);
    return CreateMainFrame();
}

BOOL CFolivaneApp::TakeSingleInstance()
{
    if (m_strInstanceFolder.isEmpty()) {
        m_strInstanceFolder = GetInstanceFolder();
    }
    if (m_strInstanceFolder.isEmpty()) {
        // No folder of the user's own to hold the lock in: names another
        // user made must not refuse the start, so this copy runs on its own,
        // with a temporary root of its own, as copies of other sessions do.
        return 1;
    }
    auto lock = std::make_unique<CSingleInstance>(m_strInstanceFolder);
    // A copy still starting makes its window known a moment after it took
    // the lock; one that is ending answers no more and lets the lock go a
    // moment later. Either is waited for, and the lock taken once it is free.
    const QDeadlineTimer deadline(kFindWindowMsecs);
    for (;;) {
        const CSingleInstance::Result result = lock->Lock();
        if (result == CSingleInstance::Held) {
            m_hMutex = std::move(lock);
            return 1;
        }
        if (result == CSingleInstance::Failed) {
            ShowStartupMessage(QStringLiteral("CreateMutex failed."));
            return 0;
        }
        if (AskWindowToRaise(m_strInstanceFolder, SessionName(kMainFrameClassName), m_startToken, deadline)) {
            return 0;
        }
        if (deadline.hasExpired()) {
            ShowStartupMessage(QStringLiteral("既に起動しています。"));
            return 0;
        }
        QThread::msleep(kRetryMsecs);
    }
}

BOOL CFolivaneApp::CreateMainFrame()
{
    // The signals are caught before the window can be found, so that a kill
    // from then on closes it in order.
    m_pSignals = std::make_unique<CTerminationSignals>();
    m_pMainWnd.reset(new (std::nothrow) CMainFrame);
    if (!m_pMainWnd) {
        ShowStartupMessage(QStringLiteral("new CMainFrame failed."));
        return 0;
    }
    QObject::connect(m_pSignals.get(), &CTerminationSignals::terminationRequested, m_pMainWnd.get(), &QWidget::close);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_pMainWnd.get(),
                     [frame = m_pMainWnd.get()] { frame->OnQueryEndSession(); });
    if (!m_pMainWnd->Create(m_strInstanceFolder) && m_hMutex) {
        // A socket path too long for the system, say: the program runs, and a
        // second start says that one is running instead of raising this window.
        qWarning("Folivane: a second start cannot find this window in %s", qUtf8Printable(m_strInstanceFolder));
    }
    m_pMainWnd->setWindowTitle(CStringTable::Application().LoadString(AFX_IDS_APP_TITLE));
    m_pMainWnd->show();
    return 1;
}

int CFolivaneApp::ExitInstance()
{
    m_pSignals.reset();
    m_pMainWnd.reset();
    m_fontStatus.reset();
    m_fontBold.reset();
    m_hMutex.reset();
    m_pToolkitTranslator.reset();
    return 0;
}

int CFolivaneApp::Run()
{
    const int code = InitInstance() ? QApplication::exec() : 0;
    const int exitCode = ExitInstance();
    return code != 0 ? code : exitCode;
}

const QFont& CFolivaneApp::GetStatusFont()
{
    // The font of message boxes, which the program's own message box uses.
    if (!m_fontStatus) {
        m_fontStatus = std::make_unique<QFont>(QApplication::font());
    }
    return *m_fontStatus;
}

const QFont& CFolivaneApp::GetBoldFont()
{
    if (!m_fontBold) {
        m_fontBold = std::make_unique<QFont>(QApplication::font());
        m_fontBold->setPointSize(14);
        m_fontBold->setWeight(QFont::Bold);
        m_fontBold->setStyleStrategy(QFont::PreferAntialias);
    }
    return *m_fontBold;
}

BOOL CFolivaneApp::LoadColumnInfo(QByteArray& stream)
{
    stream.clear();
    return GetProfileBinary(QString(), QStringLiteral("ColumnInfo"), stream);
}

void CFolivaneApp::ClearRecentItems()
{
    if (!m_pszRegistryKey.isEmpty() && !m_pszProfileName.isEmpty()) {
        DeleteProfileSection(QStringLiteral("RecentItems"));
    }
}

QString CFolivaneApp::GetAppRegistryPath() const
{
    return QStringLiteral("Software/") + m_pszRegistryKey + QLatin1Char('/') + m_pszProfileName;
}

bool CFolivaneApp::OnCmdMsg(int id)
{
    if (id == ID_APP_ABOUT) {
        OnAppAbout();
        return true;
    }
    if (id == ID_HELP_INDEX) {
        OnHelpIndex();
        return true;
    }
    return false;
}

void CFolivaneApp::OnAppAbout()
{
    RunAboutDialog();
}

void CFolivaneApp::OnHelpIndex()
{
    OpenHelpPage(kMainFrameTemplate);
}

void CFolivaneApp::ShowStartupMessage(const QString& text)
{
    SystemMessageBox(nullptr, text, CStringTable::Application().LoadString(AFX_IDS_APP_TITLE),
                     MB_OK | MB_ICONEXCLAMATION);
}

void CFolivaneApp::RunAboutDialog()
{
    CAboutDlg dialog(m_pMainWnd.get());
    dialog.exec();
}
