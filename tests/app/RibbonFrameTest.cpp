#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

#include "ViewTestSupport.h"
#include "app/FileClipboard.h"
#include "app/MainFrame.h"
#include "app/RibbonBar.h"
#include "app/RibbonIds.h"
#include "app/RibbonMarkup.h"
#include "dialogs/OptionPropertySheet.h"
#include "dialogs/PreviewDialog.h"
#include "dialogs/PreviewWindow.h"
#include "imagelist/ColumnTable.h"
#include "msgbox/ApplicationHelp.h"
#include "platform/ribbon/RibbonWidget.h"

namespace {

// The frame over a test list, with its ribbon.
class RibbonFrame : public ::testing::Test {
protected:
    RibbonFrame() { ClearUserSettings(); }
    void SetUp() override
    {
        theApp.m_pszRegistryKey = QStringLiteral("Quenrick");
        theApp.m_pszProfileName = QStringLiteral("Folivane");
        ASSERT_TRUE(m_frame->Create(m_instanceDir.path()));
        m_frame->show();
        List().adjust = QuickAdjust;
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        m_frame.reset();
        ClearUserSettings();
        SetHelpOpener([](const QUrl&) { return true; });
    }

    CTestListCtrl& List() { return static_cast<CTestListCtrl&>(m_frame->m_wndView->m_list); }
    CRibbonWidget& Ribbon() { return *m_frame->m_pUIFramework; }
    QToolButton& Button(unsigned id) { return *Ribbon().FindButton(id); }

    QString Page(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        WritePage(path);
        return path;
    }

    // The application menu's recent entries, asked for afresh as when it opens.
    QList<QAction*> RecentActions()
    {
        emit Ribbon().ApplicationMenu()->aboutToShow();
        QList<QAction*> recent;
        for (QAction* action : Ribbon().ApplicationMenu()->actions()) {
            if (action->objectName().startsWith(QStringLiteral("recent")))
                recent.append(action);
        }
        return recent;
    }

    // The window active, with its keys going where a user's would.
    void Activate()
    {
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    }
    void Press(Qt::Key key) { QTest::keyClick(m_frame->windowHandle(), key); }
    int ShownKeyTips() const { return m_frame->findChildren<QLabel*>(QStringLiteral("keyTip")).size(); }
    // One turn of the wheel towards the user, over the widget's middle.
    static void TurnWheel(QWidget& widget)
    {
        const QPointF at = QRectF(widget.rect()).center();
        QWheelEvent turn(at, widget.mapToGlobal(at), {}, QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &turn);
    }

    QTemporaryDir m_instanceDir;
    QTemporaryDir m_dir;
    CAdjustOption m_option;
    std::unique_ptr<CMainFrame> m_frame = std::make_unique<CMainFrame>(std::make_unique<CTestListCtrl>(m_option));
};

}  // namespace

TEST_F(RibbonFrame, TheRibbonLiesOverItsPaneAboveTheViewAndStartsWithTheEmptyListsStates)
{
    const int height = Ribbon().GetHeight();
    EXPECT_GT(height, 60);
    EXPECT_EQ(m_frame->m_wndRibbonBar->GetRibbonHeight(), height);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Ribbon().geometry() == m_frame->m_wndRibbonBar->geometry(); }));
    EXPECT_GE(m_frame->m_wndView->y(), height);
    for (unsigned id : {cmdClipPaste, cmdClipCopy, cmdEditSelectAll, cmdAdjPreviewAll, cmdAdjCancel, cmdListRefresh})
        EXPECT_FALSE(Button(id).isEnabled()) << id;
    EXPECT_TRUE(Button(cmdAdjOption).isEnabled());
    EXPECT_EQ(m_frame->objectName(), QStringLiteral("QuenrickFolivaneMainFrmClass"));
}

