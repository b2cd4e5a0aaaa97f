#include "dialogs/OptionGeneralPage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/ColorButton.h"
#include "dialogs/OptionFileMode.h"
#include "dialogs/OptionPropertySheet.h"
#include "settings/AdjustOption.h"
#include "settings/OptionFile.h"

namespace {

constexpr int IDC_TEXTPAGE = 1019;
constexpr int IDC_PICTPAGE = 1021;
constexpr int IDC_WRITINGDIR = 1131;
constexpr int IDC_LINEPERPAGE = 1025;
constexpr int IDC_BACKBORDER = 1034;
constexpr int IDC_BACKCOLOR = 1126;

}  // namespace

COptionGeneralPage::COptionGeneralPage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 136, QStringLiteral("全般"), {216, 185})
{
}

void COptionGeneralPage::OnInitDialog()
{
    AddGroup(0, QStringLiteral("ページの種類"), {7, 7, 202, 92});
    AddCheck(IDC_TEXTPAGE, QStringLiteral("文ページあり(&T)"), {14, 20, 120, 10});
    auto* direction = AddLabel(0, QStringLiteral("行の方向(&D)"), {26, 37, 72, 8});
    auto* combo = AddCombo(IDC_WRITINGDIR, {100, 34, 70, 60});
    combo->addItems({QStringLiteral("指定なし"), QStringLiteral("縦書き"), QStringLiteral("横書き")});
    direction->setBuddy(combo);
    auto* lines = AddLabel(0, QStringLiteral("1ページ行数(&N)"), {26, 55, 72, 8});
    lines->setBuddy(AddIntEdit(IDC_LINEPERPAGE, 1026, 0, 999, {100, 53, 40, 12}));
    AddLabel(0, QStringLiteral("（0：指定なし）"), {144, 55, 62, 8});
    AddCheck(IDC_PICTPAGE, QStringLiteral("絵ページあり(&P)"), {14, 78, 120, 10});
    auto* border = AddLabel(0, QStringLiteral("背景色とみなす境界(&K)"), {7, 110, 91, 8});
    border->setBuddy(AddIntEdit(IDC_BACKBORDER, 1040, 0, 255, {100, 108, 40, 12}));
    auto* colour = AddLabel(0, QStringLiteral("新しい背景色(&B)"), {7, 128, 91, 8});
    auto* button = new CColorButton(this);
    button->setObjectName(QString::number(IDC_BACKCOLOR));
    m_layout.Place(*button, 100, 125, 50, 14);
    colour->setBuddy(button);
    connect(button, &CColorButton::colorChosen, this, [this] { SetModified(); });
    AddLabel(0, QStringLiteral("調整オプションの"), {7, 162, 72, 8});
    connect(AddButton(1124, QStringLiteral("保存(&S)..."), {80, 159, 60, 14}), &QPushButton::clicked, this,
            &COptionGeneralPage::OnSaveOptionFile);
    connect(AddButton(1125, QStringLiteral("読込(&L)..."), {146, 159, 60, 14}), &QPushButton::clicked, this,
            &COptionGeneralPage::OnLoadOptionFile);
}

void COptionGeneralPage::LoadFromOptions()
{
    const CAdjustOption& option = Option();
    SetCheck(IDC_TEXTPAGE, option.TextPage);
    SetCheck(IDC_PICTPAGE, option.PictPage);
    Item<QComboBox>(IDC_WRITINGDIR)->setCurrentIndex(option.WritingDir);
    SetEditInt(IDC_LINEPERPAGE, option.LinePerPage);
    SetEditInt(IDC_BACKBORDER, option.BackBorder);
    Item<CColorButton>(IDC_BACKCOLOR)->SetColor(option.BackColor);
}

void COptionGeneralPage::SaveToOptions()
{
    CAdjustOption& option = Option();
    option.TextPage = GetCheck(IDC_TEXTPAGE);
    option.PictPage = GetCheck(IDC_PICTPAGE);
    option.WritingDir = Item<QComboBox>(IDC_WRITINGDIR)->currentIndex();
    option.LinePerPage = GetEditInt(IDC_LINEPERPAGE);
    option.BackBorder = GetEditInt(IDC_BACKBORDER);
    option.BackColor = Item<CColorButton>(IDC_BACKCOLOR)->GetColor();
}

bool COptionGeneralPage::Validate()
{
    if (GetCheck(IDC_TEXTPAGE) == 0 && GetCheck(IDC_PICTPAGE) == 0) {
        ShowMessage(QStringLiteral("文ページか絵ページか指定してください。"));
        return false;
    }
    // The slant, margin and colour pages enable their groups by these.
    Option().TextPage = GetCheck(IDC_TEXTPAGE);
    Option().PictPage = GetCheck(IDC_PICTPAGE);
    ValidateNumericEdits();
    return true;
}

void COptionGeneralPage::OnSaveOptionFile()
{
    const QString path = Sheet().AskSaveOptionFile();
    if (path.isEmpty() || !Validate()) {
        return;
    }
    Sheet().SaveAllPages();
    IOptionFileMode& mode = Sheet().FileMode();
    QString error;
    mode.SetOptionFileMode(1);
    mode.GetOptionDocument().clear();
    Option().Save();
    mode.SetOptionFileMode(0);
    if (!SaveOptionFile(mode.GetOptionDocument(), path, error)) {
        ShowMessage(error);
    }
}

void COptionGeneralPage::OnLoadOptionFile()
{
    const QString path = Sheet().AskLoadOptionFile();
    if (path.isEmpty()) {
        return;
    }
    IOptionFileMode& mode = Sheet().FileMode();
    CSectionArray& doc = mode.GetOptionDocument();
    QString error;
    if (!LoadOptionFile(doc, path, error)) {
        doc.clear();
        ShowMessage(error);
        return;
    }
    mode.SetOptionFileMode(1);
    Option().Load();
    mode.SetOptionFileMode(0);
    doc.clear();
    Sheet().LoadAllPages();
    SetModified();
}
