#include "RarExtractor.h"

#include "RarHeaders.h"
#include "SafePath.h"
#include "archive/ZipEntryName.h"
#include "common/RegularFile.h"
#include "platform/FileName.h"

#include <archive.h>
#include <archive_entry.h>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// No member is written beyond this size: a claim or a stream larger than it
// would only fill the disk.
constexpr std::int64_t kMaxMemberSize = std::int64_t(1) << 30;
// Member names are fitted to this many characters, as zip entry names are.
constexpr int kMaxNameLength = 259;

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

// Copies the member's data, which must match the size and CRC-32 its header
// gives: damaged data is refused rather than taken for a good page.
int CopyData(archive* reader, archive_entry* entry, const RarMember& member, int file)
{
    std::uint64_t total = 0;
    uLong crc = crc32(0, nullptr, 0);
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF) {
            return total == member.size && (!member.hasCrc || crc == member.crc) ? kRarOk : kRarBadChecksum;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            return archive_entry_is_encrypted(entry) ? kRarEncrypted : kRarReadError;
        }
        total += size;
        if (total > member.size) {
            return kRarBadChecksum;
        }
        crc = crc32(crc, static_cast<const Bytef*>(block), static_cast<uInt>(size));
        if (!WriteAll(file, static_cast<const char*>(block), size)) {
            return kRarWriteError;
        }
    }
}

int ExtractFile(archive* reader, archive_entry* entry, const RarMember& member, const std::string& folder,
                const std::string& relative)
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
    int result = CopyData(reader, entry, member, file);
    if (close(file) != 0 && result == kRarOk) {
        result = kRarWriteError;
    }
    return result;
}

// The member name as a path below the folder, fitted as zip names are.
std::string FittedRelativePath(const char* name)
{
    const QString fitted = FitZipName(QString::fromUtf8(SafeRelativePath(name)), kMaxNameLength);
    return SafeRelativePath(fitted.toUtf8().toStdString());
}

int ExtractMember(archive* reader, archive_entry* entry, const RarMember& member, const std::string& folder)
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
    const std::string relative = FittedRelativePath(name);
    if (relative.empty() || archive_entry_hardlink(entry) != nullptr) {
        return kRarOk;
    }
    switch (archive_entry_filetype(entry)) {
    case AE_IFDIR:
        return MakeFolders(folder, relative) ? kRarOk : kRarCannotMakeFolder;
    case AE_IFREG:
        return ExtractFile(reader, entry, member, folder, relative);
    default:
        return kRarOk;  // links and devices are not extracted
    }
}

// The members as the headers give them; none may claim more than a member
// may hold.
int CheckMembers(int file, std::vector<RarMember>& members)
{
    switch (ReadRarMembers(file, members)) {
    case RarHeaderResult::kEncrypted:
        return kRarEncrypted;
    case RarHeaderResult::kBroken:
        return kRarHeaderBroken;
    case RarHeaderResult::kOk:
        break;
    }
    for (const RarMember& member : members) {
        if (member.size > std::uint64_t(kMaxMemberSize)) {
            return kRarWriteError;
        }
    }
    return kRarOk;
}

// An archive whose files cannot all fit is refused before anything is
// written; the check of every member's size makes the claims binding.
bool FitsOnDisk(const std::string& root, const std::vector<RarMember>& members)
{
    std::uint64_t claimed = 0;
    for (const RarMember& member : members) {
        claimed += member.folder ? 0 : member.size;
    }
    struct statvfs space {};
    return statvfs(root.c_str(), &space) != 0 || claimed <= std::uint64_t(space.f_bavail) * space.f_frsize;
}

// The reader's entry and the header walked for it must be the same member.
bool Agrees(archive_entry* entry, const std::vector<RarMember>& members, size_t index)
{
    if (index >= members.size()) {
        return false;
    }
    const bool folder = archive_entry_filetype(entry) == AE_IFDIR;
    return folder || !archive_entry_size_is_set(entry) ||
           std::uint64_t(archive_entry_size(entry)) == members[index].size;
}

// Extracts the members in the reader's order, each checked against the
// header walked for it.
int ExtractMembers(archive* reader, const std::vector<RarMember>& members, const std::string& root)
{
    for (size_t index = 0;; ++index) {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) {
            return kRarOk;
        }
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
            if (archive_read_has_encrypted_entries(reader) > 0) {
                return kRarEncrypted;
            }
            return index == 0 ? kRarNotArchive : kRarHeaderBroken;
        }
        if (!Agrees(entry, members, index)) {
            return kRarHeaderBroken;
        }
        if (const int result = ExtractMember(reader, entry, members[index], root)) {
            return result;
        }
    }
}

// Both the header walk and the extraction read the archive through the
// descriptor that was checked: the name may by then stand for another file.
int ExtractRarFile(int file, const std::string& folder)
{
    ArchivePtr reader(archive_read_new(), &archive_read_free);
    if (!reader || archive_read_support_format_rar(reader.get()) != ARCHIVE_OK ||
        archive_read_support_format_rar5(reader.get()) != ARCHIVE_OK) {
        return kRarCannotOpen;
    }
    // Opening already looks for a rar signature.
    if (archive_read_open_fd(reader.get(), file, 1 << 16) != ARCHIVE_OK) {
        return kRarNotArchive;
    }
    std::vector<RarMember> members;
    if (const int result = CheckMembers(file, members)) {
        return result;
    }
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    if (!MakeFolders(root, std::string())) {
        return kRarCannotMakeFolder;
    }
    if (!FitsOnDisk(root, members)) {
        return kRarDiskFull;
    }
    return ExtractMembers(reader.get(), members, root);
}

}  // namespace

int ExtractRar(const std::string& archivePath, const std::string& folder)
{
    // Only a regular file can be an archive; the check does not block on a
    // named pipe, which would stall the caller until someone writes to it.
    const int file = OpenRegularFile(DecodeFileName(archivePath.c_str()));
    if (file < 0) {
        return kRarCannotOpen;
    }
    const int result = ExtractRarFile(file, folder);
    close(file);  // the reader leaves its descriptor open
    return result;
}
