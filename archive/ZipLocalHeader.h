#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <minizip/unzip.h>

class ZipSource;

// The fixed part of a local header, before its name and extra field.
constexpr quint64 kZipLocalHeaderSize = 30;

// What an entry's local header adds to its directory record.
struct ZipLocalHeader {
    QByteArray extraField;
    quint64 dataStart = 0;  // archive offset of the entry's data
};

// Reads the local header at the archive offset and checks it against the
// entry's directory record, whose sizes are the real ones: kZipCorrupt when
// it is no local header, when its method or name length differ, or, unless
// its sizes follow the data, when its CRC-32 or a size differs (sizes held
// in its zip64 block included); kZipReadFailed when its extra field cannot
// be read.
quint32 ReadZipLocalHeader(const ZipSource& source, quint64 offset, const unz_file_info64& info,
                           ZipLocalHeader& header);
