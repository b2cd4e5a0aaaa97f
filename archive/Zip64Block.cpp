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
    return value != kZip64Marked || TakeNext(value);
}

bool Zip64Block::TakeNext(quint64& value)
{
    if (m_nNext + 8 > m_data.size()) {
        return false;
    }
    value = qFromLittleEndian<quint64>(m_data.constData() + m_nNext);
    m_nNext += 8;
    return true;
}
