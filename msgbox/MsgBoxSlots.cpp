#include "msgbox/MsgBoxSlots.h"

#include "msgbox/ExtMsgBoxDefs.h"

#include <array>

namespace {

const std::array<MsgBoxSlotInfo, SLOT_COUNT> kSlots{{
    {9005, u"&Abort", IDABORT},
    {9002, u"キャンセル", IDCANCEL},
    {9009, u"&Continue", IDCONTINUE},
    {9010, u"Don't ask me again", IDC_MSGBOX_CHECKBOX},
    {9011, u"Don't tell me again", IDC_MSGBOX_CHECKBOX},
    {9012, u"Don't show again", IDC_MSGBOX_CHECKBOX},
    {9006, u"ヘルプ", IDHELP},
    {9003, u"&Ignore", IDIGNORE},
    {9017, u"I&gnore All", IDIGNOREALL},
    {9008, u"いいえ", IDNO},
    {9014, u"すべて、いいえ", IDNOTOALL},
    {9001, u"OK", IDOK},
    {9016, u"Re&port", IDREPORT},
    {9004, u"&Retry", IDRETRY},
    {9018, u"&Skip", IDSKIP},
    {9019, u"S&kip All", IDSKIPALL},
    {9015, u"&Try Again", IDTRYAGAIN},
    {9007, u"はい", IDYES},
    {9013, u"すべて、はい", IDYESTOALL},
}};

}  // namespace

const MsgBoxSlotInfo& GetMsgBoxSlotInfo(int slot)
{
    return kSlots.at(static_cast<std::size_t>(slot));
}
