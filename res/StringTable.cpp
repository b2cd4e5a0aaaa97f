#include "res/StringTable.h"

CStringTable::CStringTable(std::initializer_list<Entry> entries)
{
    for (const Entry& entry : entries)
        m_strings.insert(entry.id, QString::fromUtf16(entry.text));
}

QString CStringTable::LoadString(unsigned id) const
{
    return m_strings.value(id);
}

const CStringTable& CStringTable::Application()
{
    static const CStringTable table{
        {IDS_MSGBOX_OK, u"OK"},
        {IDS_MSGBOX_CANCEL, u"キャンセル"},
        {IDS_MSGBOX_IGNORE, u"&Ignore"},
        {IDS_MSGBOX_RETRY, u"&Retry"},
        {IDS_MSGBOX_ABORT, u"&Abort"},
        {IDS_MSGBOX_HELP, u"ヘルプ"},
        {IDS_MSGBOX_YES, u"はい"},
        {IDS_MSGBOX_NO, u"いいえ"},
        {IDS_MSGBOX_CONTINUE, u"&Continue"},
        {IDS_MSGBOX_DONTASKAGAIN, u"Don't ask me again"},
        {IDS_MSGBOX_DONTTELLAGAIN, u"Don't tell me again"},
        {IDS_MSGBOX_DONTSHOWAGAIN, u"Don't show again"},
        {IDS_MSGBOX_YESTOALL, u"すべて、はい"},
        {IDS_MSGBOX_NOTOALL, u"すべて、いいえ"},
        {IDS_MSGBOX_TRYAGAIN, u"&Try Again"},
        {IDS_MSGBOX_REPORT, u"Re&port"},
        {IDS_MSGBOX_IGNOREALL, u"I&gnore All"},
        {IDS_MSGBOX_SKIP, u"&Skip"},
        {IDS_MSGBOX_SKIPALL, u"S&kip All"},
        {ID_INDICATOR_PROGRESS, u" "},
        {ID_INDICATOR_STOP, u" "},
        {ID_INDICATOR_ALLFILES, u"全ファイル : %d 個"},
        {ID_INDICATOR_SELFILES, u"選択ファイル : %d 個"},
        {ID_INDICATOR_EMPTY, u" "},
        {AFX_IDS_APP_TITLE, u"Folivane"},
    };
    return table;
}
