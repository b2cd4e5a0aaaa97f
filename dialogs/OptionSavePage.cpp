#include "dialogs/OptionSavePage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "dialogs/OptionPropertySheet.h"
#include "dialogs/SavePageRules.h"
#include "dialogs/SpinButtonCtrl.h"
#include "dialogs/ValueHelpers.h"
#include "settings/AdjustOption.h"

namespace {

constexpr int IDC_TYPE = 1006;
constexpr int IDC_DEPTH = 1007;
constexpr int IDC_PALETTE = 1008;
constexpr int IDC_DEPTHLABEL = 1009;
constexpr int IDC_PALETTELABEL = 1010;
constexpr int IDC_QUALITYLABEL = 1011;
constexpr int IDC_QUALITYSLIDER = 1012;
constexpr int IDC_QUALITY = 1013;
constexpr int IDC_QUALITYSPIN = 1014;
constexpr int IDC_SUBDIR = 1015;
constexpr int IDC_ANYDIR = 1016;
constexpr int IDC_SUBDIREDIT = 1017;
constexpr int IDC_ANYDIREDIT = 1018;
constexpr int IDC_BROWSE = 1028;
constexpr int IDC_OWPROMPT = 1130;

constexpr int kTypeJpeg = 1;
constexpr int kDepth24 = 4;

}  // namespace

COptionSavePage::COptionSavePage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 139, QStringLiteral("保存"), {246, 191})
{
}

void COptionSavePage::AddCombo(int id, QRect dlu, const QStringList& texts, const QList<int>& data)
{
    QComboBox* combo = COptionPage::AddCombo(id, dlu);
    for (int i = 0; i < texts.size(); ++i) {
        combo->addItem(texts[i], data[i]);
    }
}

void COptionSavePage::OnInitDialog()
{
    AddCombo(IDC_TYPE, {74, 7, 110, 60},
             {QStringLiteral("元ファイルと同じ"), QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("BMP")},
             {0, 1, 2, 3});
    AddLabel(IDC_DEPTHLABEL, QStringLiteral("色深度(&D)"), {7, 27, 64, 8});
    AddCombo(IDC_DEPTH, {74, 25, 110, 60},
             {QStringLiteral(" 1 bpp (モノクロ)"), QStringLiteral(" 4 bpp (16色)"), QStringLiteral(" 8 bpp (256色)"),
              QStringLiteral("24 bpp (1677万色)")},
             {1, 2, 3, 4});
    AddLabel(IDC_PALETTELABEL, QStringLiteral("カラーパレット(&P)"), {7, 45, 64, 8});
    AddCombo(
        IDC_PALETTE, {74, 43, 110, 60},
        {QStringLiteral("標準　（早い）"), QStringLiteral("最適化（遅い）"), QStringLiteral("最適化（とても遅い）")},
        {1, 2, 3});
    Item<QLabel>(IDC_DEPTHLABEL)->setBuddy(Item<QWidget>(IDC_DEPTH));
    Item<QLabel>(IDC_PALETTELABEL)->setBuddy(Item<QWidget>(IDC_PALETTE));
    AddLabel(IDC_QUALITYLABEL, QStringLiteral("JPEG品質(&Q)"), {7, 63, 64, 8});
    QSlider* slider = AddSlider(IDC_QUALITYSLIDER, 0, 100, {70, 60, 118, 14}, IDC_QUALITY);
    Item<QLabel>(IDC_QUALITYLABEL)
        ->setBuddy(AddIntEdit(IDC_QUALITY, IDC_QUALITYSPIN, 0, 100, {192, 61, 36, 12}, slider));

    AddGroup(0, QStringLiteral("保存先フォルダ"), {7, 82, 232, 84});
    AddRadios(IDC_SUBDIR, {QStringLiteral("元ファイルのサブフォルダ(&S)"), QStringLiteral("任意のフォルダ(&N)")},
              {{14, 95, 200, 10}, {14, 128, 200, 10}});
    auto* subDir = Place(new QLineEdit(this), IDC_SUBDIREDIT, {26, 108, 206, 12});
    auto* anyDir = Place(new QLineEdit(this), IDC_ANYDIREDIT, {26, 141, 184, 12});
    QWidget::setTabOrder(Item<QWidget>(IDC_SUBDIR), subDir);
    QWidget::setTabOrder(subDir, Item<QWidget>(IDC_ANYDIR));
    QWidget::setTabOrder(Item<QWidget>(IDC_ANYDIR), anyDir);
    for (QLineEdit* edit : {subDir, anyDir}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { SetModified(); });
    }
    connect(AddButton(IDC_BROWSE, QStringLiteral("..."), {214, 140, 18, 14}), &QPushButton::clicked, this,
            &COptionSavePage::OnBrowseFolder);
    AddCheck(IDC_OWPROMPT, QStringLiteral("上書き確認する(&W)"), {7, 173, 150, 10});
    for (int id : {IDC_TYPE, IDC_DEPTH}) {
        connect(Item<QComboBox>(id), &QComboBox::activated, this, &COptionSavePage::UpdateControlStates);
    }
}

