#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

#include "app/RecentItems.h"
#include "app/RibbonTarget.h"
#include "imagelist/ListStatusDisplay.h"
#include "imagelist/RecentItemSink.h"
#include "imagelist/RibbonInvalidator.h"

class CImageListCtrl;
class CMainStatusBar;
class CMainView;
class CRibbonBar;
class CRibbonWidget;
class CUIApplication;
class CWindowIdentity;
class CAdjustOption;
class QWidget;

// Makes the main frame's view. A test that drives the whole program puts in a
// view whose dialogs it answers; none (the default): the program's own view.
using MainViewFactory = std::function<CMainView*(CAdjustOption& option, QWidget* parent)>;
void SetMainViewFactory(MainViewFactory factory);

// The program's only top-level window: the ribbon over its place at the top,
// the main view with the image list, and the status bar. It saves every
// setting when it closes, when the desktop session ends and on SIGTERM or
// SIGINT. It is what the ribbon's commands act on, and it takes the list's
// invalidations and recent items.
class CMainFrame : public QMainWindow,
                   public IListStatusDisplay,
                   public IRibbonTarget,
                   public IRibbonInvalidator,
                   public IRecentItemSink {
    Q_OBJECT

public:
    CMainFrame();
    // The view takes this list (a test's) instead of its own.
    explicit CMainFrame(std::unique_ptr<CImageListCtrl> list);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Builds the window's parts and makes it findable under its window class
    // name in the folder; false when it cannot be found (it works all the same).
    bool Create(const QString& instanceFolder);

    // The list's status display.
    void ShowProgress(int total, COLORREF barColor, const QString& caption) override;
    void SetPaneProgress(int done) override;
    void EndProgress() override;
    void SetAllFilesCount(int count) override;
    void SetSelectedFilesCount(int count) override;

    void AddRecentItem(const QString& path) override { m_recent.AddRecentItem(path); }
    void LoadRecentItems() { m_recent.LoadRecentItems(); }
    void SaveRecentItems() { m_recent.SaveRecentItems(); }

    // Offers the command to the view, then to the frame, then to the application.
    bool OnCmdMsg(int id);
    // Queues the command, as a posted WM_COMMAND.
    void PostCommand(int id) override;

    // What the ribbon reads and acts on.
    CommandState GetCommandState() const override;
    QStringList GetRecentItems() const override { return m_recent.m_arrRecentItems; }
    void ClearRecentItems() override;
    void AddFiles(const QStringList& paths) override;
    void SetThumbSize(int mode) override;
    void ShowColumn(int column, bool show) override;
    void SetRibbonHeight(int height) override;
    // The list's invalidation: the command's enabled state is asked again.
    void InvalidateUICommand(int commandId) override;

    void SaveStateAndShutdown();
    // The desktop session ends: saved as on closing, then closed.
    bool OnQueryEndSession();
    // Brings the window to the user when a second start asks for it, with
    // the token that start was given.
    virtual void ActivateFrame(const QByteArray& startToken);

    // The ribbon; null until created and after shutdown.
    CRibbonWidget* m_pUIFramework = nullptr;
    std::unique_ptr<CUIApplication> m_pUIApplication;
    CMainView* m_wndView = nullptr;
    CRibbonBar* m_wndRibbonBar = nullptr;
    CMainStatusBar* m_wndStatusBar = nullptr;
    CRecentItems m_recent;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The preview window's end at shutdown; it belongs to the preview.
    virtual void DestroyPreview();

private:
    void CreateStatusBar();
    void CreateRibbon(QWidget& client);
    void DestroyRibbon();
    void CreateAccelerators();
    void RestorePlacement();
    void SavePlacement();

    std::unique_ptr<CImageListCtrl> m_pTestList;  // handed to the view in Create

    CWindowIdentity* m_pIdentity = nullptr;
    bool m_bShutDown = false;
};
