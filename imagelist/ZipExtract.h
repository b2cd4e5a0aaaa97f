#pragma once

#include <QString>

// What one extraction may write, -1 meaning no limit: room is the free
// space it may fill, checked against the sizes the entries claim before
// anything is written; bound is the number of bytes it may write, counted as
// they are written.
struct ZipExtractLimits {
    qint64 room = -1;
    qint64 bound = -1;
};

// ExtractZip's result when writing on would pass the bound; the files
// written before stay for the caller to delete.
inline constexpr int kZipExtractBoundReached = -2;

// Unpacks every file of a zip archive below folder (a path ending in '/'),
// creating folders as needed; entries whose name is left empty or names only
// a folder are skipped, and an entry whose name an earlier one took gets a
// free one in the same folder ("name(2).ext"). Returns 0 when done, 1 when an
// encrypted entry needs a password (none or a wrong one given),
// kZipExtractBoundReached, or -1 on failure with the reason in errorText:
// also, before anything is written, when the sizes the entries claim exceed
// the free space of the folder's file system or the room.
int ExtractZip(const QString& archivePath, const QString& folder, const char* password, QString& errorText,
               const ZipExtractLimits& limits = {});

// The free bytes of the file system the folder lies on, or will lie on once
// made; -1 when unknown.
qint64 FreeBytesFor(const QString& folder);
