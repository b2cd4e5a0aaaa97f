#include "common/Paths.h"

#include "common/FolderTree.h"
#include "common/TempRoot.h"
#include "platform/FileName.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

constexpr QChar kSeparator = QLatin1Char('/');

// Start of the file name part: after the last separator that is followed by
// something other than the end or another separator.
qsizetype FileNameStart(const QString& path)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        if (path[i] == kSeparator && path[i + 1] != kSeparator) {
            start = i + 1;
        }
    }
    return start;
}

// Start of the extension inside the file name part (from its last dot, unless
// a blank or separator follows that dot), or the text's length when none.
qsizetype ExtensionStart(const QString& path, qsizetype nameStart)
{
    qsizetype dot = -1;
    for (qsizetype i = nameStart; i < path.size(); ++i) {
        if (path[i] == QLatin1Char('.')) {
            dot = i;
        } else if (path[i] == QLatin1Char(' ') || path[i] == kSeparator) {
            dot = -1;
        }
    }
    return dot < 0 ? path.size() : dot;
}

struct DirectoryEntry {
    QByteArray path;
    bool isFolder;
};

// Reads a folder's entries without "." and "..", in name order so that the
// listing does not depend on the file system's storage order. A symbolic link
// is never a folder here: trees are walked without following links
// out of them. Returns 0 or the errno of opening the folder.
int ReadFolder(const QByteArray& folder, std::vector<DirectoryEntry>& entries)
{
    DIR* dir = opendir(folder.constData());
    if (dir == nullptr) {
        return errno;
    }
    QByteArray prefix = folder;
    if (!prefix.endsWith('/')) {
        prefix.append('/');
    }
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        DirectoryEntry item{prefix + name, entry->d_type == DT_DIR};
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            item.isFolder = lstat(item.path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back(std::move(item));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.path < b.path; });
    return 0;
}

}  // namespace

void AddBackslash(QString& path)
{
    if (path.isEmpty() || path.back() != kSeparator) {
        path.append(kSeparator);
    }
}

QString GetFolderPart(const QString& path)
{
    return path.left(FileNameStart(path));
}

QString GetFileTitlePart(const QString& path)
{
    const qsizetype start = FileNameStart(path);
    return path.mid(start, ExtensionStart(path, start) - start);
}

QString GetExtensionPart(const QString& path)
{
    const qsizetype start = FileNameStart(path);
    return path.mid(ExtensionStart(path, start));
}

bool IsValidFileName(const QString& text)
{
    // These two name a folder itself and its parent, never a file of their own.
    if (text == QLatin1String(".") || text == QLatin1String("..")) {
        return false;
    }
    static const QString forbidden = QStringLiteral("<>\"|/*?\\:");
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && !forbidden.contains(c); });
}

QString RemoveTrailingSeparators(const QString& path)
{
    QString bare = path;
    while (bare.size() > 1 && bare.back() == kSeparator) {
        bare.chop(1);
    }
    return bare;
}

int CreateFolderPath(const QString& path)
{
    if (IsInTempRoot(path)) {
        QString folder = path;
        const int error = CreateTempFolderPath(folder);
        // Made under a new root when this process lost its own to another
        // copy: the caller's path is not made.
        return error != 0 || folder == path ? error : ENOENT;
    }
    // A file of that name is seen as such, not as a missing folder.
    const QString folder = RemoveTrailingSeparators(path);
    const QByteArray native = EncodeFileName(folder);
    struct stat info {};
    if (stat(native.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    const QString parent = GetFolderPart(folder);
    if (parent.isEmpty()) {
        return ENOENT;  // a relative name: nothing to build it on
    }
    if (const int error = CreateFolderPath(parent)) {
        return error;
    }
    if (mkdir(native.constData(), 0777) == 0) {
        return 0;
    }
    const int error = errno;
    // Another thread may have made the same folder in the meantime.
    if (error == EEXIST && stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return 0;
    }
    return error == EEXIST ? ENOTDIR : error;
}

int DeleteFolderTree(const QString& path)
{
    if (IsInTempRoot(path)) {
        return DeleteTempFolder(path);
    }
    // The system follows a link named as a folder ("link/"): the name is
    // looked at without the separators.
    const QString bare = RemoveTrailingSeparators(path);
    const qsizetype nameStart = bare.lastIndexOf(kSeparator) + 1;
    const QByteArray parentPath = nameStart == 0 ? QByteArray(".") : EncodeFileName(bare.left(nameStart));
    const int parent = open(parentPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0) {
        return 0;  // nothing to be found under it
    }
    const int error = DeleteFolderAt(parent, EncodeFileName(bare.mid(nameStart)));
    close(parent);
    return error;
}

void ListFilesRecursive(const QString& folder, QStringList& list)
{
    std::vector<DirectoryEntry> entries;
    ReadFolder(EncodeFileName(folder), entries);
    QStringList subfolders;
    for (const DirectoryEntry& entry : entries) {
        const QString path = DecodeFileName(entry.path);
        if (entry.isFolder) {
            subfolders.append(path + kSeparator);
            continue;
        }
        struct stat info {};
        // A link to a folder is left out; following it could loop forever.
        if (stat(entry.path.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
            continue;
        }
        list.append(path);
    }
    for (const QString& subfolder : subfolders) {
        ListFilesRecursive(subfolder, list);
    }
}

std::vector<FolderItem> ListFolder(const QString& folder)
{
    std::vector<DirectoryEntry> entries;
    ReadFolder(EncodeFileName(folder), entries);
    std::vector<FolderItem> items;
    items.reserve(entries.size());
    for (const DirectoryEntry& entry : entries) {
        items.push_back({DecodeFileName(entry.path), entry.isFolder});
    }
    return items;
}

bool GetFileStatus(const QString& path, struct stat& status)
{
    return stat(EncodeFileName(path).constData(), &status) == 0;
}
