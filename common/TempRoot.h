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
// user's cache folder; when none of them is private, the first, which the
// claim then leaves for a new private folder beside it.
QString MakePrivateTempRoot(const QString& temp);

// Holds the temporary root for this process while it runs (a lock on the
// folder itself, and one on the file ".lock" in it for copies on other hosts
// sharing the folder), so that the close of another copy of the program,
// which empties its root, never empties this one's. When another running
// copy holds either, a new private folder "FolivaneTmp-XXXXXX" beside it
// becomes this process's root. Returns the root in use; empty when none can
// be made.
QString ClaimTempRoot();

// Makes a folder below the temporary root and any missing folders between,
// each with mode 0700, walking down from the root by descriptors. The root
// is checked again first, held as ClaimTempRoot holds it: made private again
// when only its mode changed, made again when it is gone. When its name
// holds anything but the folder this process made or checked (another
// copy's root, another user's folder, a link, a file), or another process
// holds its lock file, a new private root of this process's own takes its
// place, and folder is changed to lie under it; the root it replaces stays
// held, with the pages it may hold, and a folder below it is made there
// while it is still this process's own.
int CreateTempFolderPath(QString& folder);

// Deletes a temporary root this process held, or a folder below it, with
// all it holds, only while the root under its name is the very folder this
// process made or checked, still the user's (made private again where its
// mode was changed); else it deletes nothing (EACCES). A root is kept, too,
// while another process holds its lock file. It stays on the root's file
// system. 0 also when the folder does not exist.
int DeleteTempFolder(const QString& folder);
// Deletes a file below the temporary root by the same rule; a link is
// removed, never followed. 0 also when the file does not exist.
int DeleteTempFile(const QString& file);

// Deletes every root this process held, by DeleteTempFolder's rule: at the
// close, the root claimed at the start and any of its own that took its place.
void DeleteTempRoots();

// Whether the path is the temporary root, or a root this process held, or
// lies below one.
bool IsInTempRoot(const QString& path);
