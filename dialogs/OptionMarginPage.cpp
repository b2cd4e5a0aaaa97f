#include "dialogs/OptionMarginPage.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "dialogs/OptionPropertySheet.h"
#include "settings/AdjustOption.h"

namespace {

constexpr int IDC_TAB = 1114;
constexpr int IDC_NOCUT = 1053;  // the first of the three mode radios, 1053-1055
constexpr int IDC_SPOT = 1132;
constexpr int IDC_IGNORESHADOW = 1138;
constexpr int IDC_SHADOWCLEAR = 1140;
constexpr int IDC_COPYFROMTEXT = 1128;
constexpr int IDC_RESET = 1127;
constexpr int IDC_COPYFROMPICT = 1129;

// First edit of each rectangle (left, top, right, bottom follow); its up-downs
// come four ids later.
constexpr int kFirstEdit[MGN_RECTS] = {1056, 1090, 1098, 1106, 1064};
constexpr int kSpinOffset = 4;
const char16_t* const kSideNames[SIDE_COUNT] = {u"左", u"上", u"右", u"下"};

}  // namespace

COptionMarginPage::COptionMarginPage(COptionPropertySheet& sheet)
    : COptionPage(sheet, 167, QStringLiteral("余白"), {252, 287})
{
}

int COptionMarginPage::EditId(MarginRect rect, MarginSide side)
{
    return kFirstEdit[rect] + side;
}

void COptionMarginPage::AddRectRow(MarginRect rect, const QString& caption, int top)
{
    AddLabel(0, caption, {16, top, 220, 8});
    const int high = rect == MGN_ADD ? 100 : 99;
    for (int side = SIDE_LEFT; side < SIDE_COUNT; ++side) {
        const int x = 22 + side * 54;
        const int id = EditId(rect, MarginSide(side));
        AddLabel(0, QString::fromUtf16(kSideNames[side]), {x, top + 13, 12, 8})
            ->setBuddy(AddIntEdit(id, id + kSpinOffset, 0, high, {x + 13, top + 11, 34, 12}));
    }
}

void COptionMarginPage::OnInitDialog()
{
    auto* pane = new QFrame(this);
    pane->setFrameShape(QFrame::StyledPanel);
    m_tab = new QTabBar(this);
    m_tab->setObjectName(QString::number(IDC_TAB));
    m_tab->addTab(QStringLiteral("文ページの余白カット"));
    m_tab->addTab(QStringLiteral("絵ページの余白カット"));
    m_tab->setExpanding(false);
    m_tab->setDrawBase(false);
    m_layout.Place(*m_tab, 7, 7, 238, 14);
    m_tab->resize(m_tab->width(), std::max(m_tab->sizeHint().height(), m_layout.Y(14)));
    pane->setGeometry(QRect(m_layout.X(7), m_tab->geometry().bottom(), m_layout.X(238),
                            m_layout.Y(280) - m_tab->geometry().bottom()));
    connect(m_tab, &QTabBar::currentChanged, this, &COptionMarginPage::OnTabChanged);

    AddRadios(IDC_NOCUT,
              {QStringLiteral("カットしない(&N)"), QStringLiteral("指定値でカットする(&C)"),
               QStringLiteral("自動判定してカットする(&U)")},
              {{16, 28, 220, 10}, {16, 40, 220, 10}, {16, 52, 220, 10}});
    AddRectRow(MGN_CUT, QStringLiteral("カットする幅（%指定）"), 68);
    AddRectRow(MGN_MIN, QStringLiteral("判定開始位置（カット最小値）（%指定）"), 98);
    AddRectRow(MGN_MAX, QStringLiteral("判定終了位置（カット最大値）（%指定）"), 128);
    AddRectRow(MGN_DEF, QStringLiteral("見つからない場合のカット値（%指定）"), 158);
    AddRectRow(MGN_ADD, QStringLiteral("カット後、余白を追加（%指定）"), 188);
    auto* spot = AddLabel(0, QStringLiteral("無視するシミの大きさ"), {16, 222, 80, 8});
    spot->setBuddy(AddIntEdit(IDC_SPOT, 1133, 0, 999, {98, 220, 36, 12}));
    AddLabel(0, QStringLiteral("ドット以下"), {138, 222, 60, 8});
    AddCheck(IDC_IGNORESHADOW, QStringLiteral("周囲から続く影を無視する"), {16, 238, 220, 10});
    AddCheck(IDC_SHADOWCLEAR, QStringLiteral("影を背景色でクリアする"), {16, 251, 220, 10});

    const auto copyFrom = [this](int k) {
        SetControls(GetMarginValues(Option(), k));
        SetModified();
    };
    connect(AddButton(IDC_COPYFROMTEXT, QStringLiteral("文ページからコピー"), {16, 264, 90, 13}), &QPushButton::clicked,
            this, [copyFrom] { copyFrom(0); });
    connect(AddButton(IDC_RESET, QStringLiteral("リセット"), {190, 264, 48, 13}), &QPushButton::clicked, this, [this] {
        SetControls(GetResetMarginValues());
        SetModified();
    });
    connect(AddButton(IDC_COPYFROMPICT, QStringLiteral("絵ページからコピー"), {16, 264, 90, 13}), &QPushButton::clicked,
            this, [copyFrom] { copyFrom(1); });
}