TEST_F(RibbonFrame, ListChangesJobsAndTheClipboardRefreshTheButtons)
{
    List().AddFiles({Page("a.png"), Page("b.png")});
    ASSERT_TRUE(WaitIdle(List()));
    // The states are asked again once the events of the job's end are handled.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Button(cmdEditSelectAll).isEnabled() && Button(cmdAdjExecAll).isEnabled(); }));
    EXPECT_FALSE(Button(cmdClipCut).isEnabled());
    List().SelectOnly(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(cmdClipCut).isEnabled(); }));

    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData({m_dir.filePath("a.png")}).release());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Button(cmdClipPaste).isEnabled(); }));
    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Button(cmdClipPaste).isEnabled(); }));

    std::atomic<bool> entered{false};
    List().adjust = [&](const QImage& source, CPageRecord& info, QString& message) {
        entered = true;
        while (!List().IsStopRequested())
            std::this_thread::yield();
        return QuickAdjust(source, info, message);
    };
    QTest::mouseClick(&Button(cmdAdjPreviewAll), Qt::LeftButton);  // posted: runs after the click
    ASSERT_TRUE(WaitUntil([&] { return entered.load(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Button(cmdAdjCancel).isEnabled(); }));
    EXPECT_FALSE(Button(cmdAdjPreviewAll).isEnabled());
    EXPECT_FALSE(Button(cmdAdjExecSel).isEnabled());
    QTest::mouseClick(&Button(cmdAdjCancel), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return Button(cmdAdjPreviewAll).isEnabled(); }));
    ASSERT_TRUE(WaitIdle(List()));
}

TEST_F(RibbonFrame, SmallThumbnailsLeaveOnlyTheSmallButtonCheckedAndColumnsToggle)
{
    QTest::mouseClick(&Button(cmdListSmall), Qt::LeftButton);
    EXPECT_EQ(List().GetThumbSize(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Button(cmdListMedium).isChecked(); }));
    EXPECT_TRUE(Button(cmdListSmall).isChecked());
    EXPECT_FALSE(Button(cmdListLarge).isChecked());

    QAction* path = Ribbon().FindAction(31);
    const bool shown = path->isChecked();
    path->trigger();
    EXPECT_EQ(ColumnTable.ControlIndexOf(1) >= 0, !shown);
    path->trigger();
    EXPECT_EQ(ColumnTable.ControlIndexOf(1) >= 0, shown);
}

TEST_F(RibbonFrame, TheClearingEntryEmptiesTheRecentItemsAndTheCloseSavesThemEmpty)
{
    EXPECT_TRUE(RecentActions().isEmpty());  // no items: no clearing entry either
    WriteProfileString(QStringLiteral("RecentItems"), QStringLiteral("0"), m_dir.filePath("gone.png"));
    m_frame->LoadRecentItems();
    m_frame->AddRecentItem(QStringLiteral("/books"));
    QList<QAction*> recent = RecentActions();
    ASSERT_EQ(recent.size(), 3);
    EXPECT_TRUE(recent[1]->text().contains(QStringLiteral("gone.png")));
    EXPECT_EQ(recent[1]->toolTip(), m_dir.filePath("gone.png"));
    EXPECT_TRUE(recent[2]->text().contains(QStringLiteral("[ 履歴をクリア ]")));

    recent[1]->trigger();  // its file is gone: nothing is added, nothing is said
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_TRUE(List().messages.empty());

    RecentActions()[2]->trigger();
    EXPECT_TRUE(m_frame->GetRecentItems().isEmpty());
    m_frame->close();
    EXPECT_TRUE(UserSettings().childGroups().filter(QStringLiteral("RecentItems")).isEmpty());
}

TEST_F(RibbonFrame, TheRibbonsTabAndMinimisedStateComeBackAtTheNextStart)
{
    Ribbon().SetCurrentTab(1);
    Ribbon().SetMinimized(true);
    EXPECT_LT(m_frame->m_wndRibbonBar->GetRibbonHeight(), 50);
    m_frame->close();
    EXPECT_EQ(m_frame->m_pUIFramework, nullptr);
    m_frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(m_frame->Create(m_instanceDir.path()));
    EXPECT_EQ(Ribbon().CurrentTab(), 1);
    EXPECT_TRUE(Ribbon().IsMinimized());
}

