#pragma once

#include <QtGlobal>

#include <minizip/unzip.h>

class ZipSource;

// The values of an entry's directory record that its zip64 block may hold.
struct ZipCentralFields {
    quint64 uncompressedSize = 0;
    quint64 compressedSize = 0;
    quint64 localHeaderOffset = 0;  // from the archive's start
};

// Reads the directory record at the source offset, which must be the one the
// unzip layer reports as info (same name and extra field lengths), and takes
// from the zip64 block of its extra field exactly the values its own fields
// mark, in the format's order: uncompressed size, compressed size, local
// header offset, disk number. The values not marked are the fields' own.
// kZipCorrupt when it is no such record or its block lacks a marked value.
quint32 ReadZipCentralFields(const ZipSource& source, quint64 offset, const unz_file_info64& info,
                             ZipCentralFields& fields);
