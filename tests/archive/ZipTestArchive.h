#pragma once

// Writes zip archives for the tests with minizip's writer.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <minizip/zip.h>
#include <zlib.h>

#include <string>
#include <vector>

struct ZipTestEntry {
    QByteArray name;  // raw bytes as stored
    QByteArray data{};
    int method = Z_DEFLATED;  // 0 stored, 8 deflated, or any other number stored raw
    const char* password = nullptr;
    quint32 versionMadeBy = 0;  // high byte: host system
    quint32 externalAttributes = 0;
    quint32 dosDate = 0x5A8C6000;  // 2025-04-12 12:00:00
    QByteArray localExtra{};
    qint64 claimedSize = -1;      // uncompressed size written into the directory when >= 0
    qint64 claimedCrc = -1;       // CRC-32 written into both headers when >= 0
    bool dataDescriptor = false;  // general-purpose flag bit 3: the check byte comes from the time
    QByteArray centralExtra{};    // the directory record's extra field
};

inline QByteArray RawDeflate(const QByteArray& data)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

inline quint32 Crc32(const QByteArray& data)
{
    return static_cast<quint32>(
        crc32(0, reinterpret_cast<const Bytef*>(data.constData()), static_cast<uInt>(data.size())));
}

// Sets the method field of the local and central headers of the entry named name.
inline bool SetZipMethod(const QString& path, const QByteArray& name, int method)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    QByteArray bytes = file.readAll();
    int patched = 0;
    const struct {
        QByteArray signature;
        int methodOffset;
        int nameOffset;
    } headers[] = {{QByteArray("PK\x03\x04", 4), 8, 30}, {QByteArray("PK\x01\x02", 4), 10, 46}};
    for (const auto& header : headers) {
        for (qsizetype at = bytes.indexOf(header.signature); at >= 0; at = bytes.indexOf(header.signature, at + 1)) {
            if (bytes.mid(at + header.nameOffset, name.size()) == name) {
                bytes[at + header.methodOffset] = static_cast<char>(method & 0xFF);
                bytes[at + header.methodOffset + 1] = static_cast<char>(method >> 8);
                ++patched;
            }
        }
    }
    file.seek(0);
    return patched == 2 && file.write(bytes) == bytes.size();
}

// The traditional zip encryption as the published format describes it:
// a 12-byte header ending in the check byte, then the data, all encrypted
// with keys set up from the password.
inline QByteArray EncryptForZip(const QByteArray& password, quint8 checkByte, const QByteArray& payload)
{
    quint32 keys[3] = {0x12345678, 0x23456789, 0x34567890};
    const z_crc_t* table = get_crc_table();
    auto crcStep = [table](quint32 crc, quint8 c) {
        return static_cast<quint32>(table[(crc ^ c) & 0xFF]) ^ (crc >> 8);
    };
    auto update = [&](quint8 c) {
        keys[0] = crcStep(keys[0], c);
        keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813u + 1;
        keys[2] = crcStep(keys[2], static_cast<quint8>(keys[1] >> 24));
    };
    for (const char c : password) {
        update(static_cast<quint8>(c));
    }
    QByteArray plain("\x5A\x13\xC7\x02\x99\x41\xEE\x70\x0B\x36\x88", 11);
    plain.append(static_cast<char>(checkByte)).append(payload);
    QByteArray out;
    for (const char c : plain) {
        const quint32 temp = (keys[2] & 0xFFFF) | 2;
        out.append(static_cast<char>(static_cast<quint8>(c) ^ static_cast<quint8>((temp * (temp ^ 1)) >> 8)));
        update(static_cast<quint8>(c));
    }
    return out;
}

