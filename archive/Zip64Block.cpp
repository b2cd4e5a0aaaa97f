#include "archive/Zip64Block.h"

#include <QtEndian>

namespace {

constexpr quint16 kZip64BlockId = 0x0001;
constexpr qsizetype kBlockHeaderSize = 4;

}  // namespace

Zip64Block::Zip64Block(const QByteArray& extraField)
{
    // Blocks follow each other as id, data size and data; one that runs past
    // the field's end is damaged and ends the walk.
    const auto* bytes = reinterpret_cast<const uchar*>(extraField.constData());
    for (qsizetype at = 0; at + kBlockHeaderSize <= extraField.size();) {
        const quint16 id = qFromLittleEndian<quint16>(bytes + at);
        const qsizetype size = qFromLittleEndian<quint16>(bytes + at + 2);
        if (at + kBlockHeaderSize + size > extraField.size()) {
            return;
        }
        if (id == kZip64BlockId) {
            m_data = extraField.mid(at + kBlockHeaderSize, size);
            return;
        }
        at += kBlockHeaderSize + size;
    }
}

bool Zip64Block::Resolve(quint64& value)
{
    return value != kZip64Marked || TakeNext(8, value);
}

bool Zip64Block::ResolveDisk(quint32& disk)
{
    quint64 value = disk;
    if (disk == kZip64DiskMarked && !TakeNext(4, value)) {
        return false;
    }
    disk = static_cast<quint32>(value);
    return true;
}

bool Zip64Block::TakeNext(qsizetype size, quint64& value)
{
    if (m_nNext + size > m_data.size()) {
        return false;
    }
    const char* at = m_data.constData() + m_nNext;
    value = size == 8 ? qFromLittleEndian<quint64>(at) : qFromLittleEndian<quint32>(at);
    m_nNext += size;
    return true;
}
