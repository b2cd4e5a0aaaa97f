#pragma once

#include <QByteArray>

// Lock files the program keeps under its own names in folders of the user's
// own (the temporary root, the settings folder). The name is the program's:
// whatever else stands there (a link, a FIFO, a device, an empty folder, a
// file this user cannot open) was left by accident or by another program
// and must never stop the program, nor be followed, opened or waited on.

// Opens the regular file name in the open folder, made with mode 0600 when
// missing; anything else at the name is removed first, but only while it is
// still the very thing found there. The descriptor (close-on-exec); else -1
// with errno EAGAIN when the name kept changing under the look (another copy
// clearing it too: worth another try), or with the error of a name that can
// be neither used nor cleared (a folder with something in it, a folder the
// user cannot write in).
int OpenLockFileAt(int folder, const QByteArray& name);

// Whether the open file is still the one under name in the open folder.
bool IsLockFileNamed(int folder, const QByteArray& name, int file);
