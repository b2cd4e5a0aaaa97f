#include "dialogs/RotateDialog.h"

#include <QLabel>
#include <QLineEdit>

#include "dialogs/DialogControls.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/SpinButtonCtrl.h"
#include "dialogs/ValueHelpers.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"

CRotateDialog::CRotateDialog(double angle, QWidget* parent) : QDialog(parent, kDialogFrame), m_dAngle(angle)
{
    const CDialogLayout layout(*this);
    SetUpDialog(*this, layout, QStringLiteral("傾き調整"), 219, 56);
    QLabel* caption = AddStatic(*this, layout, QStringLiteral("調整する角度（時計回り）(&A)"), 12, 6, 108, 8);
    caption->setTextFormat(Qt::AutoText);
    m_edit = AddEdit(*this, layout, 1075, 18, 18, 49, 15);
    caption->setBuddy(m_edit);
    m_spin = AddSpin(*this, 1076, m_edit);
    AddStatic(*this, layout, QStringLiteral("度（-360～360、小数点以下指定可）"), 72, 21, 144, 9);
    AddButton(*this, layout, IDOK, QStringLiteral("OK"), 108, 36, 48, 14);
    AddButton(*this, layout, IDCANCEL, QStringLiteral("キャンセル"), 162, 36, 48, 14);
    connect(m_edit, &QLineEdit::textChanged, this, &CRotateDialog::OnUpdateAngle);
    AddHelpKey(*this, [] { OpenHelpPage(162); });
}

int CRotateDialog::DoModal()
{
    OnInitDialog();
    return exec() == Accepted ? IDOK : IDCANCEL;
}

void CRotateDialog::OnInitDialog()
{
    m_edit->setMaxLength(8);
    m_spin->SetRange32(-360, 360);
    SetEditDouble(m_edit, m_dAngle);
    m_edit->setFocus();
}

void CRotateDialog::OnUpdateAngle()
{
    SyncEditDoubleWithSpin(0, m_edit, m_spin);
}

// An angle out of range has become its bound and a text that is no number 0.
void CRotateDialog::OnOK()
{
    SyncEditDoubleWithSpin(1, m_edit, m_spin, &m_dAngle);
    QDialog::accept();
}
