#include "archive/ZipArchiveStart.h"

#include "archive/ZipSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

namespace {

constexpr quint64 kEndRecordSize = 22;
constexpr quint64 kLargestComment = 0xFFFF;
constexpr qsizetype kLocatorSize = 20;  // the zip64 locator, right before the end record
constexpr QByteArrayView kEndSignature("PK\x05\x06", 4);
constexpr QByteArrayView kLocatorSignature("PK\x06\x07", 4);

}  // namespace

quint64 FindZipArchiveStart(const ZipSource& source)
{
    // The end record is the last one that fits, at most a comment's length
    // before the end.
    const quint64 size = source.Size();
    const quint64 tailStart = size > kEndRecordSize + kLargestComment ? size - kEndRecordSize - kLargestComment : 0;
    QByteArray tail(static_cast<qsizetype>(size - tailStart), '\0');
    if (size < kEndRecordSize ||
        source.ReadAt(tailStart, tail.data(), static_cast<size_t>(tail.size())) != tail.size()) {
        return 0;
    }
    const qsizetype end = tail.lastIndexOf(kEndSignature, tail.size() - static_cast<qsizetype>(kEndRecordSize));
    if (end < 0 || (end >= kLocatorSize && QByteArrayView(tail).sliced(end - kLocatorSize, 4) == kLocatorSignature)) {
        return 0;
    }
    const auto* record = reinterpret_cast<const uchar*>(tail.constData() + end);
    const quint64 directoryEnd =
        quint64(qFromLittleEndian<quint32>(record + 12)) + qFromLittleEndian<quint32>(record + 16);
    const quint64 endAt = tailStart + static_cast<quint64>(end);
    return endAt > directoryEnd ? endAt - directoryEnd : 0;
}
