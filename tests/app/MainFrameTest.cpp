#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "AppTestSupport.h"
#include "app/MainFrame.h"
#include "app/MainStatusBar.h"
#include "app/StatusPane.h"
#include "common/TempRoot.h"
#include "msgbox/ApplicationHelp.h"
#include "res/StringTable.h"

namespace {

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUserSettings();
        ASSERT_TRUE(m_frame.Create(m_instanceDir.path()));
        m_frame.show();
    }
    void TearDown() override
    {
        theApp.m_option = CAdjustOption();
        theApp.m_strTempRoot.clear();
        SetTempRoot(m_previousRoot);
        ClearUserSettings();
    }

    CMainStatusBar& StatusBar() { return *m_frame.m_wndStatusBar; }
    QList<QPushButton*> StopButtons() { return StatusBar().findChildren<QPushButton*>(QStringLiteral("1001")); }

    // Changes that a shutdown must keep, and a file in the temporary root it must remove.
    void PrepareShutdown()
    {
        theApp.m_option.SaveQuality = 33;
        m_frame.AddRecentItem(QStringLiteral("/books/a"));
        SetTempRoot(m_tempRoot.path() + QStringLiteral("/FolivaneTmp/"));
        theApp.m_strTempRoot = ClaimTempRoot();
        QDir().mkpath(theApp.m_strTempRoot + QStringLiteral("Adj"));
        QFile(theApp.m_strTempRoot + QStringLiteral("Adj/x.png")).open(QIODevice::WriteOnly);
    }

    void ExpectShutdownSaved()
    {
        EXPECT_EQ(UserSettings().value(QStringLiteral("OptionInfo/SaveQuality")).toInt(), 33);
        EXPECT_EQ(UserSettings().value(QStringLiteral("RecentItems/0")).toString(), QStringLiteral("/books/a"));
        EXPECT_FALSE(QDir(theApp.m_strTempRoot).exists());
    }

    QTemporaryDir m_instanceDir;
    QTemporaryDir m_tempRoot;
    const QString m_previousRoot = GetTempRoot();
    CMainFrame m_frame;
};

}  // namespace

TEST_F(MainFrame, CountPanesShowTheirStringsWithZeroFromTheStartAndPanesHaveTheirWidths)
{
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_ALLFILES)->GetText(), QStringLiteral("全ファイル : 0 個"));
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_SELFILES)->GetText(), QStringLiteral("選択ファイル : 0 個"));
    m_frame.SetAllFilesCount(12);
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_ALLFILES)->GetText(), QStringLiteral("全ファイル : 12 個"));
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_ALLFILES)->width(), 140);
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_PROGRESS)->width(), 180);
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_STOP)->width(), 120);
    const QRect all = StatusBar().GetPane(ID_INDICATOR_ALLFILES)->geometry();
    const QRect rest = StatusBar().GetPane(ID_INDICATOR_EMPTY)->geometry();
    EXPECT_LT(all.right(), rest.left());
    EXPECT_GT(rest.width(), 100);  // the last pane takes the remaining width
}

TEST_F(MainFrame, StopButtonIsCreatedOnceAndShownAgainWithTheNewCaption)
{
    m_frame.ShowProgress(10, RGB(0, 128, 0), QStringLiteral("中止"));
    m_frame.ShowProgress(10, RGB(0, 128, 0), QStringLiteral("other"));
    ASSERT_EQ(StopButtons().size(), 1);
    QPushButton* button = StopButtons().front();
    EXPECT_EQ(button->text(), QStringLiteral("中止"));  // a visible button is not touched
    EXPECT_EQ(button->geometry(), StatusBar().GetPane(ID_INDICATOR_STOP)->geometry());
    EXPECT_EQ(button->font(), theApp.GetStatusFont());

    m_frame.EndProgress();
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(StatusBar().GetPane(ID_INDICATOR_PROGRESS)->HasProgressBar());
    m_frame.ShowProgress(4, RGB(0, 0, 255), QStringLiteral("停止"));
    EXPECT_EQ(StopButtons().size(), 1);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("停止"));
    m_frame.SetPaneProgress(3);
    EXPECT_EQ(StatusBar().GetPane(ID_INDICATOR_PROGRESS)->GetProgress(), 3);
}

TEST_F(MainFrame, StopButtonClickReachesTheView)
{
    m_frame.ShowProgress(10, RGB(0, 128, 0), QStringLiteral("中止"));
    QSignalSpy spy(&StatusBar(), &CMainStatusBar::command);
    QTest::mouseClick(StopButtons().front(), Qt::LeftButton);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.front().front().toInt(), 1001);
    EXPECT_TRUE(m_frame.OnCmdMsg(1001));  // the view takes it
}

TEST_F(MainFrame, CommandsGoToTheApplicationAfterViewAndFrame)
{
    QUrl opened;
    SetHelpOpener([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    m_frame.PostCommand(ID_HELP_INDEX);
    EXPECT_TRUE(opened.isEmpty());  // posted, not called
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }, 2000));
    EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("/help/128.html")));
    EXPECT_FALSE(m_frame.OnCmdMsg(12345));  // no one answers an unknown id
    SetHelpOpener([](const QUrl&) { return true; });
}

TEST_F(MainFrame, ClosingSavesSettingsRecentItemsAndEmptiesTheTemporaryRoot)
{
    PrepareShutdown();
    m_frame.close();
    ExpectShutdownSaved();
}

TEST_F(MainFrame, SessionEndSavesLikeAClose)
{
    PrepareShutdown();
    EXPECT_TRUE(m_frame.OnQueryEndSession());
    ExpectShutdownSaved();
    EXPECT_FALSE(m_frame.isVisible());
}

TEST_F(MainFrame, ThePlaceAndMaximisedStateComeBackAtTheNextStartButAPlaceOnNoScreenDoesNot)
{
    const QRect place(40, 50, 700, 450);
    m_frame.setGeometry(place);
    m_frame.close();
    const auto restart = [this] {
        auto frame = std::make_unique<CMainFrame>();
        EXPECT_TRUE(frame->Create(m_instanceDir.path()));
        return frame;
    };
    std::unique_ptr<CMainFrame> frame = restart();
    EXPECT_EQ(frame->geometry(), place);
    EXPECT_FALSE(frame->isMaximized());
    frame->show();
    frame->showMaximized();
    frame->close();
    frame = restart();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->normalGeometry(), place);

    frame->showNormal();
    frame->setGeometry(QRect(place.topLeft() + QPoint(20000, 0), place.size()));
    frame->close();
    EXPECT_NE(restart()->geometry().x(), place.x() + 20000);
}
