#include "common/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

namespace {

// Deeper than any path the system can name; bounds the walk's stack.
constexpr int kMaxDepth = PATH_MAX / 2;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Entry {
    QByteArray name;
    bool isFolder;  // never for a link
};

// The entries of the open folder without "." and "..", folders first.
int ReadEntries(int folder, std::vector<Entry>& entries)
{
    // A descriptor of the stream's own, which it closes with itself.
    const int own = openat(folder, ".", kFolderFlags);
    DIR* stream = own < 0 ? nullptr : fdopendir(own);
    if (stream == nullptr) {
        const int error = errno;
        if (own >= 0)
            close(own);
        return error;
    }
    while (const dirent* item = readdir(stream)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat status {};
        const bool isFolder =
            item->d_type == DT_UNKNOWN
                ? fstatat(folder, item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode)
                : item->d_type == DT_DIR;
        entries.push_back({name, isFolder});
    }
    closedir(stream);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.isFolder != b.isFolder ? a.isFolder : a.name < b.name; });
    return 0;
}

// Removes a name that is no folder; one already gone counts as removed.
int RemoveName(int parent, const QByteArray& name)
{
    return unlinkat(parent, name.constData(), 0) == 0 || errno == ENOENT ? 0 : errno;
}

int EmptyFolderBelow(int& folder, const QByteArray& spare, int depth);

// Empties the open subfolder of the open folder parent. The parent's
// descriptor is let go meanwhile, so that a deep tree holds two
// descriptors, not one a level: it is opened again through the subfolder's
// "..", and must be the same folder (else ESTALE, parent -1).
int EmptySubfolder(int& parent, int& subfolder, int depth)
{
    struct stat above {};
    if (fstat(parent, &above) != 0)
        return errno;
    close(parent);
    const int error = EmptyFolderBelow(subfolder, {}, depth + 1);
    parent = subfolder < 0 ? -1 : openat(subfolder, "..", kFolderFlags);
    struct stat again {};
    if (parent >= 0 && (fstat(parent, &again) != 0 || again.st_dev != above.st_dev || again.st_ino != above.st_ino)) {
        close(parent);
        parent = -1;
    }
    return error != 0 || parent >= 0 ? error : ESTALE;
}

// Deletes the subfolder name of the open folder parent with all it holds.
int DeleteSubfolder(int& parent, const QByteArray& name, int depth)
{
    int subfolder = openat(parent, name.constData(), kFolderFlags);
    if (subfolder < 0) {
        // Made a link or a file since it was listed: removed as what it is now.
        return errno == ELOOP || errno == ENOTDIR ? RemoveName(parent, name) : errno == ENOENT ? 0 : errno;
    }
    const int error = EmptySubfolder(parent, subfolder, depth);
    if (subfolder >= 0)
        close(subfolder);
    if (error != 0)
        return error;
    return unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

int EmptyFolderBelow(int& folder, const QByteArray& spare, int depth)
{
    if (depth > kMaxDepth)
        return ENAMETOOLONG;
    std::vector<Entry> entries;
    if (const int error = ReadEntries(folder, entries))
        return error;
    for (const Entry& entry : entries) {
        if (entry.name == spare)
            continue;
        if (const int error =
                entry.isFolder ? DeleteSubfolder(folder, entry.name, depth) : RemoveName(folder, entry.name))
            return error;
    }
    return 0;
}

}  // namespace

int EmptyFolder(int& folder, const QByteArray& spare)
{
    return EmptyFolderBelow(folder, spare, 0);
}

int DeleteFolderAt(int parent, const QByteArray& name)
{
    if (name == "." || name == "..")
        return EINVAL;  // the folder itself or its parent, never one of its entries
    struct stat status {};
    if (fstatat(parent, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;  // nothing there to delete
    int folder = S_ISDIR(status.st_mode) ? openat(parent, name.constData(), kFolderFlags) : -1;
    if (folder < 0)
        return !S_ISDIR(status.st_mode) || errno == ELOOP ? ENOTDIR : errno;
    const int error = EmptyFolder(folder);
    if (folder >= 0)
        close(folder);
    if (error != 0)
        return error;
    return unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
}
