#pragma once

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>

#include "platform/ribbon/PointerGrabWatch.h"
#include "platform/ribbon/RibbonHandler.h"
#include "platform/ribbon/RibbonMarkup.h"

class QAction;
class QInputEvent;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

// A ribbon: the application menu button, tabs of groups of large and small
// buttons, toggles and drop-downs of toggles, and a help button. It shows
// what the markup lays out and asks the application for every enabled and
// checked state; clicking executes through the application's handler and
// leaves the keyboard focus where it was.
// Double-clicking a tab minimises or restores the ribbon; a tab clicked in the
// minimised ribbon drops its panel down over what lies below, until a
// command, a click elsewhere or Escape closes it. Pressing Alt or F10 shows
// the key tips, placed on the layout in force and again at each resize, and
// again hides them with the panel they dropped down; Alt counts only when
// nothing else came between its press and release and the pointer stayed in
// the window. A disabled command's tip is dimmed and its key does nothing, as
// does the key of a button not shown. While the tips show, the keys are
// theirs alone: the window's shortcuts wait. A click or a wheel turn in the
// window takes the tips away, and one on a tip reaches nothing under it; a
// window left takes its tips and dropped-down panel along, and its keys go
// back to where they were before.
// In a narrow window the groups drop their buttons' labels, the last group
// first; the ribbon keeps its height.
class CRibbonWidget : public QWidget {
    Q_OBJECT

public:
    using IconFactory = std::function<QIcon(unsigned command)>;
    static constexpr int kLargeIcon = 32;
    static constexpr int kSmallIcon = 16;

    CRibbonWidget(RibbonMarkup markup, IRibbonApplication& application, IconFactory icons, QWidget* parent = nullptr);
    ~CRibbonWidget() override;

    // Builds the controls and tells the application the view exists.
    void LoadUI();
    // Tells the application the view goes away (it saves the settings then).
    void Destroy();

    // Asks the application again, soon, for the states the flags name;
    // command 0 stands for every command.
    void InvalidateUICommand(unsigned command, unsigned flags);

    int GetHeight() const;
    // The ribbon's own state (selected tab, minimised), as a stream of bytes.
    QByteArray SaveSettings() const;
    // Bytes of another shape or version leave the ribbon as it is.
    void LoadSettings(const QByteArray& settings);

    bool IsMinimized() const { return m_bMinimized; }
    void SetMinimized(bool minimized);
    // The minimised ribbon's panel, shown at its full height over what lies
    // below the ribbon, until a command, a click elsewhere or Escape closes it.
    void ShowDropDown(bool show);
    int CurrentTab() const;
    void SetCurrentTab(int index);

    // The control that shows a command (for tests and key tips); null if none.
    QToolButton* FindButton(unsigned command) const;
    QAction* FindAction(unsigned command) const;
    QMenu* ApplicationMenu() const { return m_pAppMenu; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QWidget* BuildTab(const RibbonTab& tab);
    QWidget* BuildGroup(const RibbonGroup& group);
    QToolButton* BuildButton(const RibbonControl& control);
    QMenu* BuildDropDown(const RibbonControl& control);
    void BuildApplicationMenu(QToolButton& button);
    void FillRecentItems();
    void ApplyTooltip(QWidget& widget, const RibbonCommand& command) const;

    void ExecuteCommand(unsigned command, std::optional<RibbonKey> key = std::nullopt, const RibbonValue& value = {});
    void FlushInvalidations();
    void UpdateCommand(unsigned command, unsigned flags);
    void UpdateEnabled(unsigned command);
    void UpdateChecked(unsigned command);
    void NotifyHeightChange();

    bool IsOwnWidget(const QObject* object) const;
    void FitGroups();
    static void ShowGroupLabels(QWidget& group, bool show);

    // A key tip: its badge on the window, the control it stands for, where
    // in that control it lies (for a badge of the given size), and what its
    // key does.
    struct KeyTip {
        QString key;
        QPointer<QWidget> badge;
        QPointer<QWidget> control;
        std::function<QPoint(const QSize&)> place;
        std::function<void()> action;
    };

    bool WatchKeyTipKeys(QEvent* event);
    bool WatchKeyTipPointer(const QObject* watched, const QEvent* event);
    bool TakeKeyTipsAway(const QObject* clicked, const QInputEvent& click);
    bool IsTipClickedAgain(const QEvent& event) const;
    void ToggleKeyTips();
    void ShowKeyTips(bool show);
    void ShowTabKeyTips();
    void ShowButtonKeyTips(int tab);
    void AddKeyTip(const QString& key, QWidget& control, std::function<QPoint(const QSize&)> place,
                   std::function<void()> action);
    void PlaceKeyTips();
    void PlaceKeyTip(QWidget& badge, const QWidget& anchor, const QPoint& place) const;
    void DimKeyTips();
    void HideKeyTipBadges();
    void LayOutNow();

    RibbonMarkup m_markup;
    IRibbonApplication& m_application;
    IconFactory m_icons;
    QTabBar* m_pTabs = nullptr;
    QStackedWidget* m_pPanels = nullptr;
    QToolButton* m_pAppButton = nullptr;
    QMenu* m_pAppMenu = nullptr;
    QList<QAction*> m_recentActions;
    QHash<unsigned, QToolButton*> m_buttons;
    QHash<unsigned, QAction*> m_actions;
    QList<QList<QWidget*>> m_groups;      // per tab, in order
    QHash<unsigned, unsigned> m_pending;  // command -> invalidation flags
    bool m_bFlushQueued = false;
    bool m_bMinimized = false;
    bool m_bDroppedDown = false;
    bool m_bLoaded = false;
    // Key tips: the badges shown and what each tip does.
    int m_nKeyTipLevel = 0;  // 0 none, 1 tabs, 2 a tab's buttons
    bool m_bAltAlone = false;
    quint64 m_altPressed = 0;  // the Alt press's time
    CPointerGrabWatch m_pointerGrabs;
    QList<KeyTip> m_keyTips;  // badges on the window, so that no strip of the ribbon cuts them
    struct {
        QRect place;  // on the screen
        quint64 time = 0;
    } m_tipClicked;                   // the last click on a tip
    QPointer<QWidget> m_pKeysBefore;  // had the keys before the tips took them
};
