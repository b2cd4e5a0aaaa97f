#pragma once

#include <string>

// Result codes of the rar library's command, as its callers know them.
enum RarResult : int {
    kRarOk = 0,
    kRarDiskFull = 0x8005,
    kRarEncrypted = 0x800A,
    kRarBadChecksum = 0x800C,
    kRarCannotMakeFolder = 0x8012,
    kRarWriteError = 0x8013,
    kRarHeaderBroken = 0x8017,
    kRarCannotOpen = 0x8018,
    kRarNotArchive = 0x8019,
    kRarReadError = 0x801A,
    kRarBadCommand = 0x801C,
};

// Extracts every file and folder of a rar archive below folder, keeping all
// written paths inside it. Links are not extracted; names too long for the
// file system are shortened; every member's data must match its header's
// size and checksum, and the whole must fit the free space before anything
// is written. Returns a RarResult.
int ExtractRar(const std::string& archive, const std::string& folder);
