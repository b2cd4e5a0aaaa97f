#include "MsgBoxTestHelpers.h"

#include "msgbox/ApplicationHelp.h"
#include "msgbox/ExtMessageBox.h"
#include "msgbox/MessageBoxAnswerer.h"
#include "res/StringTable.h"
#include "support/DialogFrame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace {

constexpr std::uint32_t kQuiet = MB_NOSOUND;

int AskAndPress(std::uint32_t style, int id, const EXTMSGBOXPARAMS* params = nullptr)
{
    WhenBoxOpens([id](CExtMsgBoxDialog& box) { Press(box, id); });
    return ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), style | kQuiet, params);
}

std::vector<int> ButtonIds(CExtMsgBoxDialog& box)
{
    std::vector<int> ids;
    for (QPushButton* button : box.findChildren<QPushButton*>())
        for (int id :
             {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDYESTOALL, IDNOTOALL, IDHELP, IDREPORT})
            if (box.GetDlgItem(id) == button)
                ids.push_back(id);
    return ids;
}

}  // namespace

TEST(ExtMessageBox, YesNoCancelReturnsThePressedButton)
{
    for (int id : {IDYES, IDNO, IDCANCEL})
        EXPECT_EQ(AskAndPress(0x23, id), id);

    std::vector<int> shown;
    QString captions;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        shown = ButtonIds(box);
        for (int id : shown)
            captions += ButtonOf(box, id)->text() + QLatin1Char('|');
        EXPECT_NE(box.GetDlgItem(IDC_MSGBOX_ICON), nullptr);
        Press(box, IDYES);
    });
    ExtMessageBox(nullptr, QStringLiteral("M"), QString(), 0x23 | kQuiet, nullptr);
    EXPECT_EQ(shown, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(captions, QStringLiteral("はい|いいえ|キャンセル|"));
}

TEST(ExtMessageBox, YesToAllAndNoToAllSitBesideYesAndNo)
{
    for (int id : {IDYES, IDYESTOALL, IDNO, IDNOTOALL, IDCANCEL})
        EXPECT_EQ(AskAndPress(0x18000023, id), id);

    std::vector<int> shown;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        shown = ButtonIds(box);
        EXPECT_EQ(ButtonOf(box, IDYESTOALL)->text(), QStringLiteral("すべて、はい"));
        EXPECT_EQ(ButtonOf(box, IDNOTOALL)->text(), QStringLiteral("すべて、いいえ"));
        Press(box, IDNO);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, QStringLiteral("M"), QString(), 0x18000023 | kQuiet, nullptr), IDNO);
    EXPECT_EQ(shown, (std::vector<int>{IDYES, IDYESTOALL, IDNO, IDNOTOALL, IDCANCEL}));
}

TEST(ExtMessageBox, EscapeAndCloseBoxAnswerByType)
{
    // The checkbox is ticked first: a button press carries its bit, Escape and the close box never do.
    struct Case {
        std::uint32_t type;
        int result;
    };
    const std::uint32_t tick = MB_DONOTASKAGAIN;
    for (const Case c :
         {Case{MB_YESNOCANCEL, IDCANCEL}, Case{MB_OK, IDOK}, Case{MB_OKCANCEL, IDCANCEL},
          Case{MB_YESNO, static_cast<int>(IDYES | tick)}, Case{MB_ABORTRETRYIGNORE, static_cast<int>(IDABORT | tick)},
          Case{MB_CONTINUEABORT, static_cast<int>(IDCONTINUE | tick)}, Case{10, static_cast<int>(IDOK | tick)}}) {
        for (const bool escape : {true, false}) {
            WhenBoxOpens([&](CExtMsgBoxDialog& box) {
                ButtonOf(box, IDC_MSGBOX_CHECKBOX)->click();
                if (escape)
                    QTest::keyClick(&box, Qt::Key_Escape);
                else
                    box.close();
                PressFirst(box);
            });
            const int result =
                ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), c.type | tick | kQuiet, nullptr);
            EXPECT_EQ(result, c.result) << "type " << c.type << (escape ? " escape" : " close box");
        }
    }
}

TEST(ExtMessageBox, CountdownPressesTheDefaultButton)
{
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 1;
    const int result =
        ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_YESNO | 0x100 | kQuiet, &params);
    EXPECT_EQ(static_cast<std::uint32_t>(result), IDNO | EMB_TIMEOUT_FLAG);
}

