#pragma once

#include <QByteArray>
#include <QtGlobal>

// The value a header field holds when the real one is in the zip64 block.
constexpr quint64 kZip64Marked = 0xFFFFFFFF;
// The same for the 16-bit disk number of a directory record.
constexpr quint32 kZip64DiskMarked = 0xFFFF;

// The zip64 block (id 0x0001) of a header's extra field. It holds values in
// a fixed order, uncompressed size, compressed size, local header offset (8
// bytes each), disk number (4 bytes), but only those whose header field is
// marked, so each is taken in turn, in that order.
class Zip64Block {
public:
    explicit Zip64Block(const QByteArray& extraField);

    // Replaces a marked value with the block's next one; false when the
    // block does not hold it. An unmarked value stays and takes nothing.
    bool Resolve(quint64& value);
    // The same for a directory record's disk number.
    bool ResolveDisk(quint32& disk);

private:
    bool TakeNext(qsizetype size, quint64& value);

    QByteArray m_data;
    qsizetype m_nNext = 0;
};
