#pragma once

#include <QString>
#include <QtGlobal>

// A file time: 100-nanosecond intervals since 1601-01-01 UTC.
using FileTime = quint64;

// One entry of a zip archive as the zip reader reports it. For the count
// query (index -1) only the index is set: it holds the number of entries.
struct ZipEntry {
    int index = 0;
    QString name;            // decoded and sanitised, at most 259 characters
    quint32 attributes = 0;  // 0x01 read-only, 0x02 hidden, 0x04 system, 0x10 folder, 0x20 archive
    FileTime accessTime = 0;
    FileTime creationTime = 0;
    FileTime modificationTime = 0;
    int compressedSize = 0;
    int uncompressedSize = 0;
};