int COptionSavePage::GetSelectedData(int id, int fallback) const
{
    const auto* combo = Item<QComboBox>(id);
    return combo != nullptr && combo->currentIndex() >= 0 ? combo->currentData().toInt() : fallback;
}

void COptionSavePage::SelectData(int id, int data)
{
    auto* combo = Item<QComboBox>(id);
    combo->setCurrentIndex(std::max(0, FindComboItemByData(combo, data)));
}

void COptionSavePage::LoadFromOptions()
{
    const CAdjustOption& option = Option();
    SelectData(IDC_TYPE, option.SaveFormat);
    SelectData(IDC_DEPTH, option.SaveDepth);
    SelectData(IDC_PALETTE, option.SavePalette);
    Item<QSlider>(IDC_QUALITYSLIDER)->setValue(option.SaveQuality);
    SetEditInt(IDC_QUALITY, option.SaveQuality);
    Item<QAbstractButton>(option.SaveDirType == 1 ? IDC_SUBDIR : IDC_ANYDIR)->setChecked(true);
    Item<QLineEdit>(IDC_SUBDIREDIT)->setText(option.SaveSubDir);
    Item<QLineEdit>(IDC_ANYDIREDIT)->setText(option.SaveAnyDir);
    SetCheck(IDC_OWPROMPT, option.OwPrompt);
    UpdateControlStates();
}

void COptionSavePage::SaveToOptions()
{
    CAdjustOption& option = Option();
    option.SaveFormat = GetSelectedData(IDC_TYPE, 2);
    option.SaveDepth = GetSelectedData(IDC_DEPTH, 4);
    option.SavePalette = GetSelectedData(IDC_PALETTE, 1);
    option.SaveQuality = GetEditInt(IDC_QUALITY);
    option.SaveDirType = GetCheck(IDC_SUBDIR) != 0 ? 1 : 2;
    option.SaveSubDir = Item<QLineEdit>(IDC_SUBDIREDIT)->text().trimmed();
    option.SaveAnyDir = Item<QLineEdit>(IDC_ANYDIREDIT)->text().trimmed();
    option.OwPrompt = GetCheck(IDC_OWPROMPT);
}

void COptionSavePage::UpdateControlStates()
{
    const int type = GetSelectedData(IDC_TYPE, 3);
    if (type == kTypeJpeg) {
        if (const int index = FindComboItemByData(Item<QComboBox>(IDC_DEPTH), kDepth24); index >= 0) {
            Item<QComboBox>(IDC_DEPTH)->setCurrentIndex(index);
        }
    }
    const CSaveControlStates states = GetSaveControlStates(type, GetSelectedData(IDC_DEPTH, 0));
    for (int id : {IDC_DEPTHLABEL, IDC_DEPTH}) {
        Item<QWidget>(id)->setEnabled(states.depth);
    }
    for (int id : {IDC_PALETTELABEL, IDC_PALETTE}) {
        Item<QWidget>(id)->setEnabled(states.palette);
    }
    for (int id : {IDC_QUALITYLABEL, IDC_QUALITYSLIDER, IDC_QUALITY, IDC_QUALITYSPIN}) {
        Item<QWidget>(id)->setEnabled(states.quality);
    }
}

bool COptionSavePage::OnKillActive()
{
    ValidateNumericEdits();
    const int dirType = GetCheck(IDC_SUBDIR) != 0 ? 1 : 2;
    const QString message =
        CheckSaveFolder(dirType, Item<QLineEdit>(IDC_SUBDIREDIT)->text(), Item<QLineEdit>(IDC_ANYDIREDIT)->text());
    if (message.isEmpty()) {
        return true;
    }
    ShowMessage(message);
    GotoEdit(Item<QLineEdit>(dirType == 1 ? IDC_SUBDIREDIT : IDC_ANYDIREDIT));
    return false;
}

void COptionSavePage::OnBrowseFolder()
{
    const QString folder = Sheet().AskFolder(Item<QLineEdit>(IDC_ANYDIREDIT)->text());
    if (!folder.isEmpty()) {
        Item<QLineEdit>(IDC_ANYDIREDIT)->setText(folder);
        SetModified();
    }
}
