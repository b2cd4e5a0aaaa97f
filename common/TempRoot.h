#pragma once

#include <QString>

// The program's temporary root folder (ends in a separator): the system's
// temporary folder + "FolivaneTmp/". Archive folders and the adjusted-result
// cache live below it. The folder is private to the user: made with mode
// 0700 on first use, and every folder below it too; when another user holds
// that name, a per-user name is used instead. The application may point it
// elsewhere at start-up.
QString GetTempRoot();
void SetTempRoot(const QString& folder);

// The private folder chosen under the temporary folder temp: temp +
// "/FolivaneTmp/", else temp + "/FolivaneTmp-<user id>/", else one in the
// user's cache folder.
QString MakePrivateTempRoot(const QString& temp);

// Holds the temporary root for this process while it runs (a lock on a file
// in it), so that the close of another copy of the program, which empties
// its root, never empties this one's. When another running copy holds it, a
// new private folder "FolivaneTmp-XXXXXX" beside it becomes this process's
// root. Returns the root in use; empty when none can be made.
QString ClaimTempRoot();

// Makes a folder below the temporary root and any missing folders between,
// each with mode 0700. The root is checked again first and made again when
// it is gone: a link, another user's folder or one that cannot be closed to
// others is refused (EACCES). 0 or an errno code.
int CreateTempFolderPath(const QString& folder);
// Whether the path is the temporary root or lies below it.
bool IsInTempRoot(const QString& path);
