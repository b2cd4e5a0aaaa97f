#include "msgbox/ExtMsgBoxTemplate.h"

#include "msgbox/ExtMsgBoxDialog.h"
#include "msgbox/MsgBoxSlots.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFontMetrics>
#include <QPalette>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kSlotChars = MSGBOX_SLOT_CHARS - 1;
constexpr int kReportIdChars = MSGBOX_SLOT_CHARS - 2;
constexpr int kCustomIdChars = 258;
constexpr int kCustomTextChars = 259;
constexpr int kMaxTextChars = 65535;
constexpr int kMaxCustomButtons = 4;
constexpr int kButtonGap = 6;
constexpr std::uint32_t kDialogStyle = 0x90C80880;  // popup, visible, caption, system menu, centred, modal frame
constexpr std::uint32_t kDsSysModal = 0x2;

QColor ToColor(COLORREF color)
{
    if (color == EMB_NO_COLOR)
        return {};
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// A huge message cannot wrap a size round to a negative one.
std::int16_t ToDialogUnit(int value)
{
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

QIcon LoadResourceIcon(const QString& path)
{
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QStyle::StandardPixmap SystemIconOf(std::uint32_t iconBits)
{
    switch (iconBits) {
    case MB_ICONHAND:
        return QStyle::SP_MessageBoxCritical;
    case MB_ICONQUESTION:
        return QStyle::SP_MessageBoxQuestion;
    case MB_ICONASTERISK:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_MessageBoxWarning;
    }
}

}  // namespace

CExtMsgBoxTemplate::CExtMsgBoxTemplate(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style,
                                       const EXTMSGBOXPARAMS& params)
    : m_nStyle(style), m_pOwner(owner)
{
    InitFromParams(params);
    InitMetrics();
    InitTexts(text, caption, params);
    MeasureSlots();
    const int textHeight = MeasureMessage();
    m_dlgTempl.style = kDialogStyle | ((style & MB_SYSTEMMODAL) ? kDsSysModal : 0);

    LoadIcon(params);
    if (!m_hIcon.isNull())
        PlaceIcon(textHeight);
    auto message = std::make_unique<CExtMsgBoxItem>();
    message->Init(*this, EMB_CLASS_STATIC, IDC_MSGBOX_MESSAGE, m_rcMsg, m_strMsg);
    m_items.push_back(std::move(message));

    LayOutButtonRow();

    m_dlgTempl.cdit = static_cast<std::uint16_t>(m_items.size());
    m_dlgTempl.cx = ToDialogUnit(m_rcClient.right * 4 / m_baseUnits.x);
    m_dlgTempl.cy = ToDialogUnit(m_rcClient.bottom * 8 / m_baseUnits.y);
}

void CExtMsgBoxTemplate::LayOutButtonRow()
{
    const std::vector<PlannedButton> buttons = PlanButtons();
    int total = kButtonGap * (static_cast<int>(buttons.size()) - 1);
    for (const PlannedButton& button : buttons)
        total += button.width;

    const int iconBottom = m_hIcon.isNull() ? 0 : m_nIconMargin + m_nIconSize + 2;
    int rowTop = std::max(m_rcMsg.bottom, iconBottom) + 5;
    if (!m_hIcon.isNull() || m_crBackground.isValid())
        rowTop += 9;
    m_rcClient.bottom = rowTop + m_nButtonHeight + 12;
    m_rcClient.right = std::max(m_rcClient.right, total + 32);
    if (CheckBoxSlot() >= 0 && m_rcClient.right < CheckBoxWidth())
        m_rcClient.right = CheckBoxWidth() + 16;

    PlaceButtons(buttons, total, rowTop);
    if (CheckBoxSlot() >= 0)
        AddCheckBox(rowTop);
}

CExtMsgBoxTemplate::~CExtMsgBoxTemplate() = default;

void CExtMsgBoxTemplate::InitFromParams(const EXTMSGBOXPARAMS& params)
{
    m_nTimeoutSeconds = params.nTimeoutSeconds;
    m_nDisabledSeconds = params.nDisabledSeconds;
    m_X = params.x;
    m_Y = params.y;
    m_dwHelpContextId = params.dwHelpContextId;
    m_lpReportFunc = params.lpReportFunc;
    m_dwReportUserData = params.dwReportUserData;
    m_hStringsInstance = params.hInstanceStrings ? params.hInstanceStrings : &CStringTable::Application();
    m_bVistaStyle = (params.dwOptions & EMB_OPT_WIN6_LOOK) != 0;
    m_bRightJustifyButtons = (params.dwOptions & EMB_OPT_BUTTONS_RIGHT) != 0 || m_bVistaStyle;
    m_bNarrow = (params.dwOptions & EMB_OPT_NARROW) != 0;
    m_crText = ToColor(params.crText);
    m_crBackground = ToColor(params.crBackground);
    if (m_bVistaStyle && !m_crBackground.isValid())
        m_crBackground = QApplication::palette().color(QPalette::Active, QPalette::Base);

    const std::uint32_t defButton = (m_nStyle & MB_DEFMASK) >> 8;
    m_nDefButton = defButton <= 5 ? static_cast<int>(defButton) + 1 : 1;

    if (m_nStyle & MB_DONOTASKAGAIN)
        m_nFlags |= EMB_FLAG_DONOTASKAGAIN;
    else if (m_nStyle & MB_DONOTTELLAGAIN)
        m_nFlags |= EMB_FLAG_DONOTTELLAGAIN;
    else if (m_nStyle & MB_DONOTSHOWAGAIN)
        m_nFlags |= EMB_FLAG_DONOTSHOWAGAIN;
}

void CExtMsgBoxTemplate::InitMetrics()
{
    m_hFont = QApplication::font();
    m_baseUnits = GetDialogBaseUnits(m_hFont);
    m_nButtonWidth = MulDiv(m_bVistaStyle ? 44 : 38, m_baseUnits.x, 4);
    m_nButtonHeight = MulDiv(m_bVistaStyle ? 13 : 10, m_baseUnits.y, 8);
    m_nButtonTimeoutExtraWidth = MulDiv(13, m_baseUnits.x, 4);
    m_nCheckBoxHeight = MulDiv(10, m_baseUnits.y, 8);
    m_nIconSize = QApplication::style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_nScreenWidth = screen ? screen->geometry().width() : 0;
}

void CExtMsgBoxTemplate::InitTexts(const QString& text, const QString& caption, const EXTMSGBOXPARAMS& params)
{
    m_strMsg = text.left(kMaxTextChars);
    m_strCaption = caption.left(kMaxTextChars);

    m_szCustomButtons = m_hStringsInstance->LoadString(params.nIdCustomButtons).left(kCustomIdChars);
    if (m_szCustomButtons.isEmpty())
        m_szCustomButtons = params.szCustomButtons.left(kCustomTextChars);

    LoadDefaultButtonCaptions(params);
    if (params.bUseUserDefinedButtonCaptions)
        SetUserButtonCaptions(params);
    else if (!(m_nStyle & MB_NORESOURCE))
        LoadButtonCaptions();
}

void CExtMsgBoxTemplate::LoadDefaultButtonCaptions(const EXTMSGBOXPARAMS& params)
{
    QString report = m_hStringsInstance->LoadString(params.nIdReportButtonCaption).left(kReportIdChars);
    if (report.isEmpty())
        report = params.szReportButtonCaption.left(kSlotChars);

    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        m_szButtonCaptions[static_cast<std::size_t>(slot)] = QString::fromUtf16(GetMsgBoxSlotInfo(slot).builtInText);
    if (!report.isEmpty())
        m_szButtonCaptions[SlotReport] = report;
}

void CExtMsgBoxTemplate::SetUserButtonCaptions(const EXTMSGBOXPARAMS& params)
{
    // The report button keeps the caption the report parameters gave it.
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const QString& user = params.UserDefinedButtonCaptions[static_cast<std::size_t>(slot)];
        if (slot != SlotReport && !user.isEmpty())
            m_szButtonCaptions[static_cast<std::size_t>(slot)] = user.left(kSlotChars);
    }
}

void CExtMsgBoxTemplate::LoadButtonCaptions()
{
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        const QString loaded = m_hStringsInstance->LoadString(GetMsgBoxSlotInfo(slot).stringId).left(kSlotChars);
        if (slot != SlotReport && !loaded.isEmpty())
            m_szButtonCaptions[static_cast<std::size_t>(slot)] = loaded;
    }
}

