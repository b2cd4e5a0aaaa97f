#include "dialogs/OptionColorPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "dialogs/OptionPropertySheet.h"
#include "dialogs/PageKindEnabling.h"
#include "settings/AdjustOption.h"

namespace {

constexpr int IDC_ADJUSTTEXT = 1081;
constexpr int IDC_BRIGHTSLIDER = 1046;
constexpr int IDC_BRIGHTEDIT = 1031;
constexpr int IDC_BACKUNIFY = 1033;
constexpr int IDC_GRAYTEXT = 1030;
constexpr int IDC_ADJUSTPICT = 1082;
constexpr int IDC_GAMMASLIDER = 1047;
constexpr int IDC_GAMMAEDIT = 1032;
constexpr int IDC_GRAYPICT = 1045;

constexpr int kNeutralGamma = 100;

}  // namespace

COptionColorPage::COptionColorPage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 138, QStringLiteral("色"), {252, 143})
{
}

void COptionColorPage::AddValueRow(const QString& label, int top, int sliderId, int editId, int spinId, int low,
                                   int high, int resetId, int resetValue)
{
    auto* caption = AddLabel(0, label, {14, top + 3, 46, 8});
    QSlider* slider = AddSlider(sliderId, low, high, {60, top, 100, 14}, editId);
    caption->setBuddy(AddIntEdit(editId, spinId, low, high, {164, top + 1, 36, 12}, slider));
    connect(AddButton(resetId, QStringLiteral("リセット"), {204, top, 38, 14}), &QPushButton::clicked, this,
            [this, sliderId, editId, resetValue] {
                SetValue(sliderId, editId, resetValue);
                SetModified();
            });
}

void COptionColorPage::OnInitDialog()
{
    AddGroup(0, QString(), {7, 7, 238, 62});
    AddCheck(IDC_ADJUSTTEXT, QStringLiteral("文ページの色を調整(&T)"), {14, 4, 120, 10})->setAutoFillBackground(true);
    AddValueRow(QStringLiteral("明度調整(&V)"), 20, IDC_BRIGHTSLIDER, IDC_BRIGHTEDIT, 1038, -255, 255, 1077, 0);
    AddCheck(IDC_BACKUNIFY, QStringLiteral("背景色をそろえる(&U)"), {14, 40, 120, 10});
    AddCheck(IDC_GRAYTEXT, QStringLiteral("グレースケール化(&Y)"), {14, 54, 120, 10});
    AddGroup(1120, QString(), {7, 76, 238, 60});
    AddCheck(IDC_ADJUSTPICT, QStringLiteral("絵ページの色を調整(&P)"), {14, 73, 120, 10})->setAutoFillBackground(true);
    AddValueRow(QStringLiteral("ガンマ補正(&M)"), 89, IDC_GAMMASLIDER, IDC_GAMMAEDIT, 1039, 10, 400, 1078,
                kNeutralGamma);
    AddCheck(IDC_GRAYPICT, QStringLiteral("グレースケール化(&S)"), {14, 112, 120, 10});
}

void COptionColorPage::SetValue(int sliderId, int editId, int value)
{
    Item<QSlider>(sliderId)->setValue(value);
    SetEditInt(editId, value);
}

void COptionColorPage::LoadFromOptions()
{
    const CAdjustOption& option = Option();
    SetCheck(IDC_ADJUSTTEXT, option.AdjustTextColor);
    SetValue(IDC_BRIGHTSLIDER, IDC_BRIGHTEDIT, option.BrightText);
    SetCheck(IDC_GRAYTEXT, option.GrayText);
    SetCheck(IDC_BACKUNIFY, option.BackUnify);
    SetCheck(IDC_ADJUSTPICT, option.AdjustPictColor);
    SetValue(IDC_GAMMASLIDER, IDC_GAMMAEDIT, option.BrightPict);
    SetCheck(IDC_GRAYPICT, option.GrayPict);
}

void COptionColorPage::SaveToOptions()
{
    CAdjustOption& option = Option();
    option.AdjustTextColor = GetCheck(IDC_ADJUSTTEXT);
    option.BrightText = GetEditInt(IDC_BRIGHTEDIT);
    option.GrayText = GetCheck(IDC_GRAYTEXT);
    option.BackUnify = GetCheck(IDC_BACKUNIFY);
    option.AdjustPictColor = GetCheck(IDC_ADJUSTPICT);
    option.BrightPict = GetEditInt(IDC_GAMMAEDIT);
    option.GrayPict = GetCheck(IDC_GRAYPICT);
}

void COptionColorPage::OnSetActive()
{
    EnableByPageKind(*this, Option().TextPage != 0, Option().PictPage != 0);
}
