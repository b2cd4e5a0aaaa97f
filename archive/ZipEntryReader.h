#pragma once

#include "archive/ZipKeys.h"

#include <QByteArray>

#include <minizip/unzip.h>
#include <zlib.h>

#include <memory>
#include <optional>

class ZipSource;

// Reads the data of one entry straight from the archive file, since the
// unzip layer knows only the 32-bit sizes: the bytes from the entry's data
// start up to its compressed size, decrypted when the entry is encrypted with
// the traditional zip encryption, raw-inflated when deflated, and never
// beyond its uncompressed size.
class ZipEntryReader {
public:
    // info holds the entry's real sizes.
    ZipEntryReader(const ZipSource& source, quint64 dataStart, const unz_file_info64& info);
    ~ZipEntryReader();
    ZipEntryReader(const ZipEntryReader&) = delete;
    ZipEntryReader& operator=(const ZipEntryReader&) = delete;

    // Prepares the reading; for an encrypted entry kZipBadPassword when the
    // password (empty when none was given) does not give the check byte of
    // its encryption header.
    quint32 Open(const QByteArray& password);
    // Like the unzip layer's read: bytes delivered, 0 when nothing is left,
    // negative on failure; ended tells whether the entry is complete.
    int Read(char* buffer, unsigned length, bool& ended);

private:
    int ReadRaw(char* buffer, unsigned length);
    int ReadDeflated(char* buffer, unsigned length);

    const ZipSource& m_source;
    unz_file_info64 m_info;
    quint64 m_nPosition;            // archive offset of the next raw byte
    quint64 m_nRawRemaining;        // raw bytes left of the compressed size
    quint64 m_nRemaining = 0;       // bytes left of the uncompressed size
    std::optional<ZipKeys> m_keys;  // for an encrypted entry
    bool m_bDeflated = false;
    bool m_bInflating = false;
    bool m_bStreamEnded = false;
    z_stream m_stream{};
    std::unique_ptr<char[]> m_input;
};
