#pragma once

#include <QString>
#include <QStringList>

// Path helpers with '/' as the separator. Error codes are errno values (0 = success).
void AddBackslash(QString& path);  // appends the separator when missing
QString GetFolderPart(const QString& path);
QString GetFileTitlePart(const QString& path);
bool IsValidFileName(const QString& text);
// 0, ENOTDIR when a file holds a name on the path, ENOENT for a relative name
// without a folder part, else the errno of the first failing creation.
int CreateFolderPath(const QString& path);
// 0 also when the path does not exist; symbolic links inside are removed,
// never followed.
int DeleteFolderTree(const QString& path);
void ListFilesRecursive(const QString& folder, QStringList& list);