void CExtMsgBoxTemplate::MeasureSlots()
{
    const QFontMetrics metrics(m_hFont);
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        int width = std::max(metrics.horizontalAdvance(m_szButtonCaptions[static_cast<std::size_t>(slot)]) + 20,
                             m_nButtonWidth);
        if (m_nTimeoutSeconds != 0)
            width += m_nButtonTimeoutExtraWidth;
        m_nButtonWidths[static_cast<std::size_t>(slot)] = width;
    }
}

int CExtMsgBoxTemplate::GetWidestMessage(int screenWidth, int iconWidth, bool win6Look, bool narrow, bool withIcon)
{
    int widest = win6Look ? screenWidth / 2 - 10 : screenWidth / 2 + 80;
    if (narrow)
        widest = screenWidth / 3;
    if (withIcon)
        widest -= 16 + iconWidth;
    return widest;
}

int CExtMsgBoxTemplate::MeasureMessage()
{
    const int widest =
        GetWidestMessage(m_nScreenWidth, m_nIconSize, m_bVistaStyle, m_bNarrow, (m_nStyle & MB_ICONMASK) != 0);
    const QRect text = QFontMetrics(m_hFont).boundingRect(
        QRect(0, 0, std::max(widest, 1), std::max(widest, 1)),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs, m_strMsg);
    m_rcMsg = {16, 16, text.width() + 28, text.height() + 29};
    if (m_bVistaStyle) {
        m_rcMsg.top = 32;
        m_rcMsg.bottom = text.height() + 61;
    }
    m_rcClient = {0, 0, m_rcMsg.right - m_rcMsg.left + 16 + (m_bVistaStyle ? 16 : 0), 0};
    return text.height();
}

