#include "msgbox/ExtMsgBoxTemplate.h"
#include "msgbox/MsgBoxSlots.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include <vector>

namespace {

struct PlacedButton {
    int id;
    QString caption;
    RECT rect;  // pixels, as the dialog places it
    bool isDefault;
};

std::vector<PlacedButton> PushButtons(const CExtMsgBoxTemplate& box)
{
    std::vector<PlacedButton> buttons;
    for (const auto& item : box.Items()) {
        if (!item->IsPushButton())
            continue;
        const DLGITEMTEMPLATE& t = item->m_dlgItemTemplate;
        buttons.push_back({t.id, item->m_strCaption, box.DialogUnitsToPixels(t.x, t.y, t.cx, t.cy),
                           (t.style & EMB_BS_DEFPUSHBUTTON) != 0});
    }
    return buttons;
}

std::vector<int> Ids(const std::vector<PlacedButton>& buttons)
{
    std::vector<int> ids;
    for (const PlacedButton& button : buttons)
        ids.push_back(button.id);
    return ids;
}

int ClientWidth(const CExtMsgBoxTemplate& box)
{
    return box.DialogUnitsToPixels(0, 0, box.Header().cx, box.Header().cy).right;
}

}  // namespace

TEST(ExtMsgBoxTemplate, WidestMessageFollowsScreenLookAndIcon)
{
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 32, false, false, false), 1040);
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 32, true, false, false), 950);
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 32, false, true, false), 640);
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 32, true, true, false), 640);
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 32, false, true, true), 640 - 16 - 32);
    EXPECT_EQ(CExtMsgBoxTemplate::GetWidestMessage(1920, 48, false, false, true), 1040 - 16 - 48);
}

TEST(ExtMsgBoxTemplate, ButtonSetsByType)
{
    const std::vector<std::pair<std::uint32_t, std::vector<int>>> sets{
        {0, {IDOK}},
        {1, {IDOK, IDCANCEL}},
        {2, {IDABORT, IDRETRY, IDIGNORE}},
        {3, {IDYES, IDNO, IDCANCEL}},
        {4, {IDYES, IDNO}},
        {5, {IDRETRY, IDCANCEL}},
        {6, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},
        {7, {IDCONTINUE, IDABORT}},
        {8, {IDSKIP, IDSKIPALL, IDCANCEL}},
        {9, {IDIGNORE, IDIGNOREALL, IDCANCEL}},
        {12, {IDOK}},
        {0x18000004, {IDYES, IDYESTOALL, IDNO, IDNOTOALL}},
        {0x10000003, {IDYES, IDNO, IDNOTOALL, IDCANCEL}},
        {0x4001, {IDOK, IDCANCEL, IDHELP}},
    };
    for (const auto& [style, ids] : sets) {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", style, EXTMSGBOXPARAMS());
        EXPECT_EQ(Ids(PushButtons(box)), ids) << std::hex << style;
    }
    EXTMSGBOXPARAMS report;
    report.lpReportFunc = [](const QString&, std::uintptr_t) {};
    const CExtMsgBoxTemplate box(nullptr, "M", "T", 0x4000, report);
    EXPECT_EQ(Ids(PushButtons(box)), (std::vector<int>{IDOK, IDHELP, IDREPORT}));
}

TEST(ExtMsgBoxTemplate, EscapeFlagsFollowCancelAndTypeZero)
{
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 0, EXTMSGBOXPARAMS()).Flags(), EMB_FLAG_OK);
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 6, EXTMSGBOXPARAMS()).Flags(), EMB_FLAG_CANCEL);
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 4, EXTMSGBOXPARAMS()).Flags(), 0u);
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 11, EXTMSGBOXPARAMS()).Flags(), 0u);
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 0x06000001, EXTMSGBOXPARAMS()).Flags(),
              EMB_FLAG_DONOTTELLAGAIN | EMB_FLAG_CANCEL);
}

