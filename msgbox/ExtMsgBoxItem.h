#pragma once

#include "platform/WinTypes.h"

#include <QString>

#include <cstdint>

class CExtMsgBoxTemplate;

// Control classes of the box's items.
constexpr std::uint16_t EMB_CLASS_BUTTON = 0x80;
constexpr std::uint16_t EMB_CLASS_STATIC = 0x82;

// Control styles of the box's items.
constexpr std::uint32_t EMB_WS_CHILD_VISIBLE = 0x50000000;
constexpr std::uint32_t EMB_WS_TABSTOP = 0x00010000;
constexpr std::uint32_t EMB_BS_DEFPUSHBUTTON = 0x00000001;
constexpr std::uint32_t EMB_BS_AUTOCHECKBOX = 0x00000003;

// Position, size and id of one control, in dialog units.
struct DLGITEMTEMPLATE {
    std::uint32_t style = 0;
    std::uint32_t dwExtendedStyle = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
    std::uint16_t id = 0;
};

// One control of the message box: a push button, a static (icon or message)
// or the checkbox.
class CExtMsgBoxItem {
public:
    virtual ~CExtMsgBoxItem() = default;

    // rect is in pixels; it is kept in dialog units of the template's base units.
    // A push button is counted by the template, and the one whose running number
    // is the default button number becomes the default button.
    void Init(CExtMsgBoxTemplate& owner, std::uint16_t type, int id, const RECT& rect, const QString& caption);

    bool IsPushButton() const;
    bool IsCheckBox() const;

    DLGITEMTEMPLATE m_dlgItemTemplate;
    std::uint16_t m_nControlType = 0;
    QString m_strCaption;
};