void CExtMsgBoxTemplate::LoadIcon(const EXTMSGBOXPARAMS& params)
{
    if (params.nIdIcon != 0)
        m_hIcon = LoadResourceIcon(params.hInstanceIcon + QLatin1Char('/') + QString::number(params.nIdIcon) + ".png");
    if (m_hIcon.isNull() && !params.szIcon.isEmpty())
        m_hIcon = LoadResourceIcon(params.hInstanceIcon + QLatin1Char('/') + params.szIcon);
    if (m_hIcon.isNull() && (m_nStyle & MB_ICONMASK) != 0)
        m_hIcon = QApplication::style()->standardIcon(SystemIconOf(m_nStyle & MB_ICONMASK));
}

void CExtMsgBoxTemplate::PlaceIcon(int textHeight)
{
    m_nIconMargin = m_bVistaStyle ? 24 : 8;
    m_rcMsg.left += m_nIconMargin + m_nIconSize;
    m_rcMsg.right += m_nIconMargin + m_nIconSize;
    m_rcClient.right = m_rcMsg.right + 8 + (m_bVistaStyle ? 16 : 0);
    // A message of several lines starts level with the icon's top.
    if (m_bVistaStyle && textHeight > QFontMetrics(m_hFont).size(0, QStringLiteral("My")).height()) {
        const int height = m_rcMsg.bottom - m_rcMsg.top;
        m_rcMsg.top = m_nIconMargin;
        m_rcMsg.bottom = m_nIconMargin + height;
    }

    const RECT rect{m_nIconMargin, m_nIconMargin, m_nIconMargin + m_nIconSize + 2, m_nIconMargin + m_nIconSize + 2};
    auto icon = std::make_unique<CExtMsgBoxItem>();
    icon->Init(*this, EMB_CLASS_STATIC, IDC_MSGBOX_ICON, rect, QString());
    m_items.push_back(std::move(icon));
}

QStringList CExtMsgBoxTemplate::CustomButtonCaptions() const
{
    return m_szCustomButtons.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(0, kMaxCustomButtons);
}