TEST(ExtMsgBoxTemplate, YesToAllOnlyForYesNoTypesAndRowStaysCentred)
{
    for (const std::uint32_t type : {1u, 2u, 5u, 6u, 7u, 9u}) {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", type | MB_YESTOALL | MB_NOTOALL, EXTMSGBOXPARAMS());
        const std::vector<PlacedButton> buttons = PushButtons(box);
        for (const PlacedButton& button : buttons)
            EXPECT_NE(button.id, IDYESTOALL);
        const int left = buttons.front().rect.left;
        const int right = ClientWidth(box) - buttons.back().rect.right;
        // Dialog units round each edge, so the margins may differ by a few pixels.
        EXPECT_NEAR(left, right, box.BaseUnits().x) << type;
    }
}

TEST(ExtMsgBoxTemplate, ButtonsAdvanceByWidthAndGapAndAlignRight)
{
    EXTMSGBOXPARAMS params;
    params.dwOptions = EMB_OPT_WIN6_LOOK;
    const CExtMsgBoxTemplate box(nullptr, "M", "T", 0x18000023, params);
    const std::vector<PlacedButton> buttons = PushButtons(box);
    ASSERT_EQ(buttons.size(), 5u);
    const int slack = box.BaseUnits().x;  // rounding through dialog units
    for (std::size_t i = 1; i < buttons.size(); ++i) {
        EXPECT_NEAR(buttons[i].rect.left - buttons[i - 1].rect.right, 6, slack);
        EXPECT_EQ(buttons[i].rect.top, buttons[0].rect.top);
    }
    EXPECT_NEAR(ClientWidth(box) - buttons.back().rect.right, 16, slack);
    for (const PlacedButton& button : buttons)
        EXPECT_GE(button.rect.right - button.rect.left + slack, box.ButtonWidth());
    EXPECT_TRUE(buttons[0].isDefault);
}

TEST(ExtMsgBoxTemplate, DefaultButtonByNumberElseFirst)
{
    const auto defaultId = [](std::uint32_t style) {
        return CExtMsgBoxTemplate(nullptr, "M", "T", style, EXTMSGBOXPARAMS()).DefaultButtonId();
    };
    EXPECT_EQ(defaultId(0x104), IDNO);
    EXPECT_EQ(defaultId(0x203), IDCANCEL);
    EXPECT_EQ(defaultId(0x18000323), IDNOTOALL);
    EXPECT_EQ(defaultId(0x18000523), IDYES);  // sixth of five
    EXPECT_EQ(defaultId(0x204), IDYES);       // third of two
    EXPECT_EQ(defaultId(0x604), IDYES);       // no such number
    const CExtMsgBoxTemplate box(nullptr, "M", "T", 0x104, EXTMSGBOXPARAMS());
    int defaults = 0;
    for (const PlacedButton& button : PushButtons(box))
        defaults += button.isDefault ? 1 : 0;
    EXPECT_EQ(defaults, 1);
}

TEST(ExtMsgBoxTemplate, CustomButtonsSkipEmptyCaptionsAndStopAtFour)
{
    const CStringTable strings{{77, u"Alpha\nBeta"}};
    EXTMSGBOXPARAMS params;
    params.szCustomButtons = "\n\nOne\n\nTwo\nThree\nFour\nFive\n";
    const std::vector<PlacedButton> fromText = PushButtons(CExtMsgBoxTemplate(nullptr, "M", "T", 3, params));
    ASSERT_EQ(fromText.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fromText[static_cast<std::size_t>(i)].id, IDCUSTOM1 + i);
    EXPECT_EQ(fromText[3].caption, QStringLiteral("Four"));

    params.hInstanceStrings = &strings;
    params.nIdCustomButtons = 77;
    const std::vector<PlacedButton> fromId = PushButtons(CExtMsgBoxTemplate(nullptr, "M", "T", 0x4003, params));
    ASSERT_EQ(fromId.size(), 3u);
    EXPECT_EQ(fromId[0].caption, QStringLiteral("Alpha"));
    EXPECT_EQ(fromId[1].id, IDCUSTOM1 + 1);
    EXPECT_EQ(fromId[2].id, IDHELP);
}

