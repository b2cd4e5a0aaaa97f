// The exports of the rar library stand-in, called by the program through
// dlopen/dlsym with the call shape of the external archive libraries.

#include "ExtractCommand.h"
#include "RarExtractor.h"

#include <cstdint>
#include <string>

extern "C" {

__attribute__((visibility("default"))) int Unrar(void* /*owner*/, const char* commandLine, char* /*output*/,
                                                 std::uint32_t /*outputSize*/)
{
    std::string archive;
    std::string folder;
    if (!ParseExtractCommand(commandLine, archive, folder)) {
        return kRarBadCommand;
    }
    return ExtractRar(archive, folder);
}

__attribute__((visibility("default"))) std::uint16_t UnrarGetVersion()
{
    return 100;  // 1.00
}
}
