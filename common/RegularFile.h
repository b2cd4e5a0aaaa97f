#pragma once

#include <QString>

class QFile;

// Opens a file for reading only when it is a regular file. Opening a named
// pipe for reading waits until another process writes to it, so the file is
// opened without waiting and what was opened is checked before anything is
// read: a pipe, device, socket or folder is closed again at once.
// The descriptor, or -1 when the file cannot be opened or is refused.
int OpenRegularFile(const QString& path);
// The same, handed to file, which closes it; false when it is refused.
bool OpenRegularFile(QFile& file, const QString& path);
