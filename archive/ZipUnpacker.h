#pragma once

#include "archive/ZipEntry.h"
#include "archive/ZipEntryCheck.h"
#include "archive/ZipLocalHeader.h"

#include <QByteArray>
#include <QString>

#include <minizip/unzip.h>

#include <map>
#include <memory>
#include <optional>
#include <utility>

class ZipEntryReader;
class ZipSource;

// Reads the entries of one zip archive: the unzip layer walks the central
// directory and reports each record; sizes and offsets held in zip64 blocks,
// the local header check and the data are read here. Lookup with name
// decoding and sanitising, extraction to memory in pieces, traditional
// encryption. Every operation returns a ZipResult code.
class ZipUnpacker {
public:
    explicit ZipUnpacker(const char* password);
    ~ZipUnpacker();
    ZipUnpacker(const ZipUnpacker&) = delete;
    ZipUnpacker& operator=(const ZipUnpacker&) = delete;

    quint32 Open(const QString& fileName);
    quint32 GetEntry(int index, ZipEntry* entry);
    // One read of at most length bytes, their number in *delivered when asked;
    // kZipMoreData while the entry goes on, and a further call with the same
    // index continues it. kZipCorrupt when at the entry's end the bytes
    // delivered do not match the directory's CRC-32 and size.
    quint32 ExtractToMemory(int index, void* buffer, unsigned length, unsigned* delivered = nullptr);
    quint32 Close();

private:
    void CloseCurrentEntry();
    quint32 GoToEntry(int index);
    quint32 ReadCurrentInfo(unz_file_info64& info, quint64& localHeaderOffset);
    quint32 ReadCentralFields(unz_file_info64& info, quint64& localHeaderOffset);
    quint32 ReadCurrentName(const unz_file_info64& info, QByteArray& rawName);
    quint32 ClaimDataRange(int index, quint64 start, quint64 size);
    quint32 OpenCurrentEntry(const unz_file_info64& info, quint64 dataStart);
    void FillEntry(const unz_file_info64& info, const QByteArray& rawName, const QByteArray& extraField,
                   ZipEntry& entry) const;
    quint32 ReadOpenEntry(void* buffer, unsigned length, unsigned* delivered);

    unzFile m_archive = nullptr;
    ZipSource* m_source = nullptr;  // owned by the unzip layer
    int m_nEntryCount = 0;
    int m_nFileNumber = -1;       // the unzip layer's current entry, -1 when unknown
    quint64 m_nArchiveStart = 0;  // where the archive begins in the source
    int m_nCurrentIndex = -1;     // the entry open for reading
    ZipEntry m_cachedEntry;
    int m_nCachedIndex = -1;
    std::optional<QByteArray> m_password;
    std::unique_ptr<ZipEntryReader> m_reader;  // of the open entry
    ZipEntryCheck m_check;                     // of the open entry's bytes
    // Where the data of each entry looked up so far lies: start -> {end, index}.
    std::map<quint64, std::pair<quint64, int>> m_dataRanges;
};
