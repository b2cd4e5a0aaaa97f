#include "dialogs/MgnCutDialog.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "dialogs/DialogControls.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/SpinButtonCtrl.h"
#include "dialogs/ValueHelpers.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/SystemMessageBox.h"

namespace {

struct SideTemplate {
    const char* caption;
    int captionX;
    int editId;
    int editX;
};

constexpr std::array<SideTemplate, 4> kSides = {{
    {"左", 18, 1056, 30},
    {"上", 72, 1057, 84},
    {"右", 126, 1058, 138},
    {"下", 180, 1059, 192},
}};
constexpr int kFirstSpinId = 1060;

}  // namespace

CMgnCutDialog::CMgnCutDialog(const RECT& margin, QWidget* parent) : QDialog(parent, kDialogFrame), m_rcMargin(margin)
{
    const CDialogLayout layout(*this);
    SetUpDialog(*this, layout, QStringLiteral("余白カット"), 237, 62);
    AddStatic(*this, layout, QStringLiteral("カットする幅（%指定）"), 12, 6, 77, 9);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (size_t side = 0; side < kSides.size(); ++side) {
        const SideTemplate& place = kSides[side];
        AddStatic(*this, layout, QString::fromUtf8(place.caption), place.captionX, 21, 9, 9);
        QLineEdit* edit = AddEdit(*this, layout, place.editId, place.editX, 18, 36, 15);
        edit->setValidator(digits);
        CSpinButtonCtrl* spin = AddSpin(*this, kFirstSpinId + static_cast<int>(side), edit);
        m_edits[side] = edit;
        m_spins[side] = spin;
        connect(edit, &QLineEdit::textChanged, this, [edit, spin] { SyncEditIntWithSpin(0, edit, spin); });
    }
    AddButton(*this, layout, IDOK, QStringLiteral("OK"), 126, 42, 48, 14);
    AddButton(*this, layout, IDCANCEL, QStringLiteral("キャンセル"), 180, 42, 49, 14);
    AddHelpKey(*this, [] { OpenHelpPage(163); });
}

int CMgnCutDialog::DoModal()
{
    OnInitDialog();
    return exec() == Accepted ? IDOK : IDCANCEL;
}

void CMgnCutDialog::OnInitDialog()
{
    const std::array<int, 4> values = {m_rcMargin.left, m_rcMargin.top, m_rcMargin.right, m_rcMargin.bottom};
    for (size_t side = 0; side < m_edits.size(); ++side) {
        m_edits[side]->setMaxLength(8);
        m_spins[side]->SetRange32(0, 99);
        SetEditInt(m_edits[side], values[side]);
    }
    m_edits[LEFT]->setFocus();
}

void CMgnCutDialog::OnOK()
{
    for (size_t side = 0; side < m_edits.size(); ++side) {
        SyncEditIntWithSpin(1, m_edits[side], m_spins[side]);
    }
    m_rcMargin = RECT{GetEditInt(m_edits[LEFT]), GetEditInt(m_edits[TOP]), GetEditInt(m_edits[RIGHT]),
                      GetEditInt(m_edits[BOTTOM])};
    if (m_rcMargin.left + m_rcMargin.right >= 100) {
        Refuse(QStringLiteral("カット左右の合計が100%以上です。"), LEFT);
    } else if (m_rcMargin.top + m_rcMargin.bottom >= 100) {
        Refuse(QStringLiteral("カット上下の合計が100%以上です。"), TOP);
    } else {
        QDialog::accept();
    }
}

void CMgnCutDialog::ShowRefusal(const QString& text)
{
    SystemMessageBox(this, text, QGuiApplication::applicationDisplayName(), MB_OK | MB_ICONEXCLAMATION);
}

// Tells why and puts the caret back into the side to correct, its text selected.
void CMgnCutDialog::Refuse(const QString& text, int side)
{
    ShowRefusal(text);
    m_edits[static_cast<size_t>(side)]->setFocus();
    m_edits[static_cast<size_t>(side)]->selectAll();
}