std::vector<CExtMsgBoxTemplate::PlannedButton> CExtMsgBoxTemplate::PlanButtons()
{
    std::vector<PlannedButton> buttons;
    const auto add = [&](int slot) {
        buttons.push_back({slot, GetMsgBoxSlotInfo(slot).controlId, m_szButtonCaptions[static_cast<std::size_t>(slot)],
                           m_nButtonWidths[static_cast<std::size_t>(slot)]});
    };
    const QStringList custom = CustomButtonCaptions();
    if (!custom.isEmpty()) {
        const QFontMetrics metrics(m_hFont);
        int id = IDCUSTOM1;
        for (const QString& caption : custom) {
            const int width =
                std::max(metrics.horizontalAdvance(caption) + 20, m_nButtonWidth) + m_nButtonTimeoutExtraWidth;
            buttons.push_back({-1, id++, caption, width});
        }
    } else {
        const bool yesToAll = (m_nStyle & MB_YESTOALL) != 0;
        const bool noToAll = (m_nStyle & MB_NOTOALL) != 0;
        switch (m_nStyle & MB_TYPEMASK) {
        case MB_OK:
            add(SlotOK);
            m_nFlags |= EMB_FLAG_OK;
            break;
        case MB_OKCANCEL:
            add(SlotOK);
            add(SlotCancel);
            break;
        case MB_ABORTRETRYIGNORE:
            add(SlotAbort);
            add(SlotRetry);
            add(SlotIgnore);
            break;
        case MB_YESNOCANCEL:
        case MB_YESNO:
            add(SlotYes);
            if (yesToAll)
                add(SlotYesToAll);
            add(SlotNo);
            if (noToAll)
                add(SlotNoToAll);
            if ((m_nStyle & MB_TYPEMASK) == MB_YESNOCANCEL)
                add(SlotCancel);
            break;
        case MB_RETRYCANCEL:
            add(SlotRetry);
            add(SlotCancel);
            break;
        case MB_CANCELTRYCONTINUE:
            add(SlotCancel);
            add(SlotTryAgain);
            add(SlotContinue);
            break;
        case MB_CONTINUEABORT:
            add(SlotContinue);
            add(SlotAbort);
            break;
        case MB_SKIPSKIPALLCANCEL:
            add(SlotSkip);
            add(SlotSkipAll);
            add(SlotCancel);
            break;
        case MB_IGNOREIGNOREALLCANCEL:
            add(SlotIgnore);
            add(SlotIgnoreAll);
            add(SlotCancel);
            break;
        default:
            add(SlotOK);
            break;
        }
        if (std::any_of(buttons.begin(), buttons.end(), [](const PlannedButton& b) { return b.id == IDCANCEL; }))
            m_nFlags |= EMB_FLAG_CANCEL;
    }
    if (m_nStyle & MB_HELP)
        add(SlotHelp);
    if (m_lpReportFunc)
        add(SlotReport);
    if (m_nDefButton > static_cast<int>(buttons.size()))
        m_nDefButton = 1;
    return buttons;
}

void CExtMsgBoxTemplate::PlaceButtons(const std::vector<PlannedButton>& buttons, int total, int rowTop)
{
    int x = m_bRightJustifyButtons ? m_rcClient.right - total - 16 : (m_rcClient.right - total) / 2;
    for (const PlannedButton& button : buttons) {
        if (button.slot >= 0) {
            x += AddItem(button.slot, button.id, x, rowTop);
            continue;
        }
        auto item = std::make_unique<CExtMsgBoxItem>();
        item->Init(*this, EMB_CLASS_BUTTON, button.id, {x, rowTop, x + button.width, rowTop + m_nButtonHeight},
                   button.caption);
        m_items.push_back(std::move(item));
        x += button.width + kButtonGap;
    }
}

