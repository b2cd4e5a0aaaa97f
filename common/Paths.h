#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct stat;

// Path helpers with '/' as the separator. Error codes are errno values (0 = success).
void AddBackslash(QString& path);  // appends the separator when missing
// The path without trailing separators ("/" stays): a file or link named
// "name/" is seen for what it is only without them.
QString RemoveTrailingSeparators(const QString& path);
QString GetFolderPart(const QString& path);
QString GetFileTitlePart(const QString& path);
// The file name part's extension with its dot ("" when it has none).
QString GetExtensionPart(const QString& path);
// True when text may be a file name: every character allowed in one, and
// neither "." nor ".."; an empty text passes.
bool IsValidFileName(const QString& text);
// 0, ENOTDIR when a file holds a name on the path, ENOENT for a relative name
// without a folder part, else the errno of the first failing creation. A
// folder in the temporary root is made private (CreateTempFolderPath).
int CreateFolderPath(const QString& path);
// 0 also when the path does not exist; walked by descriptors, symbolic links
// inside are removed, never followed. In the temporary root only while the
// root is still this process's (DeleteTempFolder).
int DeleteFolderTree(const QString& path);
void ListFilesRecursive(const QString& folder, QStringList& list);

struct FolderItem {
    QString path;
    bool isFolder;  // never for a symbolic link
};
// The entries of a folder without "." and "..", in name order; none when the
// folder cannot be read.
std::vector<FolderItem> ListFolder(const QString& folder);

// The status of what the path names, links followed; false when nothing.
bool GetFileStatus(const QString& path, struct stat& status);
