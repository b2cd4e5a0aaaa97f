#pragma once

// Writes RAR 4 archives with stored (uncompressed) members for the tests of
// the rar library stand-in, following the published RAR 4 block layout:
// marker block, archive header, one file header plus data per member, end
// block. Every header carries the low 16 bits of the CRC-32 of its bytes
// from the type field on.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <zlib.h>

#include <vector>

struct RarTestMember {
    QByteArray name;  // as stored; '\' separates folders for a Windows host
    QByteArray data{};
    bool folder = false;
    bool encrypted = false;
    qint64 unpackedSize = -1;  // the size the header claims when >= 0
};

namespace rar_test {

inline void Put16(QByteArray& out, quint32 value)
{
    out.append(static_cast<char>(value & 0xFF)).append(static_cast<char>((value >> 8) & 0xFF));
}

inline void Put32(QByteArray& out, quint32 value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline quint32 Crc(const QByteArray& bytes)
{
    return static_cast<quint32>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), static_cast<uInt>(bytes.size())));
}

// A block: CRC, then type, flags, size and the rest of the header.
inline QByteArray Block(quint8 type, quint32 flags, const QByteArray& rest)
{
    QByteArray body;
    body.append(static_cast<char>(type));
    Put16(body, flags);
    Put16(body, static_cast<quint32>(7 + rest.size()));
    body.append(rest);
    QByteArray block;
    Put16(block, Crc(body) & 0xFFFF);
    return block + body;
}

}  // namespace rar_test

inline QByteArray MakeTestRar(const std::vector<RarTestMember>& members)
{
    using namespace rar_test;
    QByteArray out("Rar!\x1A\x07\x00", 7);
    out += Block(0x73, 0, QByteArray(6, '\0'));
    for (const RarTestMember& member : members) {
        const QByteArray data = member.folder ? QByteArray() : member.data;
        QByteArray rest;
        Put32(rest, static_cast<quint32>(data.size()));  // packed size
        Put32(rest, static_cast<quint32>(member.unpackedSize >= 0 ? member.unpackedSize : data.size()));
        rest.append('\x02');  // host: Win32
        Put32(rest, Crc(data));
        Put32(rest, 0x5A8C6000);             // DOS time
        rest.append(static_cast<char>(29));  // version needed
        rest.append('\x30');                 // method: store
        Put16(rest, static_cast<quint32>(member.name.size()));
        Put32(rest, member.folder ? 0x10 : 0x20);
        rest.append(member.name);
        quint32 flags = 0x8000;
        if (member.folder) {
            flags |= 0x00E0;
        }
        if (member.encrypted) {
            flags |= 0x0004 | 0x0400;
            rest.append(QByteArray("saltsalt", 8));
        }
        out += Block(0x74, flags, rest) + data;
    }
    out += Block(0x7B, 0x4000, QByteArray());
    return out;
}

inline bool WriteTestRar(const QString& path, const std::vector<RarTestMember>& members)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(MakeTestRar(members)) >= 0;
}
