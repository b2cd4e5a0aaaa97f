#include "archive/ZipUnpacker.h"

#include "archive/ZipArchiveStart.h"
#include "archive/ZipCentralRecord.h"
#include "archive/ZipEntryName.h"
#include "archive/ZipEntryReader.h"
#include "archive/ZipEntryStamp.h"
#include "archive/ZipResult.h"
#include "archive/ZipSource.h"

#include <climits>
#include <iterator>
#include <limits>

namespace {

constexpr int kMaxNameLength = 259;
constexpr unsigned kStored = 0;
constexpr unsigned kDeflated = 8;

}  // namespace

ZipUnpacker::ZipUnpacker(const char* password)
{
    if (password != nullptr) {
        m_password = QByteArray(password);
    }
}

ZipUnpacker::~ZipUnpacker()
{
    Close();
}

quint32 ZipUnpacker::Open(const QString& fileName)
{
    if (m_archive != nullptr || m_nCurrentIndex != -1) {
        return kZipNotInitialised;
    }
    quint32 result = kZipOk;
    ZipSource* source = ZipSource::OpenFile(fileName, &result);
    if (source == nullptr) {
        return result;
    }
    zlib_filefunc64_def functions = ZipSource::FileFunctions();
    // From here the unzip layer owns the source, also when it fails.
    m_archive = unzOpen2_64(source, &functions);
    if (m_archive == nullptr) {
        return kZipCannotOpen;
    }
    m_source = source;
    m_nArchiveStart = FindZipArchiveStart(*source);
    unz_global_info64 info{};
    if (unzGetGlobalInfo64(m_archive, &info) != UNZ_OK || info.number_entry > static_cast<ZPOS64_T>(INT_MAX)) {
        Close();
        return kZipCannotOpen;
    }
    m_nEntryCount = static_cast<int>(info.number_entry);
    return kZipOk;
}

quint32 ZipUnpacker::Close()
{
    CloseCurrentEntry();
    if (m_archive != nullptr) {
        unzClose(m_archive);
    }
    m_archive = nullptr;
    m_source = nullptr;
    m_nFileNumber = -1;
    m_nArchiveStart = 0;
    m_nCachedIndex = -1;
    m_dataRanges.clear();
    return kZipOk;
}

void ZipUnpacker::CloseCurrentEntry()
{
    if (m_nCurrentIndex != -1) {
        m_reader.reset();
        m_nCurrentIndex = -1;
    }
}

quint32 ZipUnpacker::GoToEntry(int index)
{
    if (m_nFileNumber < 0 || index < m_nFileNumber) {
        if (unzGoToFirstFile(m_archive) != UNZ_OK) {
            m_nFileNumber = -1;
            return kZipCorrupt;
        }
        m_nFileNumber = 0;
    }
    while (m_nFileNumber < index) {
        if (unzGoToNextFile(m_archive) != UNZ_OK) {
            m_nFileNumber = -1;  // the layer cannot go on from here; start afresh next time
            return kZipCorrupt;
        }
        ++m_nFileNumber;
    }
    return kZipOk;
}