TEST_F(RibbonFrame, ATabOfTheMinimisedRibbonDropsItsPanelOverTheListUntilACommandOrAClickElsewhere)
{
    List().AddFiles({Page("a.png")});
    ASSERT_TRUE(WaitIdle(List()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(cmdEditSelectAll).isEnabled(); }));
    Ribbon().SetMinimized(true);
    QWidget& view = *m_frame->m_wndView;
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.y() < 50; }));
    const QRect listPlace = view.geometry();
    QTabBar& tabs = *Ribbon().findChild<QTabBar*>();
    QToolButton& option = Button(cmdAdjOption);
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return option.isVisible(); }));
        EXPECT_GE(option.height(), option.sizeHint().height());
        EXPECT_GT(option.mapTo(m_frame.get(), QPoint()).y(), listPlace.top());  // over the list
        EXPECT_EQ(view.geometry(), listPlace);
        if (round == 0)
            QTest::mouseClick(&Button(cmdEditSelectAll), Qt::LeftButton);
        else
            QTest::mouseClick(List().viewport(), Qt::LeftButton);
        EXPECT_FALSE(option.isVisible());
    }
    EXPECT_TRUE(Ribbon().IsMinimized());
}

TEST_F(RibbonFrame, ARecentItemsAmpersandIsShownAndOnlyTheItemsGetANumber)
{
    m_frame->AddRecentItem(QStringLiteral("/books/Tom&Jerry"));
    const QList<QAction*> recent = RecentActions();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_EQ(recent[0]->text(), QStringLiteral("&1  Tom&&Jerry"));
    EXPECT_EQ(recent[1]->text(), QStringLiteral("[ 履歴をクリア ]"));
}

TEST_F(RibbonFrame, KeysSendTheirCommandsAndTabOpensThePreviewOnTheFocusedRow)
{
    List().AddFiles({Page("a.png"), Page("b.png")});
    ASSERT_TRUE(WaitIdle(List()));
    List().setFocus();
    QTest::keyClick(&List(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().GetSelectedRows().size() == 2; }));
    List().SelectOnly(0);
    QTest::keyClick(&List(), Qt::Key_Delete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().GetItemCount() == 1; }));
    List().SelectOnly(0);
    QTest::keyClick(&List(), Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor([] { return IsPreviewDialogVisible() != 0; }));
    EXPECT_TRUE(g_pPreviewDialog->windowTitle().contains(QStringLiteral("b.png")));
    m_frame->close();
    EXPECT_EQ(g_pPreviewDialog, nullptr);
}

TEST_F(RibbonFrame, TheListsSeamsReachTheApplicationAndTheFrame)
{
    EXPECT_EQ(List().font(), theApp.GetStatusFont());
    const QString page = Page("a.png");
    List().AddFiles({page});
    ASSERT_TRUE(WaitIdle(List()));
    EXPECT_EQ(m_frame->GetRecentItems().value(0), page);
    List().SelectOnly(0);
    emit List().MenuCommand(32798);
    EXPECT_EQ(List().GetImageInfo(0)->m_rcMarginOverride, RECT{});
    ASSERT_TRUE(WaitIdle(List()));
}

TEST_F(RibbonFrame, HelpOfTheOptionsSheetAndThePreviewOpensTheirPages)
{
    // Pages beside the test program, where the help looks for them.
    QDir help(QCoreApplication::applicationDirPath() + QStringLiteral("/help"));
    help.mkpath(QStringLiteral("."));
    for (const QString& name : {QStringLiteral("136.html"), QStringLiteral("171.html"), QStringLiteral("128.html")})
        QFile(help.filePath(name)).open(QIODevice::WriteOnly);
    QStringList opened;
    SetHelpOpener([&opened](const QUrl& url) {
        opened.append(url.fileName());
        return true;
    });
    CAdjustOption option;
    COptionPropertySheet sheet(&option);
    sheet.ShowHelp(136);
    AskApplicationHelp(kHelpResourceBase + 171, kHelpContext);
    AskApplicationHelp(7, kHelpContext);
    EXPECT_EQ(opened, (QStringList{"136.html", "171.html", "128.html"}));
}

