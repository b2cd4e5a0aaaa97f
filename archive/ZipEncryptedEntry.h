#pragma once

#include "archive/ZipKeys.h"

#include <QByteArray>

#include <minizip/unzip.h>
#include <zlib.h>

#include <memory>

// Reads an entry encrypted with the traditional zip encryption: the unzip
// layer delivers the raw bytes, which are decrypted here and, for deflated
// entries, raw-inflated, never beyond the entry's uncompressed size.
class ZipEncryptedEntry {
public:
    ZipEncryptedEntry(unzFile archive, const QByteArray& password);
    ~ZipEncryptedEntry();
    ZipEncryptedEntry(const ZipEncryptedEntry&) = delete;
    ZipEncryptedEntry& operator=(const ZipEncryptedEntry&) = delete;

    // Opens the current entry of the archive; kZipBadPassword when the
    // password does not give the header's check byte.
    quint32 Open(const unz_file_info64& info);
    // Like the unzip layer's read: bytes delivered, 0 when nothing is left,
    // negative on failure; ended tells whether the entry is complete.
    int Read(char* buffer, unsigned length, bool& ended);

private:
    int ReadStored(char* buffer, unsigned length);
    int ReadDeflated(char* buffer, unsigned length);

    unzFile m_archive;
    ZipKeys m_keys;
    bool m_bOpen = false;
    bool m_bDeflated = false;
    bool m_bInflating = false;
    bool m_bStreamEnded = false;
    quint64 m_nRemaining = 0;
    z_stream m_stream{};
    std::unique_ptr<char[]> m_input;
};
