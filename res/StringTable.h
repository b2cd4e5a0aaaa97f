#pragma once

#include <QHash>
#include <QString>

#include <initializer_list>

// Ids of the program's own strings. The message box looks its button captions
// up under 9001-9019 before it falls back to its built-in texts.
constexpr unsigned IDS_MSGBOX_OK = 9001;
constexpr unsigned IDS_MSGBOX_CANCEL = 9002;
constexpr unsigned IDS_MSGBOX_IGNORE = 9003;
constexpr unsigned IDS_MSGBOX_RETRY = 9004;
constexpr unsigned IDS_MSGBOX_ABORT = 9005;
constexpr unsigned IDS_MSGBOX_HELP = 9006;
constexpr unsigned IDS_MSGBOX_YES = 9007;
constexpr unsigned IDS_MSGBOX_NO = 9008;
constexpr unsigned IDS_MSGBOX_CONTINUE = 9009;
constexpr unsigned IDS_MSGBOX_DONTASKAGAIN = 9010;
constexpr unsigned IDS_MSGBOX_DONTTELLAGAIN = 9011;
constexpr unsigned IDS_MSGBOX_DONTSHOWAGAIN = 9012;
constexpr unsigned IDS_MSGBOX_YESTOALL = 9013;
constexpr unsigned IDS_MSGBOX_NOTOALL = 9014;
constexpr unsigned IDS_MSGBOX_TRYAGAIN = 9015;
constexpr unsigned IDS_MSGBOX_REPORT = 9016;
constexpr unsigned IDS_MSGBOX_IGNOREALL = 9017;
constexpr unsigned IDS_MSGBOX_SKIP = 9018;
constexpr unsigned IDS_MSGBOX_SKIPALL = 9019;

// The main frame's status-bar panes and the application's title.
constexpr unsigned ID_INDICATOR_PROGRESS = 131;
constexpr unsigned ID_INDICATOR_STOP = 132;
constexpr unsigned ID_INDICATOR_ALLFILES = 133;
constexpr unsigned ID_INDICATOR_SELFILES = 134;
constexpr unsigned ID_INDICATOR_EMPTY = 135;
constexpr unsigned AFX_IDS_APP_TITLE = 57344;

// A table of strings by id: the program's own (Application) or one a caller of
// the message box brings along as its strings instance.
class CStringTable {
public:
    struct Entry {
        unsigned id;
        const char16_t* text;
    };

    CStringTable(std::initializer_list<Entry> entries);

    // The string of the id, or an empty string when the table has none.
    QString LoadString(unsigned id) const;

    static const CStringTable& Application();

private:
    QHash<unsigned, QString> m_strings;
};
