#include "dialogs/OptionSizePage.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/OptionPropertySheet.h"
#include "dialogs/SizeCaption.h"
#include "settings/AdjustOption.h"

namespace {

constexpr int IDC_RESIZE = 1121;
constexpr int IDC_SOURCESIZE = 1122;
constexpr int IDC_FIXEDSIZE = 1123;
constexpr int IDC_WIDTH = 1049;
constexpr int IDC_HEIGHT = 1050;
constexpr int IDC_KEEPRATE = 1080;
constexpr int IDC_ONLYSMALL = 1079;

}  // namespace

COptionSizePage::COptionSizePage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 137, QStringLiteral("サイズ"), {222, 149})
{
}

void COptionSizePage::OnInitDialog()
{
    AddGroup(0, QStringLiteral("サイズ変更"), {7, 7, 208, 135});
    AddRadios(IDC_RESIZE,
              {QStringLiteral("拡大縮小しない"), QStringLiteral("元のサイズ"), QStringLiteral("指定サイズ")},
              {{14, 20, 196, 10}, {14, 34, 196, 10}, {14, 48, 196, 10}});
    AddLabel(0, QStringLiteral("幅(&W)"), {26, 66, 32, 8})
        ->setBuddy(AddIntEdit(IDC_WIDTH, 1051, 1, 9999, {60, 64, 44, 12}));
    AddLabel(0, QStringLiteral("高さ(&H)"), {26, 84, 32, 8})
        ->setBuddy(AddIntEdit(IDC_HEIGHT, 1052, 1, 9999, {60, 82, 44, 12}));
    for (int id : {IDC_KEEPRATE, IDC_ONLYSMALL}) {
        const bool keep = id == IDC_KEEPRATE;
        connect(AddCheck(id, keep ? QStringLiteral("縦横比を保持する(&K)") : QStringLiteral("縮小のみ(&M)"),
                         {14, keep ? 104 : 118, 160, 10}),
                &QAbstractButton::clicked, this, &COptionSizePage::UpdateSizeCaptions);
    }
    m_strSourceSize = Item<QAbstractButton>(IDC_SOURCESIZE)->text();
    m_strFixedSize = Item<QAbstractButton>(IDC_FIXEDSIZE)->text();
}

void COptionSizePage::LoadFromOptions()
{
    const CAdjustOption& option = Option();
    SetRadioValue(IDC_RESIZE, option.Resize);
    SetEditInt(IDC_WIDTH, option.FixSize.cx);
    SetEditInt(IDC_HEIGHT, option.FixSize.cy);
    SetCheck(IDC_KEEPRATE, option.KeepRate);
    SetCheck(IDC_ONLYSMALL, option.OnlySmall);
    UpdateSizeCaptions();
}

void COptionSizePage::SaveToOptions()
{
    CAdjustOption& option = Option();
    option.Resize = GetRadioValue(IDC_RESIZE);
    option.FixSize = {GetEditInt(IDC_WIDTH), GetEditInt(IDC_HEIGHT)};
    option.KeepRate = GetCheck(IDC_KEEPRATE);
    option.OnlySmall = GetCheck(IDC_ONLYSMALL);
}

void COptionSizePage::UpdateSizeCaptions()
{
    const bool keep = GetCheck(IDC_KEEPRATE) != 0;
    const bool small = GetCheck(IDC_ONLYSMALL) != 0;
    Item<QAbstractButton>(IDC_SOURCESIZE)->setText(MakeSizeCaption(m_strSourceSize, keep, small));
    Item<QAbstractButton>(IDC_FIXEDSIZE)->setText(MakeSizeCaption(m_strFixedSize, keep, small));
}