// Reads the central-directory information of the current entry with its
// real sizes and its local header's place in the source, and refuses methods
// other than stored and deflated and sizes beyond the limit.
quint32 ZipUnpacker::ReadCurrentInfo(unz_file_info64& info, quint64& localHeaderOffset)
{
    if (unzGetCurrentFileInfo64(m_archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return kZipCorrupt;
    }
    if (info.compression_method != kStored && info.compression_method != kDeflated) {
        return kZipCorrupt;
    }
    if (const quint32 result = ReadCentralFields(info, localHeaderOffset)) {
        return result;
    }
    if (info.uncompressed_size > static_cast<ZPOS64_T>(kZipMaxEntrySize) ||
        info.compressed_size > static_cast<ZPOS64_T>(INT_MAX)) {
        return kZipNoMemory;
    }
    return kZipOk;
}

// The unzip layer reports the record's 32-bit sizes as they stand, also where
// they are marked as held in the zip64 block, and not the local header's
// offset: those come from the record itself, read where the layer found it.
quint32 ZipUnpacker::ReadCentralFields(unz_file_info64& info, quint64& localHeaderOffset)
{
    ZipCentralFields fields;
    if (const quint32 result =
            ReadZipCentralFields(*m_source, m_nArchiveStart + unzGetOffset64(m_archive), info, fields)) {
        return result;
    }
    if (fields.localHeaderOffset > std::numeric_limits<quint64>::max() - m_nArchiveStart) {
        return kZipCorrupt;
    }
    info.uncompressed_size = fields.uncompressedSize;
    info.compressed_size = fields.compressedSize;
    localHeaderOffset = m_nArchiveStart + fields.localHeaderOffset;
    return kZipOk;
}

// The whole raw name, up to a zero byte in it: a cut name could lose its file
// name or end inside a character.
quint32 ZipUnpacker::ReadCurrentName(const unz_file_info64& info, QByteArray& rawName)
{
    rawName = QByteArray(static_cast<qsizetype>(info.size_filename) + 1, '\0');
    if (unzGetCurrentFileInfo64(m_archive, nullptr, rawName.data(), static_cast<uLong>(rawName.size()), nullptr, 0,
                                nullptr, 0) != UNZ_OK) {
        return kZipCorrupt;
    }
    rawName.truncate(rawName.indexOf('\0'));
    return kZipOk;
}

// Refuses an entry whose data overlaps another entry's: a sound archive never
// shares data, while one that points many entries at the same data would
// unpack far more than it holds, whatever the limit per entry.
quint32 ZipUnpacker::ClaimDataRange(int index, quint64 start, quint64 size)
{
    if (size == 0) {
        return kZipOk;
    }
    const quint64 end = start + size;
    const auto next = m_dataRanges.lower_bound(start);
    if (next != m_dataRanges.end() && next->first < end && next->second.second != index) {
        return kZipCorrupt;
    }
    if (next != m_dataRanges.begin()) {
        const auto previous = std::prev(next);
        if (previous->second.first > start && previous->second.second != index) {
            return kZipCorrupt;
        }
    }
    m_dataRanges[start] = {end, index};
    return kZipOk;
}

void ZipUnpacker::FillEntry(const unz_file_info64& info, const QByteArray& rawName, const QByteArray& extraField,
                            ZipEntry& entry) const
{
    // Fitting drops leading steps and may uncover an empty step or a drive.
    entry.name = SanitiseZipName(FitZipName(SanitiseZipName(DecodeZipName(rawName)), kMaxNameLength));
    entry.index = m_nFileNumber;
    entry.attributes = ZipAttributes(static_cast<quint32>(info.version), static_cast<quint32>(info.external_fa));
    const FileTime time = ZipDosTimeToFileTime(static_cast<quint32>(info.dosDate));
    entry.accessTime = entry.creationTime = entry.modificationTime = time;
    ApplyExtendedTimestamp(extraField, entry);
    entry.compressedSize = static_cast<int>(info.compressed_size);
    entry.uncompressedSize = static_cast<int>(info.uncompressed_size);
}

quint32 ZipUnpacker::GetEntry(int index, ZipEntry* entry)
{
    if (m_archive == nullptr || entry == nullptr || index < -1 || index >= m_nEntryCount) {
        return kZipBadArguments;
    }
    CloseCurrentEntry();
    if (index == -1) {
        *entry = ZipEntry{};
        entry->index = m_nEntryCount;
        return kZipOk;
    }
    if (index == m_nCachedIndex) {
        *entry = m_cachedEntry;
        return kZipOk;
    }
    if (const quint32 result = GoToEntry(index)) {
        return result;
    }
    unz_file_info64 info{};
    quint64 localHeaderOffset = 0;
    QByteArray rawName;
    if (const quint32 result = ReadCurrentInfo(info, localHeaderOffset)) {
        return result;
    }
    if (const quint32 result = ReadCurrentName(info, rawName)) {
        return result;
    }
    ZipLocalHeader local;
    if (const quint32 result = ReadZipLocalHeader(*m_source, localHeaderOffset, info, local)) {
        return result;
    }
    if (const quint32 result = ClaimDataRange(index, local.dataStart, info.compressed_size)) {
        return result;
    }
    FillEntry(info, rawName, local.extraField, *entry);
    m_cachedEntry = *entry;
    m_nCachedIndex = index;
    return kZipOk;
}

// Opens the current entry for reading, with the password (empty when none
// was given) when it is encrypted.
quint32 ZipUnpacker::OpenCurrentEntry(const unz_file_info64& info, quint64 dataStart)
{
    m_reader = std::make_unique<ZipEntryReader>(*m_source, dataStart, info);
    const quint32 result = m_reader->Open(m_password.value_or(QByteArray()));
    if (result != kZipOk) {
        m_reader.reset();
    }
    return result;
}

quint32 ZipUnpacker::ExtractToMemory(int index, void* buffer, unsigned length, unsigned* delivered)
{
    if (delivered != nullptr) {
        *delivered = 0;
    }
    if (m_archive == nullptr || index < 0 || index >= m_nEntryCount || (buffer == nullptr && length > 0)) {
        if (index != m_nCurrentIndex) {
            CloseCurrentEntry();
        }
        return kZipBadArguments;
    }
    if (index != m_nCurrentIndex) {
        CloseCurrentEntry();
        if (const quint32 result = GoToEntry(index)) {
            return result;
        }
        unz_file_info64 info{};
        quint64 localHeaderOffset = 0;
        if (const quint32 result = ReadCurrentInfo(info, localHeaderOffset)) {
            return result;
        }
        // An entry whose local header does not hold cannot be opened.
        ZipLocalHeader local;
        if (ReadZipLocalHeader(*m_source, localHeaderOffset, info, local) != kZipOk) {
            return kZipFlation;
        }
        if (const quint32 result = OpenCurrentEntry(info, local.dataStart)) {
            return result;
        }
        m_check.Start(static_cast<quint32>(info.crc), info.uncompressed_size);
        m_nCurrentIndex = index;
    }
    return ReadOpenEntry(buffer, length, delivered);
}

// One read of the open entry; at its end the bytes delivered must match the
// directory's CRC-32 and size, else the entry is damaged.
quint32 ZipUnpacker::ReadOpenEntry(void* buffer, unsigned length, unsigned* delivered)
{
    bool ended = false;
    const int count = m_reader->Read(static_cast<char*>(buffer), length, ended);
    if (count > 0) {
        m_check.Add(buffer, static_cast<unsigned>(count));
        if (delivered != nullptr) {
            *delivered = static_cast<unsigned>(count);
        }
    }
    if (count <= 0) {
        CloseCurrentEntry();
    }
    if (ended) {
        return m_check.Matches() ? kZipOk : kZipCorrupt;
    }
    return count > 0 ? kZipMoreData : kZipFlation;
}
