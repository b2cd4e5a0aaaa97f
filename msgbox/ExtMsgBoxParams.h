#pragma once

#include "msgbox/ExtMsgBoxDefs.h"
#include "platform/WinTypes.h"

#include <QString>

#include <array>
#include <cstdint>

class CStringTable;

// Called by the report button with the message text and the caller's data.
using EXTMSGBOX_REPORT_FUNC = void (*)(const QString& message, std::uintptr_t data);

// Colour value meaning "none given".
constexpr COLORREF EMB_NO_COLOR = 0xFFFFFFFFu;

// The caller's parameter block of ExtMessageBox. Texts are cut where they are
// used to the room the box gives them (259 characters, captions 99).
struct EXTMSGBOXPARAMS {
    EXTMSGBOXPARAMS();

    std::uint32_t dwHelpContextId;
    int nTimeoutSeconds;
    int nDisabledSeconds;
    int x;
    int y;
    std::uint32_t dwOptions;
    const CStringTable* hInstanceStrings;  // null: the program's own strings
    QString hInstanceIcon;                 // resource folder of custom icons; empty: the program's images
    unsigned nIdIcon;
    QString szIcon;
    unsigned nIdCustomButtons;
    QString szCustomButtons;
    unsigned nIdReportButtonCaption;
    QString szReportButtonCaption;
    QString szProgramText;
    const QString* lpszModule;
    int nLine;
    std::uintptr_t dwReportUserData;
    EXTMSGBOX_REPORT_FUNC lpReportFunc;
    COLORREF crText;
    COLORREF crBackground;
    BOOL bUseUserDefinedButtonCaptions;
    std::array<QString, SLOT_COUNT> UserDefinedButtonCaptions;
};
