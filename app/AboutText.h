#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The texts of the About box.

// "name：Ver5.12 path" for version 512, with a line end.
QString FormatArcLibLine(const QString& dllName, int version, const QString& modulePath);
// "name：なし" with a line end: the library is missing or lacks an export.
QString FormatMissingArcLibLine(const QString& dllName);
// The line of one external archive library, loaded for the look and freed again.
QString GetArcLibLine(const QString& dllName, const QByteArray& commandName);
// The lines of both archive libraries, the zip library's first.
QString GetArcLibLines();
// The running program's folder, ending in a separator.
QString GetProgramFolder();
// The text broken into lines no wider than the width, as the measure gives
// a text's width: each line ends just after a path separator where it can; a
// name wider than a whole line is broken within itself.
QStringList WrapAtSeparators(const QString& text, int width, const std::function<int(const QString&)>& measure);
