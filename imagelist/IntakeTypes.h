#pragma once

#include <QString>

#include "archive/ArcLib.h"

// The list holds at most this many entries.
inline constexpr int kMaxListEntries = 3000;
// One intake extracts at most this many archives and writes about this many
// bytes: archives inside archives could otherwise multiply without bound.
inline constexpr int kMaxIntakeArchives = 300;
inline constexpr qint64 kMaxIntakeBytes = qint64(8) << 30;

// File types that intake takes, judged by the path's extension in any case.
bool IsImageFileType(const QString& path);
bool IsArchiveFileType(const QString& path);
bool IsRarFileType(const QString& path);

// The open-file dialog's filter, pairs of caption and patterns split by '|';
// rar archives are offered only when the rar library is available.
QString GetOpenFileFilter(const QString& unrarLibrary = QString::fromLatin1(kUnrarLibraryName));