TEST_F(RibbonFrame, ARibbonClickOrKeyTipLeavesTheKeysWithTheList)
{
    List().AddFiles({Page("a.png"), Page("b.png"), Page("c.png")});
    ASSERT_TRUE(WaitIdle(List()));
    Activate();
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().visualRect(List().model()->index(0, 0)).center());
    ASSERT_EQ(List().GetFocusedRow(), 0);
    Ribbon().SetCurrentTab(1);
    QTest::mouseClick(&Button(cmdListLarge), Qt::LeftButton);
    EXPECT_EQ(List().GetThumbSize(), 0);
    EXPECT_EQ(QApplication::focusWidget(), &List());
    Press(Qt::Key_Down);
    EXPECT_EQ(List().GetFocusedRow(), 1);

    // Alt, the tab's tip, then the button's: the command runs, the keys come back.
    for (Qt::Key key : {Qt::Key_Alt, Qt::Key_V, Qt::Key_S})
        Press(key);
    EXPECT_EQ(List().GetThumbSize(), 2);
    Press(Qt::Key_Down);
    EXPECT_EQ(List().GetFocusedRow(), 2);
}

TEST_F(RibbonFrame, TheKeysComeBackToTheListAfterTheWindowWasLeftAndWhileTipsShowTheyAreTheTips)
{
    List().AddFiles({Page("a.png"), Page("b.png"), Page("c.png"), Page("d.png")});
    ASSERT_TRUE(WaitIdle(List()));
    Activate();
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, List().visualRect(List().model()->index(0, 0)).center());
    QWidget other;
    const auto leaveAndComeBack = [&] {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        Activate();
    };
    QToolButton& inPanel = Button(cmdAdjOption);
    // Left with the tips showing, the full ribbon's and the minimised one's
    // with its panel dropped by keys; then with a panel dropped by a click.
    int row = 0;
    for (const bool minimized : {false, true}) {
        Ribbon().SetMinimized(minimized);
        Press(Qt::Key_F10);
        if (minimized)
            Press(Qt::Key_H);
        leaveAndComeBack();
        EXPECT_EQ(ShownKeyTips(), 0);
        EXPECT_EQ(inPanel.isVisible(), !minimized);
        Press(Qt::Key_Down);
        EXPECT_EQ(List().GetFocusedRow(), ++row) << minimized;
    }
    QTabBar& tabs = *Ribbon().findChild<QTabBar*>();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return inPanel.isVisible(); }));
    leaveAndComeBack();
    EXPECT_FALSE(inPanel.isVisible());

    // The window's shortcuts wait while the tips show; a tip's key still acts.
    List().SelectOnly(0);
    for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Delete, Qt::Key_Tab, Qt::Key_A}) {
        Press(key);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(List().GetItemCount(), 4);
    EXPECT_FALSE(IsPreviewDialogVisible());
    EXPECT_EQ(ShownKeyTips(), 3);
    Press(Qt::Key_H);
    EXPECT_TRUE(inPanel.isVisible());
    Press(Qt::Key_Escape);
    Press(Qt::Key_Delete);
    EXPECT_TRUE(QTest::qWaitFor([&] { return List().GetItemCount() == 3; }));
}

TEST_F(RibbonFrame, AClickOrAWheelTurnOnTheTabsTakesTheTipsAwayAndNoTipActsForACommandNotShown)
{
    List().AddFiles({Page("a.png"), Page("b.png")});
    ASSERT_TRUE(WaitIdle(List()));
    Activate();
    List().SelectOnly(0);
    QTabBar& tabs = *Ribbon().findChild<QTabBar*>();
    const auto homeTipsThenView = [&](const std::function<void()>& showView) {
        Ribbon().SetCurrentTab(0);
        Press(Qt::Key_F10);
        Press(Qt::Key_H);
        showView();
        ASSERT_EQ(Ribbon().CurrentTab(), 1);
    };
    const auto deleteKeyDoesNothing = [&] {
        Press(Qt::Key_D);
        QCoreApplication::processEvents();
        EXPECT_EQ(List().GetItemCount(), 2);
    };
    const std::function<void()> clickOrTurn[] = {
        [&] { QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center()); }, [&] { TurnWheel(tabs); }};
    for (const auto& showView : clickOrTurn) {
        homeTipsThenView(showView);
        EXPECT_EQ(ShownKeyTips(), 0);
        deleteKeyDoesNothing();
    }
    // The tab turned where the tips cannot see it: the Home tab's tips act for nothing.
    homeTipsThenView([this] { Ribbon().SetCurrentTab(1); });
    deleteKeyDoesNothing();
}

