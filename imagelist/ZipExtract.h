#pragma once

#include <QString>

// Unpacks every file of a zip archive below folder (a path ending in '/'),
// creating folders as needed; entries whose name is left empty or names only
// a folder are skipped. Returns 0 when done, 1 when an encrypted entry needs a
// password (none or a wrong one given), -1 on failure with the reason in
// errorText: also, before anything is written, when the sizes the entries
// claim exceed the free space of the folder's file system, or room when it
// is not negative.
int ExtractZip(const QString& archivePath, const QString& folder, const char* password, QString& errorText,
               qint64 room = -1);

// The free bytes of the file system the folder lies on, or will lie on once
// made; -1 when unknown.
qint64 FreeBytesFor(const QString& folder);
