#pragma once

#include "archive/ZipEntry.h"

#include <QByteArray>
#include <QtGlobal>

// Windows attribute bits of an entry from its central-directory fields:
// DOS bits for archives made on DOS-like hosts, Unix mode bits otherwise.
quint32 ZipAttributes(quint32 versionMadeBy, quint32 externalAttributes);

// The entry's DOS date and time, taken as local time, as a UTC file time;
// 0 when they are no valid date.
FileTime ZipDosTimeToFileTime(quint32 dosDateTime);

// Applies the times of the first "UT" block of a local extra field.
void ApplyExtendedTimestamp(const QByteArray& extraField, ZipEntry& entry);