void COptionMarginPage::SetControls(const CMarginValues& values)
{
    SetRadioValue(IDC_NOCUT, values.mode);
    for (int r = 0; r < MGN_RECTS; ++r) {
        for (int side = SIDE_LEFT; side < SIDE_COUNT; ++side) {
            SetEditInt(EditId(MarginRect(r), MarginSide(side)), GetSide(values.rects[r], side));
        }
    }
    SetEditInt(IDC_SPOT, values.spot);
    SetCheck(IDC_IGNORESHADOW, values.ignoreShadow);
    SetCheck(IDC_SHADOWCLEAR, values.shadowClear);
}

CMarginValues COptionMarginPage::GetControls() const
{
    CMarginValues values;
    values.mode = GetRadioValue(IDC_NOCUT);
    for (int r = 0; r < MGN_RECTS; ++r) {
        for (int side = SIDE_LEFT; side < SIDE_COUNT; ++side) {
            SetSide(values.rects[r], side, GetEditInt(EditId(MarginRect(r), MarginSide(side))));
        }
    }
    values.spot = GetEditInt(IDC_SPOT);
    values.ignoreShadow = GetCheck(IDC_IGNORESHADOW);
    values.shadowClear = GetCheck(IDC_SHADOWCLEAR);
    return values;
}

void COptionMarginPage::LoadFromOptions()
{
    SetControls(GetMarginValues(Option(), m_nKind));
}

void COptionMarginPage::SaveToOptions()
{
    SetMarginValues(Option(), m_nKind, GetControls());
}

bool COptionMarginPage::Validate()
{
    ValidateNumericEdits();
    // A kind switched off has its controls disabled: the user could not correct it.
    const CMarginFault fault = IsKindEnabled() ? ValidateMargins(GetControls()) : CMarginFault();
    if (fault.message.isEmpty()) {
        return true;
    }
    ShowMessage(fault.message);
    GotoEdit(Item<QLineEdit>(EditId(fault.rect, fault.side)));
    return false;
}

bool COptionMarginPage::IsKindEnabled() const
{
    return (m_nKind == 0 ? Option().TextPage : Option().PictPage) != 0;
}

void COptionMarginPage::ShowTabControls()
{
    const bool enable = IsKindEnabled();
    bool afterTab = false;
    for (QObject* child : children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control != nullptr && afterTab) {
            control->setEnabled(enable);
        }
        afterTab = afterTab || control == m_tab;
    }
    // Each copy button offers the other kind's values.
    Item<QWidget>(IDC_COPYFROMTEXT)->setVisible(m_nKind == 1);
    Item<QWidget>(IDC_COPYFROMPICT)->setVisible(m_nKind == 0);
}

void COptionMarginPage::OnTabChanged(int index)
{
    if (m_bVetoing || index == m_nKind) {
        return;
    }
    if (!Validate()) {
        m_bVetoing = true;
        m_tab->setCurrentIndex(m_nKind);
        m_bVetoing = false;
        return;
    }
    SaveToOptions();
    m_nKind = index;
    LoadFromOptions();
    ShowTabControls();
}