// Entries with a method other than stored or deflated, with a claimed size
// or with a password are written raw: the data as given (deflated first when
// the method is 8, then encrypted when there is a password) and the claim in
// the directory.
inline bool WriteTestZip(const QString& path, const std::vector<ZipTestEntry>& entries)
{
    const QByteArray nativePath = QFile::encodeName(path);
    zipFile zip = zipOpen64(nativePath.constData(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return false;
    }
    bool ok = true;
    for (const ZipTestEntry& entry : entries) {
        zip_fileinfo info{};
        info.dosDate = entry.dosDate;
        info.external_fa = entry.externalAttributes;
        const bool otherMethod = entry.method != 0 && entry.method != Z_DEFLATED;
        const bool raw = entry.claimedSize >= 0 || entry.claimedCrc >= 0 || entry.password != nullptr || otherMethod;
        const quint32 flags = (entry.password != nullptr ? 0x01 : 0) | (entry.dataDescriptor ? 0x08 : 0);
        const bool big = entry.claimedSize > 0xFFFFFFF0LL;
        const std::string name = entry.name.toStdString();
        ok = ok &&
             zipOpenNewFileInZip4_64(zip, name.c_str(), &info, entry.localExtra.constData(),
                                     static_cast<uInt>(entry.localExtra.size()), entry.centralExtra.constData(),
                                     static_cast<uInt>(entry.centralExtra.size()), nullptr,
                                     otherMethod ? 0 : entry.method, 9, raw ? 1 : 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                     Z_DEFAULT_STRATEGY, nullptr, 0, entry.versionMadeBy, flags, big ? 1 : 0) == ZIP_OK;
        if (!ok) {
            break;
        }
        QByteArray payload = raw && entry.method == Z_DEFLATED ? RawDeflate(entry.data) : entry.data;
        if (entry.password != nullptr) {
            const quint8 check = entry.dataDescriptor ? static_cast<quint8>(entry.dosDate >> 8)
                                                      : static_cast<quint8>(Crc32(entry.data) >> 24);
            payload = EncryptForZip(entry.password, check, payload);
        }
        if (!payload.isEmpty()) {
            ok = zipWriteInFileInZip(zip, payload.constData(), static_cast<unsigned>(payload.size())) == ZIP_OK;
        }
        if (raw) {
            const qint64 size = entry.claimedSize >= 0 ? entry.claimedSize : entry.data.size();
            const quint32 crc = entry.claimedCrc >= 0 ? static_cast<quint32>(entry.claimedCrc) : Crc32(entry.data);
            ok = zipCloseFileInZipRaw64(zip, static_cast<ZPOS64_T>(size), crc) == ZIP_OK && ok;
        } else {
            ok = zipCloseFileInZip(zip) == ZIP_OK && ok;
        }
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    // The writer takes only stored and deflated entries: other methods are
    // written as stored and then set in both headers.
    for (const ZipTestEntry& entry : entries) {
        if (ok && entry.method != 0 && entry.method != Z_DEFLATED) {
            ok = SetZipMethod(path, entry.name, entry.method);
        }
    }
    return ok;
}

// Points every directory entry after the first at the first entry's local
// header and data, the way a small archive makes its data unpack many times.
inline bool ShareFirstEntryData(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    QByteArray bytes = file.readAll();
    const QByteArray central("PK\x01\x02", 4);
    const qsizetype first = bytes.indexOf(central);
    int patched = 0;
    for (qsizetype at = bytes.indexOf(central, first + 1); first >= 0 && at > 0; at = bytes.indexOf(central, at + 1)) {
        bytes.replace(at + 42, 4, bytes.mid(first + 42, 4));
        ++patched;
    }
    file.seek(0);
    return patched > 0 && file.write(bytes) == bytes.size();
}

// A "UT" extra block with the given flag byte and times.
inline QByteArray UtBlock(quint8 flags, const std::vector<qint32>& times)
{
    QByteArray block("UT");
    const quint16 size = static_cast<quint16>(1 + 4 * times.size());
    block.append(static_cast<char>(size & 0xFF)).append(static_cast<char>(size >> 8));
    block.append(static_cast<char>(flags));
    for (const qint32 time : times) {
        for (int shift = 0; shift < 32; shift += 8) {
            block.append(static_cast<char>((static_cast<quint32>(time) >> shift) & 0xFF));
        }
    }
    return block;
}

// Replaces the first occurrence of from in the file with to (of the same size).
inline bool PatchFile(const QString& path, const QByteArray& from, const QByteArray& to)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(from);
    if (at < 0 || from.size() != to.size()) {
        return false;
    }
    bytes.replace(at, to.size(), to);
    file.seek(0);
    return file.write(bytes) == bytes.size();
}

// Fields of a zip64 directory record that say "in the zip64 block".
enum Zip64Marks { kZip64Uncompressed = 1, kZip64Compressed = 2, kZip64Offset = 4, kZip64Disk = 8 };

// One entry of an archive written byte by byte with zip64 fields: its local
// header holds both sizes in a zip64 block (or plainly), its directory record
// the fields marked, with the claims given here in place of the true values.
struct Zip64TestEntry {
    QByteArray name;
    QByteArray data{};
    int method = Z_DEFLATED;
    int marks = kZip64Uncompressed | kZip64Compressed | kZip64Offset;
    bool centralBlock = true;   // whether the directory record holds its zip64 block at all
    int held = -1;              // the values the directory's block holds, when not the marked ones
    bool localBlock = true;     // whether the local header holds its sizes in a zip64 block, else plainly
    qint64 claimedSize = -1;    // the uncompressed size the directory's block claims, when >= 0
    qint64 localClaim = -1;     // the one the local block claims, when >= 0
    qint64 claimedOffset = -1;  // the local header's offset the directory's block claims, when >= 0
};

template <typename T>
void PutLe(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// The block's values, then, when disk is set, a 4-byte disk number 0.
inline QByteArray Zip64ExtraBlock(const std::vector<quint64>& values, bool disk = false)
{
    QByteArray block;
    PutLe<quint16>(block, 0x0001);
    PutLe<quint16>(block, static_cast<quint16>(8 * values.size() + (disk ? 4 : 0)));
    for (const quint64 value : values) {
        PutLe<quint64>(block, value);
    }
    if (disk) {
        PutLe<quint32>(block, 0);
    }
    return block;
}

// A zip64 archive, ending in a zip64 end record, its locator and an end
// record whose counts and offsets say "see the zip64 record".
inline QByteArray Zip64TestArchive(const std::vector<Zip64TestEntry>& entries)
{
    constexpr quint32 kMarked = 0xFFFFFFFF;
    QByteArray archive;
    QByteArray directory;
    for (const Zip64TestEntry& entry : entries) {
        const QByteArray packed = entry.method == Z_DEFLATED ? RawDeflate(entry.data) : entry.data;
        const quint64 size = entry.claimedSize >= 0 ? entry.claimedSize : entry.data.size();
        const quint64 offset = static_cast<quint64>(archive.size());
        const QByteArray localBlock =
            entry.localBlock
                ? Zip64ExtraBlock({entry.localClaim >= 0 ? entry.localClaim : size, quint64(packed.size())})
                : QByteArray();
        QByteArray local;
        PutLe<quint32>(local, 0x04034B50);
        for (const quint16 value : {quint16(45), quint16(0), quint16(entry.method), quint16(0x6000), quint16(0x5A8C)}) {
            PutLe<quint16>(local, value);
        }
        PutLe<quint32>(local, Crc32(entry.data));
        PutLe<quint32>(local, entry.localBlock ? kMarked : static_cast<quint32>(packed.size()));
        PutLe<quint32>(local, entry.localBlock ? kMarked : static_cast<quint32>(size));
        PutLe<quint16>(local, static_cast<quint16>(entry.name.size()));
        PutLe<quint16>(local, static_cast<quint16>(localBlock.size()));
        archive += local + entry.name + localBlock + packed;

        const int holds = entry.held >= 0 ? entry.held : entry.marks;
        std::vector<quint64> held;
        if (holds & kZip64Uncompressed) {
            held.push_back(size);
        }
        if (holds & kZip64Compressed) {
            held.push_back(static_cast<quint64>(packed.size()));
        }
        if (holds & kZip64Offset) {
            held.push_back(entry.claimedOffset >= 0 ? entry.claimedOffset : offset);
        }
        const QByteArray block = entry.centralBlock ? Zip64ExtraBlock(held, holds & kZip64Disk) : QByteArray();
        QByteArray record;
        PutLe<quint32>(record, 0x02014B50);
        for (const quint16 value :
             {quint16(0x0314), quint16(45), quint16(0), quint16(entry.method), quint16(0x6000), quint16(0x5A8C)}) {
            PutLe<quint16>(record, value);
        }
        PutLe<quint32>(record, Crc32(entry.data));
        PutLe<quint32>(record, entry.marks & kZip64Compressed ? kMarked : static_cast<quint32>(packed.size()));
        PutLe<quint32>(record, entry.marks & kZip64Uncompressed ? kMarked : static_cast<quint32>(size));
        PutLe<quint16>(record, static_cast<quint16>(entry.name.size()));
        PutLe<quint16>(record, static_cast<quint16>(block.size()));
        for (const quint16 value : {quint16(0), quint16(entry.marks & kZip64Disk ? 0xFFFF : 0), quint16(0)}) {
            PutLe<quint16>(record, value);  // comment length, disk, internal attributes
        }
        PutLe<quint32>(record, 0x81A40000);
        PutLe<quint32>(record, entry.marks & kZip64Offset ? kMarked : static_cast<quint32>(offset));
        directory += record + entry.name + block;
    }
    const quint64 directoryOffset = static_cast<quint64>(archive.size());
    archive += directory;
    const quint64 endOffset = static_cast<quint64>(archive.size());
    PutLe<quint32>(archive, 0x06064B50);
    PutLe<quint64>(archive, 44);
    PutLe<quint16>(archive, 45);
    PutLe<quint16>(archive, 45);
    PutLe<quint32>(archive, 0);
    PutLe<quint32>(archive, 0);
    PutLe<quint64>(archive, entries.size());
    PutLe<quint64>(archive, entries.size());
    PutLe<quint64>(archive, static_cast<quint64>(directory.size()));
    PutLe<quint64>(archive, directoryOffset);
    PutLe<quint32>(archive, 0x07064B50);
    PutLe<quint32>(archive, 0);
    PutLe<quint64>(archive, endOffset);
    PutLe<quint32>(archive, 1);
    PutLe<quint32>(archive, 0x06054B50);
    PutLe<quint32>(archive, 0);           // disk numbers
    PutLe<quint32>(archive, 0xFFFFFFFF);  // entry counts
    PutLe<quint32>(archive, kMarked);     // directory size
    PutLe<quint32>(archive, kMarked);     // directory offset
    PutLe<quint16>(archive, 0);
    return archive;
}

inline QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
