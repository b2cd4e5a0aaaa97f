#include "common/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/FileIdentity.h"

namespace {

// Deeper than any path the system can name; bounds the walk's stack.
constexpr int kMaxDepth = PATH_MAX / 2;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The mount a folder lies on: its mount's identity where the system tells
// it, else its device. A bind mount of a folder of the same file system has
// a mount of its own but the same device.
struct Mount {
    bool byIdentity = false;
    std::uint64_t identity = 0;
};

int MountOf(int folder, Mount& mount)
{
    struct statx status {};
    if (statx(folder, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &status) != 0)
        return errno;
    mount.byIdentity = (status.stx_mask & STATX_MNT_ID) != 0;
    mount.identity = mount.byIdentity ? status.stx_mnt_id : makedev(status.stx_dev_major, status.stx_dev_minor);
    return 0;
}

// One deletion: the mount it stays on, and whether it left anything behind
// for lying on another.
struct Walk {
    Mount top;
    bool kept = false;
};

// Whether the open folder lies on the walk's mount; a failure to tell counts
// as another, so that nothing is entered that might not be the tree's own.
bool OnWalksMount(int folder, const Walk& walk)
{
    Mount mount;
    return MountOf(folder, mount) == 0 && mount.byIdentity == walk.top.byIdentity &&
           mount.identity == walk.top.identity;
}

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

int EmptyFolderBelow(int& folder, int depth, Walk& walk);

// Empties the open subfolder of the open folder parent. The parent's
// descriptor is let go meanwhile, so that a deep tree holds two
// descriptors, not one a level: it is opened again through the subfolder's
// "..", and must be the same folder (else ESTALE, parent -1).
int EmptySubfolder(int& parent, int& subfolder, int depth, Walk& walk)
{
    struct stat above {};
    if (fstat(parent, &above) != 0)
        return errno;
    close(parent);
    const int error = EmptyFolderBelow(subfolder, depth + 1, walk);
    parent = subfolder < 0 ? -1 : openat(subfolder, "..", kFolderFlags);
    struct stat again {};
    if (parent >= 0 && (fstat(parent, &again) != 0 || !IsSameFile(again, above))) {
        close(parent);
        parent = -1;
    }
    return error != 0 || parent >= 0 ? error : ESTALE;
}

// Deletes the subfolder name of the open folder parent with all it holds. A
// folder on another mount (a file system mounted there, a bind mount) is
// neither entered nor removed, nor then are the folders that hold it.
int DeleteSubfolder(int& parent, const QByteArray& name, int depth, Walk& walk)
{
    int subfolder = openat(parent, name.constData(), kFolderFlags);
    if (subfolder < 0) {
        // Made a link or a file since it was listed: removed as what it is now.
        return errno == ELOOP || errno == ENOTDIR ? RemoveName(parent, name) : errno == ENOENT ? 0 : errno;
    }
    if (!OnWalksMount(subfolder, walk)) {
        close(subfolder);
        walk.kept = true;
        return 0;
    }
    const bool keptBefore = std::exchange(walk.kept, false);
    const int error = EmptySubfolder(parent, subfolder, depth, walk);
    if (subfolder >= 0)
        close(subfolder);
    const bool keptBelow = walk.kept;
    walk.kept = keptBefore || keptBelow;
    if (error != 0 || keptBelow)
        return error;
    return unlinkat(parent, name.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

int EmptyFolderBelow(int& folder, int depth, Walk& walk)
{
    if (depth > kMaxDepth)
        return ENAMETOOLONG;
    std::vector<Entry> entries;
    if (const int error = ReadEntries(folder, entries))
        return error;
    for (const Entry& entry : entries) {
        if (const int error =
                entry.isFolder ? DeleteSubfolder(folder, entry.name, depth, walk) : RemoveName(folder, entry.name))
            return error;
    }
    return 0;
}

}  // namespace

int EmptyFolder(int& folder)
{
    Walk walk;
    if (const int error = MountOf(folder, walk.top))
        return error;
    return EmptyFolderBelow(folder, 0, walk);
}

int DeleteFolderAt(int parent, const QByteArray& name)
{
    if (name == "." || name == "..")
        return EINVAL;  // the folder itself or its parent, never one of its entries
    struct stat status {};
    if (fstatat(parent, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return 0;  // nothing there to delete
    if (!S_ISDIR(status.st_mode))
        return ENOTDIR;
    // A descriptor of the walk's own, which it may let go of and open again.
    int own = openat(parent, ".", kFolderFlags);
    Walk walk;
    int error = own < 0 ? errno : MountOf(own, walk.top);
    if (error == 0)
        error = DeleteSubfolder(own, name, 0, walk);
    if (own >= 0)
        close(own);
    return error == 0 && walk.kept ? ENOTEMPTY : error;
}
