#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QVariant>

// The values of a settings file by section and entry; section "" is the top
// level. A value is a QString or a QByteArray.
using CIniValues = QMap<QString, QMap<QString, QVariant>>;

// Reads the text of a settings file in the INI form the toolkit's settings
// write: sections in brackets ("General" is the top level), lines key=value,
// ";" comments, names with %-escapes, values with \-escapes and quotes,
// binaries as "@ByteArray(...)". A UTF-8 byte-order mark is passed over.
// False when a line has no such form (or holds a NUL); the lines that have
// are read all the same.
bool ParseIniText(QByteArrayView text, CIniValues& values);

// The text of the values in the same form, which the toolkit reads as well.
QByteArray FormatIniText(const CIniValues& values);
