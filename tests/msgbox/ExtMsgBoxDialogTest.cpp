#include "MsgBoxTestHelpers.h"

#include "msgbox/ExtMessageBox.h"
#include "msgbox/ExtMsgBoxTemplate.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

namespace {

constexpr std::uint32_t kQuiet = MB_NOSOUND;

}  // namespace

TEST(ExtMsgBoxDialog, CountdownShowsSecondsOnTheDefaultButtonAndPressesIt)
{
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 3;
    QStringList captions;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        for (int tick = 0; tick < 4; ++tick) {
            box.OnTimer(1);
            captions << ButtonOf(box, IDOK)->text();
        }
    });
    const int result = ExtMessageBox(nullptr, "M", "T", MB_OK | kQuiet, &params);
    EXPECT_EQ(static_cast<std::uint32_t>(result), IDOK | EMB_TIMEOUT_FLAG);
    EXPECT_EQ(captions, (QStringList{"OK = 3", "OK = 2", "OK = 1", "OK"}));
}

TEST(ExtMsgBoxDialog, ClickInTheBoxStopsTheCountdown)
{
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 5;
    QString afterClick;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        box.OnTimer(1);
        QTest::mouseClick(box.GetDlgItem(IDC_MSGBOX_MESSAGE), Qt::LeftButton);
        afterClick = ButtonOf(box, IDNO)->text();
        Press(box, IDYES);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, "M", "T", MB_YESNO | 0x100 | kQuiet, &params), IDYES);
    EXPECT_EQ(afterClick, QStringLiteral("いいえ"));
}

TEST(ExtMsgBoxDialog, CommandBeforeFirstTickKeepsTheCaption)
{
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 5;
    QString caption;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        ButtonOf(box, IDC_MSGBOX_CHECKBOX)->click();
        caption = ButtonOf(box, IDOK)->text();
        Press(box, IDOK);
    });
    ExtMessageBox(nullptr, "M", "T", MB_OK | MB_DONOTASKAGAIN | kQuiet, &params);
    EXPECT_EQ(caption, QStringLiteral("OK"));
}

TEST(ExtMsgBoxDialog, DisabledPeriodCountsDownInTheTitle)
{
    EXTMSGBOXPARAMS params;
    params.nDisabledSeconds = 3;
    params.szReportButtonCaption = "Rep";
    params.lpReportFunc = [](const QString&, std::uintptr_t) {};
    QStringList titles;
    bool disabledAtStart = false;
    bool closeAtStart = true;
    bool reportEnabled = false;
    bool enabledAtEnd = false;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        disabledAtStart = !ButtonOf(box, IDYES)->isEnabled() && !ButtonOf(box, IDCANCEL)->isEnabled();
        closeAtStart = box.IsCloseEnabled();
        reportEnabled = ButtonOf(box, IDREPORT)->isEnabled();
        box.close();  // ignored while disabled
        QTest::keyClick(&box, Qt::Key_Escape);
        for (int tick = 0; tick < 4; ++tick) {
            box.OnTimer(2);
            titles << box.windowTitle();
        }
        enabledAtEnd = ButtonOf(box, IDYES)->isEnabled() && box.IsCloseEnabled();
        Press(box, IDNO);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, "M", "T", MB_YESNOCANCEL | kQuiet, &params), IDNO);
    EXPECT_TRUE(disabledAtStart);
    EXPECT_FALSE(closeAtStart);
    EXPECT_TRUE(reportEnabled);
    EXPECT_TRUE(enabledAtEnd);
    EXPECT_EQ(titles, (QStringList{"T 3", "T 2", "T 1", "T"}));
}

TEST(ExtMsgBoxDialog, ReportButtonCallsBackAndLeavesTheBoxOpen)
{
    static QString reported;
    static std::uintptr_t reportedData = 0;
    EXTMSGBOXPARAMS params;
    params.dwReportUserData = 42;
    params.lpReportFunc = [](const QString& message, std::uintptr_t data) {
        reported = message;
        reportedData = data;
    };
    WhenBoxOpens([](CExtMsgBoxDialog& box) {
        EXPECT_EQ(ButtonOf(box, IDREPORT)->text(), QStringLiteral("Re&port"));
        Press(box, IDREPORT);
        Press(box, IDHELP);  // no help id: nothing happens
        Press(box, IDOK);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, "Broken", "T", MB_OK | MB_HELP | kQuiet, &params), IDOK);
    EXPECT_EQ(reported, QStringLiteral("Broken"));
    EXPECT_EQ(reportedData, 42u);
}

TEST(ExtMsgBoxDialog, CopiedTextHasDashedSectionsAndCaptionsWithoutAmpersands)
{
    const QString d = QStringLiteral("---------------------------\r\n");
    WhenBoxOpens([](CExtMsgBoxDialog& box) {
        EXPECT_FALSE(box.OnCopyToClipboard(Qt::Key_X));
        EXPECT_TRUE(box.OnCopyToClipboard(Qt::Key_C));
        Press(box, IDABORT);
    });
    ExtMessageBox(nullptr, "A&B\nline 2", "Title", MB_ABORTRETRYIGNORE | MB_DONOTSHOWAGAIN | kQuiet, nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              d + "Title\r\n" + d + "A&B\nline 2\r\n" + d + "Abort   Retry   Ignore   Don't show again   \r\n" + d);
}

TEST(ExtMsgBoxDialog, BackgroundColourFillsTheMessageBand)
{
    EXTMSGBOXPARAMS params;
    params.crBackground = RGB(0, 0, 255);
    QImage image;
    int bandBottom = 0;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        image = box.grab().toImage();
        bandBottom = box.GetDlgItem(IDC_MSGBOX_MESSAGE)->geometry().bottom();
        Press(box, IDOK);
    });
    ExtMessageBox(nullptr, "M", "T", MB_OK | kQuiet, &params);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(0, 0, 255));
    EXPECT_NE(QColor(image.pixel(2, image.height() - 3)), QColor(0, 0, 255));
    EXPECT_GT(image.height() - 3, bandBottom);
}

// Run in a child process: the quit stays pending for the rest of the program.
TEST(ExtMsgBoxDialogDeathTest, QuitEndsTheBoxWithMinusOneAndStaysPending)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            WhenBoxOpens([](CExtMsgBoxDialog&) { QCoreApplication::exit(3); });
            const int result = ExtMessageBox(nullptr, "M", "T", MB_OK | kQuiet, nullptr);
            QEventLoop outer;  // returns at once while the quit is pending
            const int pending = outer.exec();
            std::exit(result == -1 && pending == -1 && FindOpenBox() == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
