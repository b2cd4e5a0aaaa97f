#pragma once

#include <QString>
#include <QStringList>

// Folders private to the user, in places other users share (the system's
// temporary folder): a name planted there by another user must never lead
// this user's files, locks or deletions elsewhere.

// Opens the folder, made here with mode 0700 when missing, when it is a real
// folder (no link) of this user; a mode other than 0700 is set to 0700 first.
// The descriptor (close-on-exec), or -1 when the name holds anything else or
// the folder cannot be made.
int OpenPrivateFolder(const QString& folder);

// Makes the folder with those of its parents that are missing, each with
// mode 0700; folders already there are left as they are. True when the
// folder is there.
bool MakePrivateFolderPath(const QString& folder);

// The first of the candidates that is, or is now made, a private folder this
// user can write in (its parent folders made as needed); empty when none is.
QString ChoosePrivateFolder(const QStringList& candidates);
