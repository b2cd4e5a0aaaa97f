#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

#include <xcb/xcb.h>

#include "platform/ribbon/RibbonWidget.h"

namespace {

// A handler that records executions and answers from a table.
class FakeRibbonApp final : public IRibbonApplication, public IRibbonCommandHandler {
public:
    IRibbonCommandHandler& CommandHandler() override { return *this; }
    void OnViewChanged(RibbonViewVerb verb, CRibbonWidget&) override { views.push_back(verb); }
    void Execute(unsigned command, RibbonVerb, std::optional<RibbonKey> key, const RibbonValue& value) override
    {
        executed.push_back({command, key, value});
    }
    std::optional<RibbonValue> UpdateProperty(unsigned command, RibbonKey key) override
    {
        ++asked[{command, key}];
        if (key == RibbonKey::RecentItems)
            return recent;
        const auto answer = answers.find({command, key});
        if (answer == answers.end())
            return std::nullopt;
        return answer->second;
    }

    struct Execution {
        unsigned command;
        std::optional<RibbonKey> key;
        RibbonValue value;
    };
    std::vector<Execution> executed;
    std::vector<RibbonViewVerb> views;
    std::map<std::pair<unsigned, RibbonKey>, bool> answers;
    std::map<std::pair<unsigned, RibbonKey>, int> asked;
    RibbonItemList recent;
};

RibbonMarkup TestMarkup()
{
    RibbonMarkup markup;
    markup.commands = {{1, QStringLiteral("Tab"), QStringLiteral("T"), {}, {}},
                       {2, QStringLiteral("Group"), {}, {}, {}},
                       {3, QStringLiteral("Go\n"), QStringLiteral("G"), QStringLiteral("Go"), QStringLiteral("Goes.")},
                       {4, QStringLiteral("Small"), {}, {}, {}},
                       {5, QStringLiteral("Items"), {}, {}, {}},
                       {6, QStringLiteral("A"), {}, {}, {}},
                       {7, QStringLiteral("Recent"), {}, {}, {}},
                       {8, QStringLiteral("&Open"), {}, {}, {}}};
    markup.tabs = {{1,
                    {{2,
                      {{3, RibbonControlKind::LargeButton, {}},
                       {4, RibbonControlKind::SmallToggle, {}},
                       {5, RibbonControlKind::CheckDropDown, {6}}}}}}};
    markup.applicationMenu = {8};
    markup.recentItems = 7;
    return markup;
}

class RibbonWidgetTest : public ::testing::Test {
protected:
    void SetUp() override { ribbon.LoadUI(); }

    void ShowActive()
    {
        ribbon.show();
        ribbon.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ribbon));
    }

    // The key tips on show, in key order.
    QStringList KeyTips() const
    {
        QStringList texts;
        for (const QLabel* badge : ribbon.findChildren<QLabel*>(QStringLiteral("keyTip")))
            texts.append(badge->text());
        texts.sort();
        return texts;
    }

    FakeRibbonApp app;
    CRibbonWidget ribbon{TestMarkup(), app, nullptr};
};

}  // namespace

TEST_F(RibbonWidgetTest, ClicksExecuteAndStatesComeFromTheHandler)
{
    EXPECT_EQ(app.views.front(), RibbonViewVerb::Create);
    ribbon.FindButton(3)->click();
    ASSERT_EQ(app.executed.size(), 1u);
    EXPECT_EQ(app.executed[0].command, 3u);
    EXPECT_FALSE(app.executed[0].key.has_value());

    // A toggle carries its new state; the handler's answer is what shows.
    ribbon.FindButton(4)->click();
    EXPECT_EQ(app.executed[1].key, RibbonKey::BooleanValue);
    EXPECT_EQ(std::get<bool>(app.executed[1].value), true);
    app.answers[{4, RibbonKey::BooleanValue}] = false;
    app.answers[{3, RibbonKey::Enabled}] = false;
    ribbon.InvalidateUICommand(0, RIBBON_INVALIDATE_STATE | RIBBON_INVALIDATE_VALUE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ribbon.FindButton(3)->isEnabled(); }, 2000));
    EXPECT_FALSE(ribbon.FindButton(3)->isEnabled());
    EXPECT_FALSE(ribbon.FindButton(4)->isChecked());
    EXPECT_TRUE(ribbon.FindButton(4)->isEnabled());  // not handled: enabled
}