TEST_F(RibbonFrame, AClickOrADoubleClickOnATipReachesNothingBelowIt)
{
    List().AddFiles({Page("a.png"), Page("b.png")});
    ASSERT_TRUE(WaitIdle(List()));
    Activate();
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData({Page("c.png")}).release());
    // The tabs' tips stand over the Home panel's buttons: "H" over a cut, "F" over a paste.
    for (const QString& key : {QStringLiteral("H"), QStringLiteral("F")}) {
        List().SelectOnly(0);
        Press(Qt::Key_F10);
        const QList<QLabel*> tips = m_frame->findChildren<QLabel*>(QStringLiteral("keyTip"));
        const auto tip = std::find_if(tips.cbegin(), tips.cend(), [&](const QLabel* t) { return t->text() == key; });
        ASSERT_NE(tip, tips.cend());
        // Double-clicked, as a user may: the second click finds the tip gone.
        QTest::mouseDClick(m_frame->windowHandle(), Qt::LeftButton, {}, (*tip)->geometry().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(ShownKeyTips(), 0) << key.toStdString();
        EXPECT_EQ(List().GetItemCount(), 2) << key.toStdString();
    }
}

TEST_F(RibbonFrame, AltShowsNoTipsAfterAClickAWheelTurnTheWindowMovedOrResizedOrThePointerLeftIt)
{
    List().AddFiles({Page("a.png"), Page("b.png"), Page("c.png"), Page("d.png"), Page("e.png"), Page("f.png")});
    ASSERT_TRUE(WaitIdle(List()));
    Activate();
    const auto focusedRow = [this] {
        return List().visualRect(List().model()->index(std::max(0, List().GetFocusedRow()), 0)).center();
    };
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, focusedRow());
    // As the window manager's Alt+drag moves or resizes it, or as the user clicks or turns the wheel.
    const std::function<void()> meanwhile[] = {
        [this] { m_frame->move(m_frame->pos() + QPoint(20, 10)); },
        [this] { m_frame->resize(m_frame->size() + QSize(20, 10)); },
        [&] { QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::AltModifier, focusedRow()); },
        [this] { TurnWheel(*List().viewport()); },
        // As a compositor's Alt+drag takes the pointer away, showing no button.
        [this] {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(m_frame.get(), &leave);
        }};
    int row = 0;
    for (const auto& event : meanwhile) {
        QTest::keyPress(m_frame->windowHandle(), Qt::Key_Alt);
        event();
        QCoreApplication::processEvents();
        QTest::keyRelease(m_frame->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
        EXPECT_EQ(ShownKeyTips(), 0) << row;
        Press(Qt::Key_Down);
        EXPECT_EQ(List().GetFocusedRow(), ++row);
    }
}

namespace {

// The widget's rectangle in its window, and whether no parent cuts it.
QRect WindowRect(const QWidget& widget, bool& whole)
{
    QRect rect = widget.rect();
    whole = true;
    for (const QWidget* w = &widget; !w->isWindow(); w = w->parentWidget()) {
        rect.translate(w->pos());
        whole = whole && w->parentWidget()->rect().contains(rect);
    }
    return rect;
}

// Where a label's text lies, centred in the rectangle of the widget, in the window.
QRect CentredText(const QWidget& widget, const QRect& rect, const QString& text)
{
    QRect place(QPoint(), widget.fontMetrics().size(Qt::TextSingleLine, text));
    place.moveCenter(rect.center());
    return place.translated(widget.mapTo(widget.window(), QPoint()));
}

}  // namespace

