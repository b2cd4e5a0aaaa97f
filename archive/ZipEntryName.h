#pragma once

#include <QByteArray>
#include <QString>

// Decodes a raw entry name: UTF-8 when it is valid UTF-8, else the legacy
// Japanese code page (CP932, the Shift-JIS family) that such archives carry,
// else Latin-1 so that every byte still gives a character.
QString DecodeZipName(const QByteArray& raw);

// Strips what could lead out of the extraction folder: a drive prefix,
// leading separators, a leading "..", and everything up to a ".." segment.
QString SanitiseZipName(QString name);
