#include "ExtractCommand.h"

#include <string_view>

bool ParseExtractCommand(const char* commandLine, std::string& archive, std::string& folder)
{
    if (commandLine == nullptr) {
        return false;
    }
    std::string_view line(commandLine);
    constexpr std::string_view head = "-x \"";
    constexpr std::string_view middle = "\" \"";
    if (line.size() < head.size() + middle.size() + 1 || line.substr(0, head.size()) != head || line.back() != '"') {
        return false;
    }
    line = line.substr(head.size(), line.size() - head.size() - 1);
    const size_t split = line.rfind(middle);
    if (split == std::string_view::npos) {
        return false;
    }
    archive = line.substr(0, split);
    folder = line.substr(split + middle.size());
    return !archive.empty() && !folder.empty() && folder.find('"') == std::string_view::npos;
}
