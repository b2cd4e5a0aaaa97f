#include "SafePath.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Folders are private to the user: the pages extracted into them are.
constexpr mode_t kFolderMode = 0700;

bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), kFolderMode) == 0 || (errno == EEXIST && IsFolder(path));
}

}  // namespace

std::string SafeRelativePath(const std::string& memberName)
{
    std::string name = memberName;
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (name.size() >= 2 && name[1] == ':') {
        name.erase(0, 2);
    }
    std::string result;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string segment = name.substr(start, end - start);
        if (!segment.empty() && segment != "." && segment != "..") {
            result += result.empty() ? segment : "/" + segment;
        }
        start = end + 1;
    }
    return result;
}

bool MakeFolders(const std::string& root, const std::string& relative)
{
    // The root and the folders above it are made as needed; links on the
    // caller's own path are the caller's business.
    for (size_t end = root.find('/', 1);; end = root.find('/', end + 1)) {
        const std::string path = root.substr(0, end);
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 && mkdir(path.c_str(), kFolderMode) != 0) {
            return false;
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    // Below the root only real folders are walked through, never links.
    std::string path = root;
    size_t begin = 0;
    while (begin < relative.size()) {
        size_t end = relative.find('/', begin);
        if (end == std::string::npos) {
            end = relative.size();
        }
        path += "/" + relative.substr(begin, end - begin);
        if (!MakeFolder(path)) {
            return false;
        }
        begin = end + 1;
    }
    return true;
}
