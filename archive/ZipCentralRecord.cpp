#include "archive/ZipCentralRecord.h"

#include "archive/Zip64Block.h"
#include "archive/ZipResult.h"
#include "archive/ZipSource.h"

#include <QByteArray>
#include <QtEndian>

namespace {

constexpr quint32 kCentralSignature = 0x02014B50;
constexpr quint64 kRecordSize = 46;  // the fixed part, before the name and the extra field

}  // namespace

quint32 ReadZipCentralFields(const ZipSource& source, quint64 offset, const unz_file_info64& info,
                             ZipCentralFields& fields)
{
    uchar record[kRecordSize];
    if (source.ReadAt(offset, record, sizeof record) != static_cast<qint64>(sizeof record) ||
        qFromLittleEndian<quint32>(record) != kCentralSignature ||
        qFromLittleEndian<quint16>(record + 28) != info.size_filename ||
        qFromLittleEndian<quint16>(record + 30) != info.size_file_extra) {
        return kZipCorrupt;
    }
    QByteArray extraField(static_cast<qsizetype>(info.size_file_extra), '\0');
    if (source.ReadAt(offset + kRecordSize + info.size_filename, extraField.data(),
                      static_cast<size_t>(extraField.size())) != extraField.size()) {
        return kZipCorrupt;
    }
    fields.compressedSize = qFromLittleEndian<quint32>(record + 20);
    fields.uncompressedSize = qFromLittleEndian<quint32>(record + 24);
    fields.localHeaderOffset = qFromLittleEndian<quint32>(record + 42);
    quint32 disk = qFromLittleEndian<quint16>(record + 34);
    Zip64Block block(extraField);
    const bool held = block.Resolve(fields.uncompressedSize) && block.Resolve(fields.compressedSize) &&
                      block.Resolve(fields.localHeaderOffset) && block.ResolveDisk(disk);
    return held ? kZipOk : kZipCorrupt;
}