TEST(ExtMsgBoxTemplate, CaptionSlotsFromStringsUserCaptionsAndReport)
{
    const CStringTable strings{{IDS_MSGBOX_YES, u"Ja"}, {IDS_MSGBOX_REPORT, u"Melden"}, {500, u"Bericht"}};
    EXTMSGBOXPARAMS params;
    params.hInstanceStrings = &strings;
    {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", 4, params);
        EXPECT_EQ(box.ButtonCaption(SlotYes), QStringLiteral("Ja"));
        EXPECT_EQ(box.ButtonCaption(SlotNo), QStringLiteral("いいえ"));
        EXPECT_EQ(box.ButtonCaption(SlotReport), QStringLiteral("Re&port"));  // string 9016 is never used
    }
    {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", 4 | MB_NORESOURCE, params);
        EXPECT_EQ(box.ButtonCaption(SlotYes), QStringLiteral("はい"));
    }
    params.bUseUserDefinedButtonCaptions = 1;
    params.UserDefinedButtonCaptions[SlotNo] = QString(120, QLatin1Char('n'));
    params.UserDefinedButtonCaptions[SlotReport] = "ignored";
    params.nIdReportButtonCaption = 500;
    {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", 4, params);
        EXPECT_EQ(box.ButtonCaption(SlotYes), QStringLiteral("はい"));  // user captions replace loading
        EXPECT_EQ(box.ButtonCaption(SlotNo), QString(99, QLatin1Char('n')));
        EXPECT_EQ(box.ButtonCaption(SlotReport), QStringLiteral("Bericht"));
    }
    params.nIdReportButtonCaption = 0;
    params.szReportButtonCaption = "Report it";
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 4, params).ButtonCaption(SlotReport), QStringLiteral("Report it"));
}

TEST(ExtMsgBoxTemplate, SlotWidthsGrowForCountdown)
{
    EXTMSGBOXPARAMS params;
    const CExtMsgBoxTemplate plain(nullptr, "M", "T", 0, params);
    params.nTimeoutSeconds = -1;  // widens, but counts nothing down
    const CExtMsgBoxTemplate widened(nullptr, "M", "T", 0, params);
    const int extra = MulDiv(13, plain.BaseUnits().x, 4);
    const auto width = [](const CExtMsgBoxTemplate& box) {
        const DLGITEMTEMPLATE& t = box.FindItem(IDOK)->m_dlgItemTemplate;
        return box.DialogUnitsToPixels(t.x, t.y, t.cx, t.cy).right - box.DialogUnitsToPixels(t.x, t.y, t.cx, t.cy).left;
    };
    EXPECT_NEAR(width(widened) - width(plain), extra, plain.BaseUnits().x);
}

TEST(ExtMsgBoxTemplate, MessageAndIconPlacement)
{
    EXTMSGBOXPARAMS params;
    {
        const CExtMsgBoxTemplate box(nullptr, "M", "T", 0, params);
        EXPECT_EQ(box.FindItem(IDC_MSGBOX_ICON), nullptr);
        EXPECT_EQ(box.MessageRect().left, 16);
        EXPECT_EQ(box.MessageRect().top, 16);
        const int textWidth = QFontMetrics(QApplication::font()).horizontalAdvance("M");
        EXPECT_NEAR(box.MessageRect().right, textWidth + 28, 1);
    }
    params.dwOptions = EMB_OPT_WIN6_LOOK;
    {
        const CExtMsgBoxTemplate oneLine(nullptr, "M", "T", MB_ICONQUESTION, params);
        const int icon = oneLine.IconSize();
        ASSERT_NE(oneLine.FindItem(IDC_MSGBOX_ICON), nullptr);
        EXPECT_EQ(oneLine.MessageRect().left, 16 + 24 + icon);
        EXPECT_EQ(oneLine.MessageRect().top, 32);

        const CExtMsgBoxTemplate twoLines(nullptr, "M\nN", "T", MB_ICONQUESTION, params);
        EXPECT_EQ(twoLines.MessageRect().top, 24);
        EXPECT_EQ(twoLines.MessageRect().bottom - twoLines.MessageRect().top,
                  oneLine.MessageRect().bottom - oneLine.MessageRect().top +
                      QFontMetrics(QApplication::font()).height());
    }
}

