#pragma once

#include <QIODevice>
#include <QString>
#include <QStringView>

#include "platform/WinTypes.h"
#include "settings/OptionDocument.h"

// Option files (*.adjopt): UTF-16LE text after the byte-order mark FF FE,
// "[name]" header lines, "key=value" lines and an empty line after each
// section; lines end in carriage return + line feed.

// Empties the document and fills it from the file. FALSE with the error text
// when the file cannot be read or its content is not an option file; the
// sections completed before a fault stay in the document.
BOOL LoadOptionFile(CSectionArray& doc, const QString& path, QString& error);

// Replaces the file at path by the document, creating its folder when needed.
BOOL SaveOptionFile(const CSectionArray& doc, const QString& path, QString& error);

// Parsers over the rest of the text (cursor), which they move on. An empty
// name ends the document, an empty key ends the section.
BOOL ParseSection(QStringView& cursor, CSection& section, QString& error);
BOOL ParseEntry(QStringView& cursor, CEntry& entry, QString& error);

// Writers; they throw CFileException when the file does not take the bytes.
void WriteSection(const CSection& section, QIODevice& file);
void WriteEntry(const CEntry& entry, QIODevice& file);
