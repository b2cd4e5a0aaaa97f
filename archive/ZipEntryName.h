#pragma once

#include <QByteArray>
#include <QString>

// Decodes a raw entry name: UTF-8 when it is valid UTF-8, else the legacy
// Japanese code page (CP932, the Shift-JIS family) that such archives carry,
// else Latin-1 so that every byte still gives a character.
QString DecodeZipName(const QByteArray& raw);

// Strips what could lead out of the extraction folder: a drive prefix,
// leading separators, a leading "..", everything up to a ".." segment, and
// every "." or ".." step left, so that no step names a folder that is not
// its own.
QString SanitiseZipName(QString name);

// Fits a sanitised name to the file system and to maxLength characters: a
// step longer than a file name may be is shortened, keeping its extension
// and gaining a mark taken from its full text, so that steps which differ
// only beyond the cut stay apart; a name still too long keeps its trailing
// steps, the file name above all, and loses leading folders.
QString FitZipName(const QString& name, int maxLength);
