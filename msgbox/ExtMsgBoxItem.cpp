#include "msgbox/ExtMsgBoxItem.h"

#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/ExtMsgBoxTemplate.h"

void CExtMsgBoxItem::Init(CExtMsgBoxTemplate& owner, std::uint16_t type, int id, const RECT& rect,
                          const QString& caption)
{
    m_nControlType = type;
    m_strCaption = caption.isNull() ? QStringLiteral("") : caption;
    m_dlgItemTemplate.id = static_cast<std::uint16_t>(id);
    m_dlgItemTemplate.dwExtendedStyle = 0;
    owner.PixelsToDialogUnits(rect, m_dlgItemTemplate);

    if (type == EMB_CLASS_STATIC) {
        m_dlgItemTemplate.style = EMB_WS_CHILD_VISIBLE;
    } else if (id == IDC_MSGBOX_CHECKBOX) {
        m_dlgItemTemplate.style = EMB_WS_CHILD_VISIBLE | EMB_WS_TABSTOP | EMB_BS_AUTOCHECKBOX;
    } else {
        m_dlgItemTemplate.style = EMB_WS_CHILD_VISIBLE | EMB_WS_TABSTOP;
        if (owner.CountPushButton(id))
            m_dlgItemTemplate.style |= EMB_BS_DEFPUSHBUTTON;
    }
}

bool CExtMsgBoxItem::IsPushButton() const
{
    return m_nControlType == EMB_CLASS_BUTTON && m_dlgItemTemplate.id != IDC_MSGBOX_CHECKBOX;
}

bool CExtMsgBoxItem::IsCheckBox() const
{
    return m_nControlType == EMB_CLASS_BUTTON && m_dlgItemTemplate.id == IDC_MSGBOX_CHECKBOX;
}