TEST(ExtMsgBoxTemplate, CustomIconByNameElseNone)
{
    EXTMSGBOXPARAMS params;
    params.hInstanceIcon = ":/res/images";
    params.szIcon = "placeholder.png";
    EXPECT_NE(CExtMsgBoxTemplate(nullptr, "M", "T", MB_ABORTRETRYIGNORE, params).FindItem(IDC_MSGBOX_ICON), nullptr);
    params.szIcon = "missing.png";
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", MB_ABORTRETRYIGNORE, params).FindItem(IDC_MSGBOX_ICON), nullptr);
    params.nIdIcon = 4711;  // no such image: the style's icon
    EXPECT_NE(CExtMsgBoxTemplate(nullptr, "M", "T", MB_ICONASTERISK, params).FindItem(IDC_MSGBOX_ICON), nullptr);
}

TEST(ExtMsgBoxTemplate, CheckBoxBelowTheRowWidensTheBox)
{
    EXTMSGBOXPARAMS params;
    const CExtMsgBoxTemplate without(nullptr, "M", "T", 0, params);
    const CExtMsgBoxTemplate with(nullptr, "M", "T", MB_DONOTASKAGAIN | MB_DONOTSHOWAGAIN, params);
    const CExtMsgBoxItem* check = with.FindItem(IDC_MSGBOX_CHECKBOX);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->m_strCaption, QStringLiteral("Don't ask me again"));
    EXPECT_EQ(check->m_dlgItemTemplate.style, 0x50010003u);
    const DLGITEMTEMPLATE& t = check->m_dlgItemTemplate;
    const RECT rect = with.DialogUnitsToPixels(t.x, t.y, t.cx, t.cy);
    const RECT ok = PushButtons(with).front().rect;
    EXPECT_NEAR(rect.left, 17, with.BaseUnits().x);
    EXPECT_GT(rect.top, ok.bottom);
    EXPECT_GT(with.Header().cy, without.Header().cy);
    EXPECT_GE(ClientWidth(with) + with.BaseUnits().x, rect.right);
    EXPECT_EQ(with.Items().back().get(), check);  // made last, after the buttons
}

TEST(ExtMsgBoxTemplate, ItemStylesAndDialogUnits)
{
    const CExtMsgBoxTemplate box(nullptr, "M", "T", 0x1023, EXTMSGBOXPARAMS());
    EXPECT_EQ(box.Header().style, 0x90C80882u);
    EXPECT_EQ(box.Header().cdit, box.Items().size());
    EXPECT_EQ(box.FindItem(IDC_MSGBOX_MESSAGE)->m_dlgItemTemplate.style, 0x50000000u);
    EXPECT_EQ(box.FindItem(IDC_MSGBOX_ICON)->m_strCaption, QStringLiteral(""));
    EXPECT_EQ(box.FindItem(IDYES)->m_dlgItemTemplate.style, 0x50010001u);
    EXPECT_EQ(box.FindItem(IDNO)->m_dlgItemTemplate.style, 0x50010000u);
    EXPECT_EQ(CExtMsgBoxTemplate(nullptr, "M", "T", 0x23, EXTMSGBOXPARAMS()).Header().style, 0x90C80880u);

    DLGITEMTEMPLATE item;
    box.PixelsToDialogUnits({10, 20, 110, 45}, item);
    const DialogBaseUnits base = box.BaseUnits();
    EXPECT_EQ(item.x, 10 * 4 / base.x);
    EXPECT_EQ(item.cy, 25 * 8 / base.y);
}

TEST(ExtMsgBoxTemplate, HugeMessageKeepsPositiveSizes)
{
    QString text;
    for (int line = 0; line < 6000; ++line)
        text += QStringLiteral("line\n");
    const CExtMsgBoxTemplate box(nullptr, text, "T", 0, EXTMSGBOXPARAMS());
    EXPECT_EQ(box.Header().cy, 32767);
    EXPECT_GT(box.FindItem(IDC_MSGBOX_MESSAGE)->m_dlgItemTemplate.cy, 0);
    EXPECT_GT(box.FindItem(IDOK)->m_dlgItemTemplate.y, 0);
}

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(38, 7, 4), 67);  // 66.5
    EXPECT_EQ(MulDiv(-38, 7, 4), -67);
    EXPECT_EQ(MulDiv(10, 15, 8), 19);  // 18.75
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
}