TEST(ExtMessageBox, TimeoutOfThousandSecondsOrMoreCountsFromTen)
{
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 1500;
    QString caption;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        box.OnTimer(1);
        caption = ButtonOf(box, IDOK)->text();
        Press(box, IDOK);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_OK | kQuiet, &params), IDOK);
    EXPECT_EQ(caption, QStringLiteral("OK = 10"));
}

TEST(ExtMessageBox, TickedCheckboxAddsItsBit)
{
    for (const std::uint32_t bit : {MB_DONOTASKAGAIN, MB_DONOTTELLAGAIN, MB_DONOTSHOWAGAIN}) {
        WhenBoxOpens([](CExtMsgBoxDialog& box) {
            ButtonOf(box, IDC_MSGBOX_CHECKBOX)->click();
            EXPECT_TRUE(box.isVisible());
            Press(box, IDOK);
        });
        const int result =
            ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_OK | bit | kQuiet, nullptr);
        EXPECT_EQ(static_cast<std::uint32_t>(result), IDOK | bit);
    }
    // Unticked, and the countdown keeps the tick.
    EXPECT_EQ(AskAndPress(MB_OK | MB_DONOTASKAGAIN, IDOK), IDOK);
    EXTMSGBOXPARAMS params;
    params.nTimeoutSeconds = 5;
    WhenBoxOpens([](CExtMsgBoxDialog& box) {
        ButtonOf(box, IDC_MSGBOX_CHECKBOX)->click();
        for (int tick = 0; tick <= 5; ++tick)
            box.OnTimer(1);
    });
    const int result =
        ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_OK | MB_DONOTSHOWAGAIN | kQuiet, &params);
    EXPECT_EQ(static_cast<std::uint32_t>(result), IDOK | MB_DONOTSHOWAGAIN | EMB_TIMEOUT_FLAG);
}

TEST(ExtMessageBox, CustomCaptionsGiveAtMostFourButtons)
{
    EXTMSGBOXPARAMS params;
    params.szCustomButtons = QStringLiteral("\nOne\n\nTwo\nThree\nFour\nFive\n");
    QStringList captions;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        for (QPushButton* button : box.findChildren<QPushButton*>())
            captions << button->text();
        EXPECT_EQ(box.GetDlgItem(IDCUSTOM4 + 1), nullptr);
        Press(box, IDCUSTOM1 + 2);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), kQuiet, &params), IDCUSTOM1 + 2);
    EXPECT_EQ(captions, (QStringList{"One", "Two", "Three", "Four"}));
}

TEST(ExtMessageBox, DefaultIconOnlyForAskingAndWarningTypes)
{
    for (const auto& [style, icon] : std::vector<std::pair<std::uint32_t, bool>>{{MB_YESNO, true},
                                                                                 {MB_OK, true},
                                                                                 {MB_ABORTRETRYIGNORE, false},
                                                                                 {MB_RETRYCANCEL, false},
                                                                                 {MB_SYSTEMMODAL, true}}) {
        bool hasIcon = false;
        WhenBoxOpens([&](CExtMsgBoxDialog& box) {
            hasIcon = box.GetDlgItem(IDC_MSGBOX_ICON) != nullptr;
            PressFirst(box);
        });
        ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), style | kQuiet, nullptr);
        EXPECT_EQ(hasIcon, icon) << std::hex << style;
    }
}

TEST(ExtMessageBox, CaptionDefaultsToTheApplicationName)
{
    QString title;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        title = box.windowTitle();
        Press(box, IDOK);
    });
    ExtMessageBox(nullptr, QStringLiteral("M"), QString(), kQuiet, nullptr);
    EXPECT_EQ(title, QGuiApplication::applicationDisplayName());
}

TEST(ExtMessageBox, TextByIdComesFromTheProgramsStrings)
{
    QString message;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        message = qobject_cast<QLabel*>(box.GetDlgItem(IDC_MSGBOX_MESSAGE))->text();
        Press(box, IDOK);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, IDS_MSGBOX_YESTOALL, QStringLiteral("T"), kQuiet, nullptr), IDOK);
    EXPECT_EQ(message, QStringLiteral("すべて、はい"));

    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        message = qobject_cast<QLabel*>(box.GetDlgItem(IDC_MSGBOX_MESSAGE))->text();
        Press(box, IDOK);
    });
    ExtMessageBox(nullptr, 1u, QStringLiteral("T"), kQuiet, nullptr);
    EXPECT_TRUE(message.isEmpty());
}

