#pragma once

#include <QByteArray>
#include <QtGlobal>

// The value a header field holds when the real one is in the zip64 block.
constexpr quint64 kZip64Marked = 0xFFFFFFFF;

// The zip64 block (id 0x0001) of a header's extra field. It holds 8-byte
// values in a fixed order, uncompressed size, compressed size, local header
// offset, but only those whose header field is marked, so each is taken in
// turn, in that order.
class Zip64Block {
public:
    explicit Zip64Block(const QByteArray& extraField);

    // Replaces a marked value with the block's next one; false when the
    // block does not hold it. An unmarked value stays and takes nothing.
    bool Resolve(quint64& value);
    // The block's next value when it holds one more.
    bool TakeNext(quint64& value);

private:
    QByteArray m_data;
    qsizetype m_nNext = 0;
};
