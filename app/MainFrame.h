#pragma once

#include <QMainWindow>

#include "app/RecentItems.h"
#include "imagelist/ListStatusDisplay.h"

class CMainStatusBar;
class CMainView;
class CRibbonBar;
class CWindowIdentity;

// The program's only top-level window: the ribbon's place at the top, the
// main view with the image list, and the status bar. It saves every setting
// when it closes, when the desktop session ends and on SIGTERM or SIGINT.
class CMainFrame : public QMainWindow, public IListStatusDisplay {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Builds the window's parts and makes it findable under its window class
    // name in the folder; false when it cannot be made.
    bool Create(const QString& instanceFolder);

    // The list's status display.
    void ShowProgress(int total, COLORREF barColor, const QString& caption) override;
    void SetPaneProgress(int done) override;
    void EndProgress() override;
    void SetAllFilesCount(int count) override;
    void SetSelectedFilesCount(int count) override;

    void AddRecentItem(const QString& path) { m_recent.AddRecentItem(path); }
    void LoadRecentItems() { m_recent.LoadRecentItems(); }
    void SaveRecentItems() { m_recent.SaveRecentItems(); }

    // Offers the command to the view, then to the frame, then to the application.
    bool OnCmdMsg(int id);
    // Queues the command, as a posted WM_COMMAND.
    void PostCommand(int id);

    void SaveStateAndShutdown();
    // The desktop session ends: saved as on closing, then closed.
    bool OnQueryEndSession();
    // Brings the window forward when a second start asks for it.
    virtual void ActivateFrame();

    CMainView* m_wndView = nullptr;
    CRibbonBar* m_wndRibbonBar = nullptr;
    CMainStatusBar* m_wndStatusBar = nullptr;
    CRecentItems m_recent;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The preview window's end at shutdown; it belongs to the preview.
    virtual void DestroyPreview() {}

private:
    void CreateStatusBar();

    CWindowIdentity* m_pIdentity = nullptr;
    bool m_bShutDown = false;
};
