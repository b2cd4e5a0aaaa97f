#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>

#include <memory>

#include "platform/WinTypes.h"
#include "settings/AdjustOption.h"
#include "settings/OptionDocument.h"
#include "settings/OptionProfile.h"
#include "settings/Profile.h"

class CMainFrame;
class QTranslator;
class CSingleInstance;
class CTerminationSignals;

// The application: single instance, start-up and exit, the shared fonts, the
// temporary root, the global option record every job reads, and the option
// document the profile functions work on in option-file mode.
class CFolivaneApp {
public:
    CFolivaneApp();
    virtual ~CFolivaneApp();
    CFolivaneApp(const CFolivaneApp&) = delete;
    CFolivaneApp& operator=(const CFolivaneApp&) = delete;

    // TRUE to run the event loop; FALSE ends the program (after ExitInstance).
    BOOL InitInstance();
    int ExitInstance();
    // InitInstance, the event loop and ExitInstance: the program's exit code.
    int Run();

    const QFont& GetStatusFont();
    const QFont& GetBoldFont();
    // Fills the stream with the stored column layout; FALSE when none is stored.
    BOOL LoadColumnInfo(QByteArray& stream);
    void ClearRecentItems();
    QString GetAppRegistryPath() const;

    // Commands of the application, reached after the view and the frame.
    bool OnCmdMsg(int id);
    void OnAppAbout();
    void OnHelpIndex();

    std::unique_ptr<CSingleInstance> m_hMutex;  // null when not held
    std::unique_ptr<QFont> m_fontStatus;
    std::unique_ptr<QFont> m_fontBold;
    QString m_strTempRoot;
    BOOL& m_bOptionFile;  // the profile route's own flag
    CSectionArray m_optionDoc;
    CAdjustOption m_option;
    BOOL m_bDebugOn = 0;
    std::unique_ptr<CMainFrame> m_pMainWnd;

    // Where the lock and the main window's address live (per user); empty
    // when the program runs without the single-instance check.
    QString m_strInstanceFolder;
    // What the desktop gave this start to bring a window forward with; a
    // second start hands it to the first.
    QByteArray m_startToken;
    QString m_pszRegistryKey;
    QString m_pszProfileName;

protected:
    // Start-up messages: a plain box with an OK button.
    virtual void ShowStartupMessage(const QString& text);
    // Runs the About box; a test answers it without a dialog.
    virtual void RunAboutDialog();

private:
    BOOL TakeSingleInstance();
    BOOL CreateMainFrame();

    COptionProfile m_optionProfile;
    IProfileDocument* m_pPreviousDoc;
    std::unique_ptr<CTerminationSignals> m_pSignals;
    std::unique_ptr<QTranslator> m_pToolkitTranslator;  // null without a translation
};

extern CFolivaneApp theApp;

// Command ids the application answers.
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_INDEX = 57666;
