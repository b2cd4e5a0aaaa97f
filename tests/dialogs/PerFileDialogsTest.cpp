#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/FilePasswordDialog.h"
#include "dialogs/FilePasswordPrompt.h"
#include "dialogs/MgnCutDialog.h"
#include "dialogs/OptionPropertySheet.h"
#include "dialogs/RotateDialog.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "settings/AdjustOption.h"
#include "support/DialogFrame.h"

namespace {

// The margin dialog with its refusals recorded instead of shown.
class CTestMgnCutDialog : public CMgnCutDialog {
public:
    using CMgnCutDialog::CMgnCutDialog;
    QStringList refusals;

protected:
    void ShowRefusal(const QString& text) override { refusals.append(text); }
};

template <typename Dialog>
void Open(Dialog& dialog)
{
    dialog.OnInitDialog();
    dialog.show();
}

void ClickOk(QDialog& dialog)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QString Texts(const CMgnCutDialog& dialog)
{
    QStringList texts;
    for (const QLineEdit* edit : dialog.m_edits) {
        texts.append(edit->text());
    }
    return texts.join(QLatin1Char(','));
}

}  // namespace

TEST(MgnCutDialog, OppositeSidesMustStayBelowHundred)
{
    CTestMgnCutDialog dialog(RECT{60, 1, 40, 2});
    Open(dialog);
    EXPECT_EQ(Texts(dialog), QStringLiteral("60,1,40,2"));
    EXPECT_EQ(dialog.m_edits[0]->objectName(), QStringLiteral("1056"));

    dialog.m_edits[3]->setFocus();
    ClickOk(dialog);
    EXPECT_EQ(dialog.refusals, QStringList{QStringLiteral("カット左右の合計が100%以上です。")});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.m_edits[CMgnCutDialog::LEFT]);

    Retype(dialog.m_edits[2], QStringLiteral("39"));
    Retype(dialog.m_edits[1], QStringLiteral("150"));  // clamped while typing
    Retype(dialog.m_edits[3], QStringLiteral("1"));
    EXPECT_EQ(Texts(dialog), QStringLiteral("60,99,39,1"));
    ClickOk(dialog);
    EXPECT_EQ(dialog.refusals.last(), QStringLiteral("カット上下の合計が100%以上です。"));
    EXPECT_EQ(dialog.focusWidget(), dialog.m_edits[CMgnCutDialog::TOP]);

    Retype(dialog.m_edits[1], QString());  // empty counts as 0
    ClickOk(dialog);
    EXPECT_EQ(dialog.refusals.size(), 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_rcMargin, (RECT{60, 0, 39, 1}));
}

TEST(RotateDialog, ShowsTheAngleShortAndReturnsItAsTyped)
{
    CRotateDialog half(12.5);
    Open(half);
    EXPECT_EQ(half.m_edit->text(), QStringLiteral("12.5"));
    CRotateDialog none(0.0);
    Open(none);
    EXPECT_EQ(none.m_edit->text(), QStringLiteral("0"));

    Retype(none.m_edit, QStringLiteral("500"));
    EXPECT_EQ(none.m_edit->text(), QStringLiteral("360"));
    Retype(none.m_edit, QStringLiteral("-12.50"));
    EXPECT_EQ(none.m_edit->text(), QStringLiteral("-12.50"));
    ClickOk(none);
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(none.m_dAngle, -12.5);

    Retype(half.m_edit, QStringLiteral("x"));  // no number: 0, and OK still closes
    ClickOk(half);
    EXPECT_EQ(half.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(half.m_dAngle, 0.0);
}

TEST(FilePasswordDialog, HidesTheTypingAndTakesAnEmptyPassword)
{
    CFilePasswordDialog dialog(QStringLiteral("/books/locked.zip"));
    Open(dialog);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("1086"))->text(), QStringLiteral("/books/locked.zip"));
    EXPECT_EQ(dialog.m_edit->echoMode(), QLineEdit::Password);
    ClickOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.m_strPassword.isEmpty());
}

TEST(FilePasswordDialog, PromptGivesTheTypedPasswordOrNothingOnCancel)
{
    for (const char* button : {"1", "2"}) {
        QTimer::singleShot(0, [button] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("1085")), QStringLiteral(" pw "));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
        });
        CFilePasswordPrompt prompt;
        QString password = QStringLiteral("before");
        const bool ok = prompt.AskPassword(nullptr, QStringLiteral("/a.zip"), password);
        EXPECT_EQ(ok, button[0] == '1');
        EXPECT_EQ(password, ok ? QStringLiteral(" pw ") : QStringLiteral("before"));
    }
}

TEST(PerFileDialogs, AskForACloseButtonOnly)
{
    CMgnCutDialog cut(RECT{});
    CRotateDialog rotate(0.0);
    CFilePasswordDialog password(QStringLiteral("a.zip"));
    CAdjustOption option;
    COptionPropertySheet sheet(&option);
    for (const QDialog* dialog : std::initializer_list<const QDialog*>{&cut, &rotate, &password, &sheet})
        EXPECT_TRUE(HasCloseButtonOnly(*dialog)) << dialog->windowTitle().toStdString();
}