int CExtMsgBoxTemplate::AddItem(int slot, int id, int x, int y)
{
    const int width = m_nButtonWidths[static_cast<std::size_t>(slot)];
    auto item = std::make_unique<CExtMsgBoxItem>();
    item->Init(*this, EMB_CLASS_BUTTON, id, {x, y, x + width, y + m_nButtonHeight},
               m_szButtonCaptions[static_cast<std::size_t>(slot)]);
    m_items.push_back(std::move(item));
    return width + kButtonGap;
}

int CExtMsgBoxTemplate::CheckBoxSlot() const
{
    if (m_nFlags & EMB_FLAG_DONOTASKAGAIN)
        return SlotDontAskAgain;
    if (m_nFlags & EMB_FLAG_DONOTTELLAGAIN)
        return SlotDontTellAgain;
    if (m_nFlags & EMB_FLAG_DONOTSHOWAGAIN)
        return SlotDontShowAgain;
    return -1;
}

int CExtMsgBoxTemplate::CheckBoxWidth() const
{
    return m_nButtonWidths[static_cast<std::size_t>(CheckBoxSlot())] + m_nCheckBoxHeight;
}

void CExtMsgBoxTemplate::AddCheckBox(int rowTop)
{
    const int width = CheckBoxWidth();
    const int y = rowTop + m_nButtonHeight + 12;
    auto item = std::make_unique<CExtMsgBoxItem>();
    item->Init(*this, EMB_CLASS_BUTTON, IDC_MSGBOX_CHECKBOX, {17, y, 17 + width, y + m_nCheckBoxHeight},
               m_szButtonCaptions[static_cast<std::size_t>(CheckBoxSlot())]);
    m_items.push_back(std::move(item));
    m_rcClient.bottom = y + m_nCheckBoxHeight + 8;
    m_rcClient.right = std::max(m_rcClient.right, 17 + width);
}

bool CExtMsgBoxTemplate::CountPushButton(int id)
{
    ++m_nButtonCount;
    if (m_nButtonCount != m_nDefButton)
        return false;
    m_nDefId = id;
    return true;
}

void CExtMsgBoxTemplate::PixelsToDialogUnits(const RECT& rect, DLGITEMTEMPLATE& item) const
{
    item.x = ToDialogUnit(rect.left * 4 / m_baseUnits.x);
    item.y = ToDialogUnit(rect.top * 8 / m_baseUnits.y);
    item.cx = ToDialogUnit((rect.right - rect.left) * 4 / m_baseUnits.x);
    item.cy = ToDialogUnit((rect.bottom - rect.top) * 8 / m_baseUnits.y);
}

RECT CExtMsgBoxTemplate::DialogUnitsToPixels(int x, int y, int cx, int cy) const
{
    const int left = MulDiv(x, m_baseUnits.x, 4);
    const int top = MulDiv(y, m_baseUnits.y, 8);
    return {left, top, left + MulDiv(cx, m_baseUnits.x, 4), top + MulDiv(cy, m_baseUnits.y, 8)};
}

const CExtMsgBoxItem* CExtMsgBoxTemplate::FindItem(int id) const
{
    for (const auto& item : m_items)
        if (item->m_dlgItemTemplate.id == id)
            return item.get();
    return nullptr;
}

int CExtMsgBoxTemplate::Display()
{
    CExtMsgBoxDialog box(*this);
    box.OnInitDialog();

    // The owner takes no input while the box is open; other windows go on painting.
    QPointer<QWidget> owner = m_pOwner ? m_pOwner->window() : nullptr;
    const bool ownerWasEnabled = owner && owner->isEnabled();
    if (ownerWasEnabled)
        owner->setEnabled(false);

    QEventLoop loop;
    m_pLoop = &loop;
    if (!m_bDone)
        loop.exec();  // also left when the application quits; the quit stays pending for the outer loop
    m_pLoop = nullptr;

    if (owner && ownerWasEnabled)
        owner->setEnabled(true);
    box.hide();
    return m_nReturnValue;
}

void CExtMsgBoxTemplate::EndBox(int result)
{
    // The first command that ends the box decides; any later one queued meanwhile is too late.
    if (m_bDone)
        return;
    m_nReturnValue = result;
    m_bDone = true;
    if (m_pLoop)
        m_pLoop->quit();
}
