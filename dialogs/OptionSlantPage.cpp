#include "dialogs/OptionSlantPage.h"

#include <QLineEdit>

#include "dialogs/OptionPropertySheet.h"
#include "dialogs/PageKindEnabling.h"
#include "dialogs/ValueHelpers.h"
#include "settings/AdjustOption.h"

namespace {

// First radio and angle edit of each page kind.
constexpr int kFirstRadio[2] = {1072, 1115};
constexpr int kAngleEdit[2] = {1075, 1118};

}  // namespace

COptionSlantPage::COptionSlantPage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 168, QStringLiteral("傾き"), {228, 173})
{
}

void COptionSlantPage::AddKindGroup(int groupId, const QString& caption, int top, int firstRadio, int editId,
                                    const QStringList& radios)
{
    AddGroup(groupId, caption, {7, top, 214, 74});
    AddRadios(firstRadio, radios, {{14, top + 14, 200, 10}, {14, top + 28, 200, 10}, {14, top + 58, 200, 10}});
    AddDoubleEdit(editId, editId + 1, -360, 360, {26, top + 41, 44, 12});
    AddLabel(0, QStringLiteral("度（-360～360、小数点以下指定可）"), {74, top + 43, 144, 8});
    // The last radio comes after the angle in the tab order, as on the page.
    QWidget::setTabOrder(Item<QWidget>(editId), Item<QWidget>(firstRadio + 2));
}

void COptionSlantPage::OnInitDialog()
{
    AddKindGroup(0, QStringLiteral("文ページの傾き調整"), 7, kFirstRadio[0], kAngleEdit[0],
                 {QStringLiteral("調整しない(&N)"), QStringLiteral("角度を指定する（時計回り）(&S) "),
                  QStringLiteral("自動で調整する(&T)")});
    AddKindGroup(1120, QStringLiteral("絵ページの傾き調整"), 90, kFirstRadio[1], kAngleEdit[1],
                 {QStringLiteral("調整しない(&E)"), QStringLiteral("角度を指定する（時計回り）(&L) "),
                  QStringLiteral("自動で調整する(&U)")});
}

void COptionSlantPage::LoadFromOptions()
{
    for (int k = 0; k < 2; ++k) {
        SetRadioValue(kFirstRadio[k], Option().Slant[k]);
        SetEditDouble(Item<QLineEdit>(kAngleEdit[k]), Option().RotateAngle[k]);
    }
}

void COptionSlantPage::SaveToOptions()
{
    for (int k = 0; k < 2; ++k) {
        Option().Slant[k] = GetRadioValue(kFirstRadio[k]);
        Option().RotateAngle[k] = GetEditDouble(Item<QLineEdit>(kAngleEdit[k]));
    }
}

void COptionSlantPage::OnSetActive()
{
    EnableByPageKind(*this, Option().TextPage != 0, Option().PictPage != 0);
}
