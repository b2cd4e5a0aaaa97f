#pragma once

#include <string>

// Result codes of the rar library's command, as its callers know them.
enum RarResult : int {
    kRarOk = 0,
    kRarEncrypted = 0x800A,
    kRarCannotMakeFolder = 0x8012,
    kRarWriteError = 0x8013,
    kRarHeaderBroken = 0x8017,
    kRarCannotOpen = 0x8018,
    kRarNotArchive = 0x8019,
    kRarReadError = 0x801A,
    kRarBadCommand = 0x801C,
};

// Extracts every file and folder of a rar archive below folder, keeping all
// written paths inside it. Links are not extracted. Returns a RarResult.
int ExtractRar(const std::string& archive, const std::string& folder);