TEST_F(RibbonWidgetTest, InvalidationsOfABurstAreAskedOnce)
{
    app.asked.clear();
    for (int i = 0; i < 5; ++i)
        ribbon.InvalidateUICommand(3, RIBBON_INVALIDATE_STATE);
    EXPECT_EQ((app.asked[{3, RibbonKey::Enabled}]), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ((app.asked[{3, RibbonKey::Enabled}]), 1);
}

TEST_F(RibbonWidgetTest, DropDownTogglesAskAndExecute)
{
    app.answers[{6, RibbonKey::BooleanValue}] = true;
    QAction* item = ribbon.FindAction(6);
    emit ribbon.FindButton(5)->menu()->aboutToShow();
    EXPECT_TRUE(item->isChecked());
    item->trigger();  // unchecks
    EXPECT_EQ(app.executed.back().command, 6u);
    EXPECT_EQ(std::get<bool>(app.executed.back().value), false);
}

TEST_F(RibbonWidgetTest, RecentItemsAreAskedEachTimeTheMenuOpens)
{
    QMenu* menu = ribbon.ApplicationMenu();
    emit menu->aboutToShow();
    EXPECT_EQ(menu->findChild<QAction*>(QStringLiteral("recent0")), nullptr);

    app.recent = {{QStringLiteral("a.png"), QStringLiteral("/x/a.png")}, {QStringLiteral("[ clear ]"), {}}};
    emit menu->aboutToShow();
    emit menu->aboutToShow();
    QAction* second = menu->findChild<QAction*>(QStringLiteral("recent1"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(menu->actions().count(second), 1);
    EXPECT_EQ(menu->findChild<QAction*>(QStringLiteral("recent0"))->toolTip(), QStringLiteral("/x/a.png"));
    second->trigger();
    EXPECT_EQ(app.executed.back().command, 7u);
    EXPECT_EQ(app.executed.back().key, RibbonKey::SelectedItem);
    EXPECT_EQ(std::get<unsigned>(app.executed.back().value), 1u);
}

TEST_F(RibbonWidgetTest, SettingsRoundTripAndForeignBytesAreIgnored)
{
    ribbon.SetMinimized(true);
    const QByteArray saved = ribbon.SaveSettings();
    CRibbonWidget other(TestMarkup(), app, nullptr);
    other.LoadUI();
    other.LoadSettings(QByteArray("garbage"));
    EXPECT_FALSE(other.IsMinimized());
    other.LoadSettings(saved.left(saved.size() - 1));
    EXPECT_FALSE(other.IsMinimized());
    other.LoadSettings(saved);
    EXPECT_TRUE(other.IsMinimized());
    EXPECT_EQ(app.views.back(), RibbonViewVerb::Size);  // the frame makes room again
}

TEST_F(RibbonWidgetTest, AltShowsKeyTipsThatLeadToATabAndPressItsButton)
{
    ShowActive();
    QTest::keyClick(&ribbon, Qt::Key_Alt);
    const auto tips = [this] { return KeyTips(); };
    EXPECT_EQ(tips(), (QStringList{QStringLiteral("F"), QStringLiteral("T")}));
    QTest::keyClick(&ribbon, Qt::Key_T);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tips() == QStringList{QStringLiteral("G")}; }, 2000));
    QTest::keyClick(&ribbon, Qt::Key_G);
    ASSERT_FALSE(app.executed.empty());
    EXPECT_EQ(app.executed.back().command, 3u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tips().isEmpty(); }, 2000));

    // F10 shows them too; F10 again or Escape hides them.
    for (const Qt::Key hide : {Qt::Key_F10, Qt::Key_Escape}) {
        QTest::keyClick(&ribbon, Qt::Key_F10);
        EXPECT_EQ(tips(), (QStringList{QStringLiteral("F"), QStringLiteral("T")}));
        QTest::keyClick(&ribbon, hide);
        EXPECT_EQ(tips(), QStringList());
    }
}

