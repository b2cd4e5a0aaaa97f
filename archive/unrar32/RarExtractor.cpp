#include "RarExtractor.h"

#include "SafePath.h"

#include <archive.h>
#include <archive_entry.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>

namespace {

// No member is written beyond this size: a claim or a stream larger than it
// would only fill the disk.
constexpr std::int64_t kMaxMemberSize = std::int64_t(1) << 30;

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_read_free)>;

bool WriteAll(int file, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(file, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

int CopyData(archive* reader, archive_entry* entry, int file)
{
    std::int64_t total = 0;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF) {
            return kRarOk;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            return archive_entry_is_encrypted(entry) ? kRarEncrypted : kRarReadError;
        }
        total += static_cast<std::int64_t>(size);
        if (total > kMaxMemberSize || !WriteAll(file, static_cast<const char*>(block), size)) {
            return kRarWriteError;
        }
    }
}

int ExtractFile(archive* reader, archive_entry* entry, const std::string& folder, const std::string& relative)
{
    const size_t slash = relative.rfind('/');
    if (!MakeFolders(folder, slash == std::string::npos ? std::string() : relative.substr(0, slash))) {
        return kRarCannotMakeFolder;
    }
    const std::string path = folder + "/" + relative;
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file < 0) {
        return kRarWriteError;
    }
    int result = CopyData(reader, entry, file);
    if (close(file) != 0 && result == kRarOk) {
        result = kRarWriteError;
    }
    return result;
}

int ExtractMember(archive* reader, archive_entry* entry, const std::string& folder)
{
    const char* name = archive_entry_pathname_utf8(entry);
    if (name == nullptr) {
        name = archive_entry_pathname(entry);
    }
    if (name == nullptr) {
        return kRarHeaderBroken;
    }
    if (archive_entry_is_encrypted(entry)) {
        return kRarEncrypted;
    }
    const std::string relative = SafeRelativePath(name);
    if (relative.empty() || archive_entry_hardlink(entry) != nullptr) {
        return kRarOk;
    }
    switch (archive_entry_filetype(entry)) {
    case AE_IFDIR:
        return MakeFolders(folder, relative) ? kRarOk : kRarCannotMakeFolder;
    case AE_IFREG:
        return ExtractFile(reader, entry, folder, relative);
    default:
        return kRarOk;  // links and devices are not extracted
    }
}

}  // namespace

int ExtractRar(const std::string& archivePath, const std::string& folder)
{
    // Only a regular file can be an archive; the probe does not block on a
    // named pipe, which would stall the caller until someone writes to it.
    const int probe = open(archivePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    const bool regular = probe >= 0 && fstat(probe, &info) == 0 && S_ISREG(info.st_mode);
    if (probe >= 0) {
        close(probe);
    }
    if (!regular) {
        return kRarCannotOpen;
    }
    ArchivePtr reader(archive_read_new(), &archive_read_free);
    if (!reader || archive_read_support_format_rar(reader.get()) != ARCHIVE_OK ||
        archive_read_support_format_rar5(reader.get()) != ARCHIVE_OK) {
        return kRarCannotOpen;
    }
    // Opening already looks for a rar signature.
    if (archive_read_open_filename(reader.get(), archivePath.c_str(), 1 << 16) != ARCHIVE_OK) {
        return kRarNotArchive;
    }
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    if (!MakeFolders(root, std::string())) {
        return kRarCannotMakeFolder;
    }
    bool first = true;
    for (;;) {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF) {
            return kRarOk;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            if (archive_read_has_encrypted_entries(reader.get()) > 0) {
                return kRarEncrypted;
            }
            return first ? kRarNotArchive : kRarHeaderBroken;
        }
        first = false;
        if (const int result = ExtractMember(reader.get(), entry, root)) {
            return result;
        }
    }
}
