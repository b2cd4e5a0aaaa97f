#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// File names are bytes, and not every name is UTF-8 (Shift-JIS or Latin-1
// names from other systems). A name that is UTF-8 decodes as text; each byte
// that is not part of a UTF-8 character becomes the lone surrogate
// U+DC00 + byte, which the encoding turns back into that byte, so that every
// name read from a folder opens the very file again. Qt's own QFile,
// QFileInfo and QSaveFile turn those surrogates into other bytes: a name
// decoded here is opened by the bytes EncodeFileName gives.
QString DecodeFileName(QByteArrayView bytes);
QByteArray EncodeFileName(QStringView name);

// The length of the longest start of the name, of whole characters (never
// half a surrogate pair), whose bytes (EncodeFileName) take at most maxBytes.
qsizetype FileNamePrefixLength(QStringView name, qsizetype maxBytes);

// The name as it can be shown: the bytes that are no UTF-8 as U+FFFD.
QString ShownFileName(QString name);

// A local file's URL carrying the name's bytes, and the local file a URL
// names (empty for any other URL); drops and the clipboard carry such URLs.
QUrl FileUrl(const QString& path);
QString LocalFileOf(const QUrl& url);