TEST_F(RibbonWidgetTest, ADisabledCommandsKeyTipIsDimmedAndItsKeyDoesNothing)
{
    const auto darkest = [](QWidget& widget) {
        const QImage image = widget.grab().toImage();
        int gray = 255;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                gray = std::min(gray, qGray(image.pixel(x, y)));
        }
        return gray;
    };
    const auto setEnabled = [this](bool enabled) {
        app.answers[{3, RibbonKey::Enabled}] = enabled;
        ribbon.InvalidateUICommand(3, RIBBON_INVALIDATE_STATE);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ribbon.FindButton(3)->isEnabled() == enabled; }, 2000));
    };
    setEnabled(false);
    ShowActive();
    QTest::keyClick(&ribbon, Qt::Key_Alt);
    QTest::keyClick(&ribbon, Qt::Key_T);
    QPointer<QLabel> tip = ribbon.findChild<QLabel*>(QStringLiteral("keyTip"));
    ASSERT_TRUE(tip && tip->text() == QStringLiteral("G"));
    const int dimmed = darkest(*tip);
    QTest::keyClick(&ribbon, Qt::Key_G);
    EXPECT_TRUE(app.executed.empty());
    ASSERT_TRUE(tip);  // the tips stay for another key

    // Enabled while the tips show: drawn and pressed as any other.
    setEnabled(true);
    EXPECT_GT(dimmed, darkest(*tip) + 32);
    QTest::keyClick(&ribbon, Qt::Key_G);
    ASSERT_EQ(app.executed.size(), 1u);
    EXPECT_EQ(app.executed[0].command, 3u);
}

TEST_F(RibbonWidgetTest, KeysCloseThePanelTheyDroppedDownAndShowNoTipsBehindAMenu)
{
    ribbon.SetMinimized(true);
    ShowActive();
    const QToolButton& inPanel = *ribbon.FindButton(3);
    for (const Qt::Key hide : {Qt::Key_F10, Qt::Key_Alt, Qt::Key_Escape}) {
        QTest::keyClick(&ribbon, Qt::Key_F10);
        QTest::keyClick(&ribbon, Qt::Key_T);
        ASSERT_TRUE(QTest::qWaitFor([&] { return inPanel.isVisible(); }, 2000));
        QTest::keyClick(&ribbon, hide);
        EXPECT_FALSE(inPanel.isVisible()) << hide;
        EXPECT_EQ(KeyTips(), QStringList());
    }
    // Dropped down by a click, it closes by Escape too.
    auto& tabs = *ribbon.findChild<QTabBar*>();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return inPanel.isVisible(); }, 2000));
    QTest::keyClick(&ribbon, Qt::Key_Escape);
    EXPECT_FALSE(inPanel.isVisible());

    // A menu open has the keys: the application menu, and one of the window's own.
    QMenu windowMenu;
    windowMenu.addAction(QStringLiteral("x"));
    for (QMenu* menu : {ribbon.ApplicationMenu(), &windowMenu}) {
        menu->popup(ribbon.mapToGlobal(QPoint(10, 10)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Alt}) {
            QTest::keyClick(menu, key);
            EXPECT_EQ(KeyTips(), QStringList()) << key;
        }
        menu->close();
        EXPECT_EQ(KeyTips(), QStringList());
    }
}

TEST_F(RibbonWidgetTest, AClickOnAKeyTipTakesTheTipsAway)
{
    ShowActive();
    QTest::keyClick(&ribbon, Qt::Key_F10);
    const QLabel* tip = ribbon.findChild<QLabel*>(QStringLiteral("keyTip"));
    ASSERT_NE(tip, nullptr);
    QTest::mouseClick(ribbon.windowHandle(), Qt::LeftButton, {}, tip->geometry().center());
    EXPECT_EQ(KeyTips(), QStringList());
}

TEST_F(RibbonWidgetTest, AltShowsNoTipsWhenAGrabTookThePointerWhileItWasHeld)
{
    ShowActive();
    // The window manager's Alt+drag takes the pointer so; its word may come
    // before the key events read with it reach the ribbon.
    const auto altWithPointerTakenAt = [this](quint32 time) {
        xcb_leave_notify_event_t leave{};
        leave.response_type = XCB_LEAVE_NOTIFY;
        leave.mode = XCB_NOTIFY_MODE_GRAB;
        leave.time = time;
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &leave, &result);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent alt(type, Qt::Key_Alt, type == QEvent::KeyPress ? Qt::AltModifier : Qt::NoModifier);
            alt.setTimestamp(type == QEvent::KeyPress ? 1000 : 2000);
            QApplication::sendEvent(&ribbon, &alt);
        }
    };
    altWithPointerTakenAt(1500);
    EXPECT_EQ(KeyTips(), QStringList());
    altWithPointerTakenAt(500);  // before Alt was pressed
    EXPECT_EQ(KeyTips(), (QStringList{QStringLiteral("F"), QStringLiteral("T")}));
}
