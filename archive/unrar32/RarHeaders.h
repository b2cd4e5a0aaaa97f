#pragma once

#include <cstdint>
#include <vector>

// What a rar archive's own headers say of one member, in archive order.
struct RarMember {
    std::uint64_t size = 0;  // unpacked bytes
    std::uint32_t crc = 0;   // CRC-32 of the unpacked bytes, when hasCrc
    bool hasCrc = false;     // false for split members and those hashed otherwise
    bool folder = false;
};

enum class RarHeaderResult { kOk, kBroken, kEncrypted };

// Walks the file headers of a rar archive (format 4 or 5), open as file,
// without unpacking anything, so that sizes and checksums are known before
// extraction. Leaves the file position alone.
RarHeaderResult ReadRarMembers(int file, std::vector<RarMember>& members);
