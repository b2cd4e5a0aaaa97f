#include "RarHeaders.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr char kMarker4[] = "Rar!\x1A\x07\x00";
constexpr char kMarker5[] = "Rar!\x1A\x07\x01\x00";
// No header is this large; a claim beyond it is damage.
constexpr std::uint64_t kMaxHeaderSize = 1 << 21;

// Reads exactly size bytes at the offset, leaving the file position, which
// the extraction reads from, alone.
bool ReadAt(int file, std::uint64_t offset, void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        if (offset + done > std::uint64_t(std::numeric_limits<off_t>::max())) {
            return false;
        }
        const ssize_t got = pread(file, static_cast<char*>(buffer) + done, size - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += size_t(got);
    }
    return true;
}

std::uint32_t Le(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// Format 4: fixed-layout blocks; a file block's data follows its header.
RarHeaderResult ReadMembers4(int file, std::vector<RarMember>& members)
{
    std::uint64_t position = sizeof(kMarker4) - 1;
    unsigned char head[40];
    while (ReadAt(file, position, head, 7)) {
        const unsigned type = head[2];
        const std::uint32_t flags = Le(head + 3, 2);
        const std::uint32_t headSize = Le(head + 5, 2);
        if (headSize < 7) {
            return RarHeaderResult::kBroken;
        }
        if (type == 0x73 && (flags & 0x80) != 0) {
            return RarHeaderResult::kEncrypted;  // the headers themselves are encrypted
        }
        if (type == 0x7B) {
            return RarHeaderResult::kOk;
        }
        std::uint64_t dataSize = 0;
        if ((flags & 0x8000) != 0) {
            if (headSize < 11 || !ReadAt(file, position, head, std::min<size_t>(headSize, sizeof(head)))) {
                return RarHeaderResult::kBroken;
            }
            dataSize = Le(head + 7, 4);
        }
        if (type == 0x74) {
            const bool large = (flags & 0x100) != 0;
            if ((flags & 0x8000) == 0 || headSize < (large ? 40U : 32U)) {
                return RarHeaderResult::kBroken;
            }
            RarMember member;
            member.size = Le(head + 11, 4);
            if (large) {
                dataSize |= std::uint64_t(Le(head + 32, 4)) << 32;
                member.size |= std::uint64_t(Le(head + 36, 4)) << 32;
            }
            member.folder = (flags & 0xE0) == 0xE0;
            member.hasCrc = !member.folder && (flags & 0x03) == 0;
            member.crc = Le(head + 16, 4);
            members.push_back(member);
        }
        position += headSize + dataSize;
    }
    // An archive may end without its end block.
    return RarHeaderResult::kOk;
}

// Format 5: variable-length numbers, seven bits to a byte, lowest first.
struct Cursor {
    const unsigned char* data;
    size_t size;
    size_t at = 0;
    bool ok = true;

    std::uint64_t Number()
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at >= size) {
                break;
            }
            const unsigned char byte = data[at++];
            value |= std::uint64_t(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        ok = false;
        return 0;
    }
    std::uint32_t Word()
    {
        if (size - at < 4) {
            ok = false;
            return 0;
        }
        at += 4;
        return Le(data + at - 4, 4);
    }
};

bool ReadFileHeader5(Cursor& header, std::uint64_t headerFlags, RarMember& member)
{
    const std::uint64_t fileFlags = header.Number();
    member.size = header.Number();
    header.Number();  // attributes
    if ((fileFlags & 0x02) != 0) {
        header.Word();  // modification time
    }
    if ((fileFlags & 0x04) != 0) {
        member.crc = header.Word();
        member.hasCrc = true;
    }
    member.folder = (fileFlags & 0x01) != 0;
    if ((fileFlags & 0x08) != 0 || (headerFlags & 0x18) != 0) {
        member.hasCrc = false;  // size unknown, or the data is split over volumes
    }
    return header.ok;
}

RarHeaderResult ReadMembers5(int file, std::vector<RarMember>& members)
{
    std::uint64_t position = sizeof(kMarker5) - 1;
    std::vector<unsigned char> buffer;
    unsigned char start[7];
    while (ReadAt(file, position, start, sizeof(start))) {
        Cursor sizeField{start + 4, sizeof(start) - 4};
        const std::uint64_t headerSize = sizeField.Number();
        if (!sizeField.ok || headerSize == 0 || headerSize > kMaxHeaderSize) {
            return RarHeaderResult::kBroken;
        }
        buffer.resize(headerSize);
        if (!ReadAt(file, position + 4 + sizeField.at, buffer.data(), buffer.size())) {
            return RarHeaderResult::kBroken;
        }
        Cursor header{buffer.data(), buffer.size()};
        const std::uint64_t type = header.Number();
        const std::uint64_t flags = header.Number();
        if ((flags & 0x01) != 0) {
            header.Number();  // extra area size
        }
        const std::uint64_t dataSize = (flags & 0x02) != 0 ? header.Number() : 0;
        if (type == 4) {
            return RarHeaderResult::kEncrypted;
        }
        if (type == 5) {
            return RarHeaderResult::kOk;
        }
        if (type == 2) {
            RarMember member;
            if (!ReadFileHeader5(header, flags, member)) {
                return RarHeaderResult::kBroken;
            }
            members.push_back(member);
        }
        if (!header.ok) {
            return RarHeaderResult::kBroken;
        }
        position += 4 + sizeField.at + headerSize + dataSize;
    }
    return RarHeaderResult::kOk;
}

}  // namespace

RarHeaderResult ReadRarMembers(int file, std::vector<RarMember>& members)
{
    members.clear();
    char marker[sizeof(kMarker5) - 1];
    if (!ReadAt(file, 0, marker, sizeof(marker))) {
        return RarHeaderResult::kBroken;
    }
    if (memcmp(marker, kMarker5, sizeof(marker)) == 0) {
        return ReadMembers5(file, members);
    }
    if (memcmp(marker, kMarker4, sizeof(kMarker4) - 1) == 0) {
        return ReadMembers4(file, members);
    }
    return RarHeaderResult::kBroken;
}
