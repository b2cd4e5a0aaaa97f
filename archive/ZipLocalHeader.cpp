#include "archive/ZipLocalHeader.h"

#include "archive/Zip64Block.h"
#include "archive/ZipResult.h"
#include "archive/ZipSource.h"

#include <QtEndian>

namespace {

constexpr quint32 kLocalSignature = 0x04034B50;
constexpr quint16 kDataDescriptorFlag = 0x08;

// Whether the header's CRC-32 and sizes are the directory record's.
bool SameCrcAndSizes(const uchar* fixed, const QByteArray& extraField, const unz_file_info64& info)
{
    quint64 compressed = qFromLittleEndian<quint32>(fixed + 18);
    quint64 uncompressed = qFromLittleEndian<quint32>(fixed + 22);
    // A local zip64 block holds both sizes once either is marked.
    if (compressed == kZip64Marked || uncompressed == kZip64Marked) {
        compressed = uncompressed = kZip64Marked;
    }
    Zip64Block block(extraField);
    return qFromLittleEndian<quint32>(fixed + 14) == info.crc && block.Resolve(uncompressed) &&
           block.Resolve(compressed) && uncompressed == info.uncompressed_size && compressed == info.compressed_size;
}

}  // namespace

quint32 ReadZipLocalHeader(const ZipSource& source, quint64 offset, const unz_file_info64& info, ZipLocalHeader& header)
{
    if (!source.m_bSeekable) {
        return kZipReadFailed;
    }
    uchar fixed[kZipLocalHeaderSize];
    if (source.ReadAt(offset, fixed, sizeof fixed) != static_cast<qint64>(sizeof fixed) ||
        qFromLittleEndian<quint32>(fixed) != kLocalSignature) {
        return kZipCorrupt;
    }
    const quint16 flags = qFromLittleEndian<quint16>(fixed + 6);
    const quint16 method = qFromLittleEndian<quint16>(fixed + 8);
    const quint16 nameLength = qFromLittleEndian<quint16>(fixed + 26);
    const quint16 extraLength = qFromLittleEndian<quint16>(fixed + 28);
    if (method != info.compression_method || nameLength != info.size_filename) {
        return kZipCorrupt;
    }
    const quint64 extraStart = offset + kZipLocalHeaderSize + nameLength;
    header.extraField = QByteArray(extraLength, '\0');
    if (source.ReadAt(extraStart, header.extraField.data(), extraLength) != extraLength) {
        return kZipReadFailed;
    }
    if (!(flags & kDataDescriptorFlag) && !SameCrcAndSizes(fixed, header.extraField, info)) {
        return kZipCorrupt;
    }
    header.dataStart = extraStart + extraLength;
    return kZipOk;
}