TEST_F(RibbonFrame, KeyTipsLieWholeInTheWindowBelowTheirLabelsInBothRibbonStates)
{
    Activate();
    const QTabBar& tabs = *Ribbon().findChild<QTabBar*>();
    const QToolButton& appButton = *Ribbon().findChild<QToolButton*>(QStringLiteral("applicationMenu"));
    const auto tipPlaces = [this] {
        QList<QRect> places;
        for (const QLabel* tip : m_frame->findChildren<QLabel*>(QStringLiteral("keyTip"))) {
            bool whole = false;
            const QRect place = WindowRect(*tip, whole);
            EXPECT_TRUE(whole && m_frame->rect().contains(place)) << tip->text().toStdString();
            for (const QRect& other : places)
                EXPECT_FALSE(other.intersects(place)) << tip->text().toStdString();
            places.append(place);
        }
        return places;
    };
    for (const bool minimized : {false, true}) {
        Ribbon().SetMinimized(minimized);
        for (const Qt::Key tab : {Qt::Key_H, Qt::Key_V}) {
            Press(Qt::Key_Alt);
            const QList<QRect> places = tipPlaces();
            EXPECT_EQ(places.size(), 3) << minimized;
            QList<QRect> labels{CentredText(appButton, appButton.rect(), appButton.text())};
            for (int i = 0; i < tabs.count(); ++i)
                labels.append(CentredText(tabs, tabs.tabRect(i), tabs.tabText(i)));
            for (const QRect& label : labels) {
                for (const QRect& place : places)
                    EXPECT_FALSE(label.intersects(place)) << minimized;
            }
            Press(tab);
            EXPECT_GE(tipPlaces().size(), 5) << minimized;
            Press(Qt::Key_Escape);
        }
    }
}

TEST_F(RibbonFrame, KeyTipsAndTheRibbonsHeightFollowTheWindowsWidthWhateverHappenedBefore)
{
    Activate();
    const int fullHeight = Ribbon().GetHeight();
    const auto widen = [this](int width) {
        m_frame->resize(width, 600);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Ribbon().width() == width; }));
        QCoreApplication::processEvents();  // the layouts a user would wait for
    };
    // Each of the Home tab's tips lies on its button, or just below it.
    QHash<QString, unsigned> homeTips;
    const RibbonMarkup markup = CreateRibbonMarkup();
    for (const RibbonGroup& group : markup.tabs[0].groups) {
        for (const RibbonControl& control : group.controls)
            homeTips.insert(markup.Find(control.command)->keyTip, control.command);
    }
    const auto expectTipsOnTheirButtons = [&](int width) {
        const QList<QLabel*> tips = m_frame->findChildren<QLabel*>(QStringLiteral("keyTip"));
        EXPECT_EQ(tips.size(), homeTips.size()) << width;
        for (const QLabel* tip : tips) {
            ASSERT_TRUE(homeTips.contains(tip->text()));
            bool whole = false;
            const QRect button = WindowRect(Button(homeTips.value(tip->text())), whole);
            EXPECT_TRUE(button.adjusted(0, 0, 0, tip->height() + 1).contains(tip->geometry().center()))
                << width << ' ' << tip->text().toStdString();
        }
    };
    // Home laid out at one width, the window resized while View shows.
    for (const auto& [from, to] : {std::pair{1024, 640}, std::pair{640, 900}}) {
        Ribbon().SetCurrentTab(0);
        widen(from);
        Ribbon().SetCurrentTab(1);
        widen(to);
        Press(Qt::Key_Alt);
        Press(Qt::Key_H);
        expectTipsOnTheirButtons(to);
        widen(from);  // while they show
        expectTipsOnTheirButtons(from);
        Press(Qt::Key_Escape);
    }

    // Minimised and restored while narrow, then widened: the full ribbon again.
    widen(640);
    QTabBar& tabs = *Ribbon().findChild<QTabBar*>();
    for (int click = 0; click < 2; ++click)
        QTest::mouseDClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    ASSERT_FALSE(Ribbon().IsMinimized());
    widen(1024);
    EXPECT_EQ(Ribbon().GetHeight(), fullHeight);
    EXPECT_EQ(Ribbon().height(), fullHeight);
    for (const unsigned id : std::as_const(homeTips))
        EXPECT_GE(Button(id).height(), Button(id).sizeHint().height()) << id;

    // The minimised ribbon's dropped panel closes at a resize, and its tips with it.
    QTest::mouseDClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    Press(Qt::Key_Alt);
    Press(Qt::Key_H);
    ASSERT_TRUE(Button(cmdAdjOption).isVisible());
    widen(640);
    EXPECT_FALSE(Button(cmdAdjOption).isVisible());
    EXPECT_EQ(m_frame->findChild<QLabel*>(QStringLiteral("keyTip")), nullptr);
}
