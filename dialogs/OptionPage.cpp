#include "dialogs/OptionPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "dialogs/OptionPropertySheet.h"
#include "dialogs/SpinButtonCtrl.h"
#include "dialogs/ValueHelpers.h"

namespace {

// Numeric edits take at most this many characters.
constexpr int kEditLimit = 8;

}  // namespace

COptionPage::COptionPage(COptionPropertySheet& sheet, int templateId, const QString& caption, QSize templateSize)
    : m_layout(sheet), m_sheet(sheet), m_nTemplateId(templateId), m_strCaption(caption), m_templateSize(templateSize)
{
    setObjectName(QString::number(templateId));
}

void COptionPage::Create()
{
    if (m_bCreated) {
        return;
    }
    m_bCreated = true;
    m_layout.Resize(*this, m_templateSize.width(), m_templateSize.height());
    OnInitDialog();
    LoadFromOptions();
    m_bModified = false;
}

bool COptionPage::OnKillActive()
{
    ValidateNumericEdits();
    return true;
}

CAdjustOption& COptionPage::Option() const
{
    return *m_sheet.m_pOption;
}

int COptionPage::ShowMessage(const QString& text) const
{
    return m_sheet.ShowMessage(text);
}

void COptionPage::GotoEdit(QLineEdit* edit)
{
    if (edit != nullptr) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
}

QGroupBox* COptionPage::AddGroup(int id, const QString& caption, QRect dlu)
{
    return Place(new QGroupBox(caption, this), id, dlu);
}

QLabel* COptionPage::AddLabel(int id, const QString& text, QRect dlu, QWidget* buddy)
{
    auto* label = Place(new QLabel(text, this), id, dlu);
    label->setBuddy(buddy);
    return label;
}

QAbstractButton* COptionPage::AddCheck(int id, const QString& caption, QRect dlu)
{
    auto* check = Place(new QCheckBox(caption, this), id, dlu);
    connect(check, &QCheckBox::clicked, this, [this] { SetModified(); });
    return check;
}

QPushButton* COptionPage::AddButton(int id, const QString& caption, QRect dlu)
{
    auto* button = Place(new QPushButton(caption, this), id, dlu);
    button->setAutoDefault(false);
    return button;
}

QComboBox* COptionPage::AddCombo(int id, QRect dlu)
{
    // A drop-down list's template height includes its list; the box shows one line.
    auto* combo = Place(new QComboBox(this), id, dlu);
    combo->resize(combo->width(), std::max(combo->sizeHint().height(), m_layout.Y(14)));
    connect(combo, &QComboBox::activated, this, [this] { SetModified(); });
    return combo;
}

QSlider* COptionPage::AddSlider(int id, int low, int high, QRect dlu, int editId)
{
    auto* slider = Place(new QSlider(Qt::Horizontal, this), id, dlu);
    slider->setRange(low, high);
    slider->setPageStep(std::max(1, (high - low) / 10));
    slider->setTickPosition(QSlider::NoTicks);
    // Only the user's moves reach the edit; positions set by program do not.
    connect(slider, &QSlider::actionTriggered, this, [this, slider, editId] {
        ::SetEditInt(Item<QLineEdit>(editId), slider->sliderPosition());
        SetModified();
    });
    return slider;
}

void COptionPage::AddRadios(int first, const QStringList& captions, const QList<QRect>& dlus)
{
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        auto* radio = Place(new QRadioButton(captions[i], this), first + i, dlus[i]);
        group->addButton(radio, first + i);
    }
    connect(group, &QButtonGroup::buttonClicked, this, [this] { SetModified(); });
}

QLineEdit* COptionPage::AddNumericEdit(int editId, int spinId, int low, int high, QRect dlu)
{
    auto* edit = Place(new QLineEdit(this), editId, dlu);
    edit->setMaxLength(kEditLimit);
    auto* spin = new CSpinButtonCtrl(this);
    spin->setObjectName(QString::number(spinId));
    spin->SetRange32(low, high);
    spin->SetBuddy(edit);
    return edit;
}

QLineEdit* COptionPage::AddIntEdit(int editId, int spinId, int low, int high, QRect dlu, QSlider* slider)
{
    QLineEdit* edit = AddNumericEdit(editId, spinId, low, high, dlu);
    auto* spin = Item<CSpinButtonCtrl>(spinId);
    m_numericEdits.append({edit, spin, slider, false});
    connect(edit, &QLineEdit::textChanged, this, [this, edit, spin, slider] {
        SyncEditIntWithSpin(0, edit, spin, slider);
        SetModified();
    });
    return edit;
}

QLineEdit* COptionPage::AddDoubleEdit(int editId, int spinId, int low, int high, QRect dlu)
{
    QLineEdit* edit = AddNumericEdit(editId, spinId, low, high, dlu);
    auto* spin = Item<CSpinButtonCtrl>(spinId);
    m_numericEdits.append({edit, spin, nullptr, true});
    connect(edit, &QLineEdit::textChanged, this, [this, edit, spin] {
        SyncEditDoubleWithSpin(0, edit, spin);
        SetModified();
    });
    return edit;
}

void COptionPage::SetRadioValue(int first, int value)
{
    const int id = first + (value == 1 || value == 2 ? value : 0);
    if (auto* radio = Item<QRadioButton>(id)) {
        radio->setChecked(true);
    }
}

int COptionPage::GetRadioValue(int first) const
{
    for (int value : {1, 2}) {
        if (auto* radio = Item<QRadioButton>(first + value); radio != nullptr && radio->isChecked()) {
            return value;
        }
    }
    return 0;
}

void COptionPage::SetCheck(int id, int value)
{
    if (auto* check = Item<QAbstractButton>(id)) {
        check->setChecked(value != 0);
    }
}

int COptionPage::GetCheck(int id) const
{
    auto* check = Item<QAbstractButton>(id);
    return check != nullptr && check->isChecked() ? 1 : 0;
}

void COptionPage::SetEditInt(int id, int value)
{
    ::SetEditInt(Item<QLineEdit>(id), value);
}

int COptionPage::GetEditInt(int id) const
{
    return ::GetEditInt(Item<QLineEdit>(id));
}

void COptionPage::ValidateNumericEdits()
{
    for (const NumericEdit& numeric : m_numericEdits) {
        if (numeric.isDouble) {
            SyncEditDoubleWithSpin(1, numeric.edit, numeric.spin);
        } else {
            SyncEditIntWithSpin(1, numeric.edit, numeric.spin, numeric.slider);
        }
    }
}
