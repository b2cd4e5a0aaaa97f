#pragma once

#include "msgbox/DialogUnits.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/ExtMsgBoxItem.h"
#include "msgbox/ExtMsgBoxParams.h"
#include "platform/WinTypes.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QEventLoop;
class CExtMsgBoxDialog;

// The template of the dialog header, sizes in dialog units.
struct DLGTEMPLATE {
    std::uint32_t style = 0;
    std::uint32_t dwExtendedStyle = 0;
    std::uint16_t cdit = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
};

// Flags of the box: which checkbox, whether Escape and the close box answer.
constexpr std::uint32_t EMB_FLAG_DONOTASKAGAIN = 0x1;
constexpr std::uint32_t EMB_FLAG_DONOTTELLAGAIN = 0x2;
constexpr std::uint32_t EMB_FLAG_DONOTSHOWAGAIN = 0x4;
constexpr std::uint32_t EMB_FLAG_CANCEL = 0x8;
constexpr std::uint32_t EMB_FLAG_OK = 0x10;

// One ExtMessageBox call turned into a dialog: measures the texts and buttons
// in pixels, lays out icon, message, button row and checkbox as dialog-unit
// items, and runs the box with a message loop of its own.
class CExtMsgBoxTemplate {
public:
    // params: already completed by ExtMessageBox (instances set, seconds bounded).
    CExtMsgBoxTemplate(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style,
                       const EXTMSGBOXPARAMS& params);
    virtual ~CExtMsgBoxTemplate();

    CExtMsgBoxTemplate(const CExtMsgBoxTemplate&) = delete;
    CExtMsgBoxTemplate& operator=(const CExtMsgBoxTemplate&) = delete;

    // Shows the box and returns the pressed button's id (with the checkbox and
    // timeout bits), or -1 when the application quits while it is open.
    int Display();

    // The widest a message may be laid out, in pixels.
    static int GetWidestMessage(int screenWidth, int iconWidth, bool win6Look, bool narrow, bool withIcon);

    const std::vector<std::unique_ptr<CExtMsgBoxItem>>& Items() const { return m_items; }
    const CExtMsgBoxItem* FindItem(int id) const;
    const QString& ButtonCaption(int slot) const { return m_szButtonCaptions.at(static_cast<std::size_t>(slot)); }
    const DLGTEMPLATE& Header() const { return m_dlgTempl; }
    const RECT& MessageRect() const { return m_rcMsg; }
    const DialogBaseUnits& BaseUnits() const { return m_baseUnits; }
    std::uint32_t Flags() const { return m_nFlags; }
    int DefaultButtonId() const { return m_nDefId; }
    int ButtonWidth() const { return m_nButtonWidth; }
    int ButtonHeight() const { return m_nButtonHeight; }
    int TimeoutSeconds() const { return m_nTimeoutSeconds; }
    int DisabledSeconds() const { return m_nDisabledSeconds; }
    int IconSize() const { return m_nIconSize; }

    // Pixel rectangle -> dialog units (truncating), and back as a dialog does.
    void PixelsToDialogUnits(const RECT& rect, DLGITEMTEMPLATE& item) const;
    RECT DialogUnitsToPixels(int x, int y, int cx, int cy) const;

    // Called by CExtMsgBoxItem::Init for each push button; true when it is the default one.
    bool CountPushButton(int id);

private:
    friend class CExtMsgBoxDialog;

    struct PlannedButton {
        int slot;  // -1 for a custom button
        int id;
        QString caption;
        int width;
    };

    void InitFromParams(const EXTMSGBOXPARAMS& params);
    void InitMetrics();
    void InitTexts(const QString& text, const QString& caption, const EXTMSGBOXPARAMS& params);
    void LoadDefaultButtonCaptions(const EXTMSGBOXPARAMS& params);
    void SetUserButtonCaptions(const EXTMSGBOXPARAMS& params);
    void LoadButtonCaptions();
    void MeasureSlots();
    int MeasureMessage();
    void LoadIcon(const EXTMSGBOXPARAMS& params);
    void PlaceIcon(int textHeight);
    void LayOutButtonRow();
    std::vector<PlannedButton> PlanButtons();
    QStringList CustomButtonCaptions() const;
    void PlaceButtons(const std::vector<PlannedButton>& buttons, int total, int rowTop);
    int AddItem(int slot, int id, int x, int y);
    void AddCheckBox(int rowTop);
    int CheckBoxSlot() const;
    int CheckBoxWidth() const;
    void EndBox(int result);

    std::vector<std::unique_ptr<CExtMsgBoxItem>> m_items;
    EXTMSGBOX_REPORT_FUNC m_lpReportFunc = nullptr;
    std::uintptr_t m_dwReportUserData = 0;
    std::uint32_t m_nFlags = 0;
    int m_nButtonCount = 0;
    int m_nDefButton = 1;
    int m_nTimeoutSeconds = 0;
    int m_nDisabledSeconds = 0;
    int m_X = 0;
    int m_Y = 0;
    int m_nButtonWidth = 0;
    int m_nButtonTimeoutExtraWidth = 0;
    int m_nButtonHeight = 0;
    int m_nCheckBoxHeight = 0;
    int m_nReturnValue = -1;
    int m_nDefId = IDOK;
    std::uint32_t m_dwHelpContextId = 0;
    std::uint32_t m_nStyle = 0;
    bool m_bRightJustifyButtons = false;
    bool m_bVistaStyle = false;
    bool m_bNarrow = false;
    bool m_bDone = false;
    QPointer<QWidget> m_pOwner;
    const CStringTable* m_hStringsInstance = nullptr;
    RECT m_rcMsg;
    RECT m_rcClient;
    QString m_strMsg;
    QString m_strCaption;
    QString m_szCustomButtons;
    QIcon m_hIcon;
    QFont m_hFont;
    QColor m_crText;        // invalid: none given
    QColor m_crBackground;  // invalid: no background brush
    DLGTEMPLATE m_dlgTempl;
    std::array<int, SLOT_COUNT> m_nButtonWidths{};
    std::array<QString, SLOT_COUNT> m_szButtonCaptions;
    DialogBaseUnits m_baseUnits{8, 16};
    int m_nScreenWidth = 0;
    int m_nIconSize = 32;
    int m_nIconMargin = 8;
    QEventLoop* m_pLoop = nullptr;
};
