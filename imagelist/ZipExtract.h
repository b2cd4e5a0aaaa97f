#pragma once

#include <QString>

// Unpacks every file of a zip archive below folder (a path ending in '/'),
// creating folders as needed. Returns 0 when done, 1 when an encrypted entry
// needs a password (none or a wrong one given), -1 on failure with the
// reason in errorText.
int ExtractZip(const QString& archivePath, const QString& folder, const char* password, QString& errorText);