TEST(ExtMessageBox, SystemModalStopBoxIsTheToolkitsBox)
{
    for (const std::uint32_t style : {0x1010u, 0x1030u}) {
        bool toolkitBox = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            toolkitBox = box != nullptr && FindOpenBox() == nullptr;
            if (box)
                box->button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), style, nullptr), IDOK);
        EXPECT_TRUE(toolkitBox) << std::hex << style;
    }
}

TEST(ExtMessageBox, BothKindsOfBoxAskForACloseButtonOnly)
{
    bool closeOnly = false;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        closeOnly = HasCloseButtonOnly(box);
        PressFirst(box);
    });
    ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_TOPMOST | kQuiet, nullptr);
    EXPECT_TRUE(closeOnly);

    closeOnly = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        closeOnly = box != nullptr && HasCloseButtonOnly(*box);
        if (box)
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), 0x1010u, nullptr);
    EXPECT_TRUE(closeOnly);
}

TEST(ExtMessageBox, CtrlCCopiesTitleMessageAndButtons)
{
    WhenBoxOpens([](CExtMsgBoxDialog& box) {
        QTest::keyClick(box.GetDlgItem(IDYES), Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(box.isVisible());
        Press(box, IDNO);
    });
    EXPECT_EQ(ExtMessageBox(nullptr, QStringLiteral("M"), QStringLiteral("T"), MB_YESNO | kQuiet, nullptr), IDNO);
    const QString d = QStringLiteral("---------------------------\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              d + "T\r\n" + d + "M\r\n" + d + QStringLiteral("はい   いいえ   \r\n") + d);
}

TEST(ExtMessageBox, OwnerIsDisabledWhileTheBoxIsOpen)
{
    QWidget owner;
    owner.show();
    bool enabledMeanwhile = true;
    WhenBoxOpens([&](CExtMsgBoxDialog& box) {
        enabledMeanwhile = owner.isEnabled();
        Press(box, IDOK);
    });
    ExtMessageBox(&owner, QStringLiteral("M"), QStringLiteral("T"), kQuiet, nullptr);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_TRUE(owner.isEnabled());

    // An owner that was disabled already stays so.
    owner.setEnabled(false);
    AskAndPress(MB_OK, IDOK);
    WhenBoxOpens([](CExtMsgBoxDialog& box) { Press(box, IDOK); });
    ExtMessageBox(&owner, QStringLiteral("M"), QStringLiteral("T"), kQuiet, nullptr);
    EXPECT_FALSE(owner.isEnabled());
}

TEST(ExtMessageBox, BoxOverAModalWindowTakesClicks)
{
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    for (QWidget* owner : {static_cast<QWidget*>(&modal), static_cast<QWidget*>(nullptr)}) {
        WhenBoxOpens([](CExtMsgBoxDialog& box) {
            // Through the window, where a blocking modal window would swallow the click.
            QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, box.GetDlgItem(IDYES)->geometry().center());
            Press(box, IDNO);  // too late unless the click was blocked
        });
        EXPECT_EQ(ExtMessageBox(owner, QStringLiteral("M"), QStringLiteral("T"), MB_YESNO | kQuiet, nullptr), IDYES);
    }
}

TEST(ApplicationHelp, APageOrLinkThatCannotBeOpenedIsNamedInABox)
{
    std::vector<std::pair<QString, std::uint32_t>> boxes;
    SetMessageBoxAnswerer([&boxes](const QString& text, std::uint32_t style) {
        boxes.emplace_back(text, style);
        return IDOK;
    });
    SetHelpOpener([](const QUrl&) { return false; });
    EXPECT_FALSE(OpenHelpPage(136));
    EXPECT_FALSE(OpenLink(QUrl::fromLocalFile(QStringLiteral("/no/such/folder/"))));
    SetHelpOpener([](const QUrl&) { return true; });
    EXPECT_TRUE(OpenHelpPage(136));
    SetMessageBoxAnswerer({});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].first, GetHelpPagePath(136) + QStringLiteral("\r\nを開けませんでした。"));
    EXPECT_EQ(boxes[0].second, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[1].first, QStringLiteral("/no/such/folder/\r\nを開けませんでした。"));
}
