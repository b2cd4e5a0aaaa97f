#pragma once

#include <QString>
#include <QStringList>

// Path helpers with '/' as the separator. Error codes are errno values (0 = success).
void AddBackslash(QString& path);  // appends the separator when missing
QString GetFolderPart(const QString& path);
QString GetFileTitlePart(const QString& path);
bool IsValidFileName(const QString& text);
int CreateFolderPath(const QString& path);
int DeleteFolderTree(const QString& path);
void ListFilesRecursive(const QString& folder, QStringList& list);
