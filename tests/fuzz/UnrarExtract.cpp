// Extracts any bytes as a rar archive through the rar library stand-in and
// checks that nothing was written beside the extraction folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/unrar32/RarExtractor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    // The working folder is the fuzz run's scratch folder.
    const fs::path fence = fs::current_path() / "fuzz-unrar";
    const std::string input = (fs::current_path() / "fuzz-input.rar").string();
    std::error_code error;
    fs::remove_all(fence, error);
    fs::create_directories(fence, error);
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    ExtractRar(input, (fence / "out/").string());
    for (const fs::directory_entry& entry : fs::directory_iterator(fence)) {
        if (entry.path().filename() != "out") {
            std::abort();  // something landed outside the extraction folder
        }
    }
    fs::remove_all(fence, error);
    return 0;
}
