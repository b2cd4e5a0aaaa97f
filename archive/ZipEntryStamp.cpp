#include "archive/ZipEntryStamp.h"

#include <QDateTime>

namespace {

constexpr quint32 kReadOnly = 0x01;
constexpr quint32 kHidden = 0x02;
constexpr quint32 kSystem = 0x04;
constexpr quint32 kDirectory = 0x10;
constexpr quint32 kArchive = 0x20;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr qint64 kEpochDifference = 11644473600;

FileTime UnixToFileTime(qint64 seconds)
{
    return static_cast<FileTime>((seconds + kEpochDifference) * 10000000);
}

quint16 ReadLe16(const QByteArray& data, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(data[at]) | static_cast<quint8>(data[at + 1]) << 8);
}

qint32 ReadLe32(const QByteArray& data, qsizetype at)
{
    const quint32 value = static_cast<quint32>(ReadLe16(data, at)) | static_cast<quint32>(ReadLe16(data, at + 2)) << 16;
    return static_cast<qint32>(value);
}

}  // namespace

quint32 ZipAttributes(quint32 versionMadeBy, quint32 externalAttributes)
{
    const quint32 host = (versionMadeBy >> 8) & 0xFF;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        return externalAttributes & (kReadOnly | kHidden | kSystem | kDirectory | kArchive);
    }
    quint32 attributes = kArchive;
    if (externalAttributes & (1u << 30)) {
        attributes |= kDirectory;
    }
    if (!(externalAttributes & (1u << 23))) {
        attributes |= kReadOnly;
    }
    return attributes;
}

FileTime ZipDosTimeToFileTime(quint32 dosDateTime)
{
    const quint32 date = dosDateTime >> 16;
    const quint32 time = dosDateTime & 0xFFFF;
    const QDate day(1980 + static_cast<int>(date >> 9), static_cast<int>((date >> 5) & 0x0F),
                    static_cast<int>(date & 0x1F));
    const QTime clock(static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 0x3F),
                      static_cast<int>(2 * (time & 0x1F)));
    if (!day.isValid() || !clock.isValid()) {
        return 0;
    }
    return UnixToFileTime(QDateTime(day, clock, Qt::LocalTime).toSecsSinceEpoch());
}

void ApplyExtendedTimestamp(const QByteArray& extraField, ZipEntry& entry)
{
    const qsizetype length = extraField.size();
    if (length <= 4) {
        return;
    }
    for (qsizetype position = 0; position + 4 < length; position += 4 + ReadLe16(extraField, position + 2)) {
        if (extraField[position] != 'U' || extraField[position + 1] != 'T') {
            continue;
        }
        const quint8 flags = static_cast<quint8>(extraField[position + 4]);
        FileTime* const targets[] = {&entry.modificationTime, &entry.accessTime, &entry.creationTime};
        qsizetype at = position + 5;
        for (int bit = 0; bit < 3; ++bit) {
            if (!(flags & (1 << bit))) {
                continue;
            }
            if (at + 4 > length) {
                break;
            }
            *targets[bit] = UnixToFileTime(ReadLe32(extraField, at));
            at += 4;
        }
        return;
    }
}
