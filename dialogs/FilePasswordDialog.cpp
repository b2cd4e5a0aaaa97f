#include "dialogs/FilePasswordDialog.h"

#include <QLabel>
#include <QLineEdit>

#include "dialogs/DialogControls.h"
#include "dialogs/DialogLayout.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"

CFilePasswordDialog::CFilePasswordDialog(const QString& fileName, QWidget* parent)
    : QDialog(parent, kDialogFrame), m_strFileName(fileName)
{
    const CDialogLayout layout(*this);
    SetUpDialog(*this, layout, QStringLiteral("パスワード入力"), 267, 56);
    m_name = AddStatic(*this, layout, QStringLiteral("スタティック"), 6, 6, 252, 8);
    m_name->setObjectName(QStringLiteral("1086"));
    m_edit = AddEdit(*this, layout, 1085, 6, 18, 252, 14);
    m_edit->setEchoMode(QLineEdit::Password);
    AddButton(*this, layout, IDOK, QStringLiteral("OK"), 156, 36, 48, 14);
    AddButton(*this, layout, IDCANCEL, QStringLiteral("キャンセル"), 210, 36, 48, 14);
    AddHelpKey(*this, [] { OpenHelpPage(160); });
}

int CFilePasswordDialog::DoModal()
{
    OnInitDialog();
    return exec() == Accepted ? IDOK : IDCANCEL;
}

void CFilePasswordDialog::OnInitDialog()
{
    m_name->setText(m_strFileName);
    m_edit->setFocus();
}

void CFilePasswordDialog::OnOK()
{
    m_strPassword = m_edit->text();
    QDialog::accept();
}
