#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/WinTypes.h"

// The option document: the in-memory form of an option file, and of the
// profile while an option file is read or written. Sections and entries keep
// the order they were added in; names need not be unique and every lookup
// finds the first (case-insensitively). A pointer handed out by a lookup stays
// valid until the same array is resized.
struct CEntry {
    QString m_strKey;
    QString m_strValue;  // stored text: decimal, escaped string or hex bytes
};

using CEntryArray = QList<CEntry>;

struct CSection {
    QString m_strName;
    CEntryArray m_entries;
};

using CSectionArray = QList<CSection>;

// First section named name; with create a missing one is appended, else nullptr.
CSection* FindSection(CSectionArray& doc, const QString& name, BOOL create);
// First entry with key; with create a missing one {key, ""} is appended, else nullptr.
CEntry* FindEntry(CSection& section, const QString& key, BOOL create);

// The stored value unescaped, or strDefault when the section or key is missing.
QString GetOptionString(const CSectionArray& doc, const QString& section, const QString& key,
                        const QString& strDefault);
// Stores the text escaped, so that the value holds no line break. Always TRUE.
BOOL SetOptionString(CSectionArray& doc, const QString& section, const QString& key, const QString& text);

// Bytes of a hex value (two digits a byte, an odd last digit ignored); empty
// when missing. Always TRUE.
BOOL GetOptionBinary(const CSectionArray& doc, const QString& section, const QString& key, QByteArray& data);
// Stores the bytes as lower-case hex pairs. Always TRUE.
BOOL SetOptionBinary(CSectionArray& doc, const QString& section, const QString& key, const QByteArray& data);

// "\" -> "\\", then carriage return -> "\r", then line feed -> "\n".
QString EscapeOptionValue(const QString& text);
// The exact inverse of EscapeOptionValue; other backslashes stay as they are.
QString UnescapeOptionValue(const QString& value);
