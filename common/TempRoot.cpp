#include "common/TempRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileIdentity.h"
#include "common/FolderTree.h"
#include "common/LockFile.h"
#include "common/PrivateFolder.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

QMutex& TempRootLock()
{
    static QMutex lock;
    return lock;
}

QString& TempRootValue()
{
    static QString folder;
    return folder;
}

// The root in use, chosen when none is yet. Caller holds TempRootLock.
const QString& TempRootLocked()
{
    QString& folder = TempRootValue();
    if (folder.isEmpty())
        folder = MakePrivateTempRoot(QDir::tempPath());
    return folder;
}

// A root as this process holds it: the folder as made or checked, open and
// locked until the process ends. The lock is on the folder itself, so that
// only the folder's deletion can take it from a running copy; the system
// lets go of it even after a crash, and the system's cleaner of the
// temporary folder leaves a folder locked so alone. An inode held open is
// never given to another folder, so a folder made again under the same name
// is always seen as another. A network file system keeps a folder's lock on
// its own host, and only a regular file's on its server: the lock file in
// the root keeps out a copy on another host that shares the folder.
struct CHeldRoot {
    QString root;
    int folder = -1;
    int lockFile = -1;  // -1 where the file system keeps no locks
};

// The lock file's name in every root; older copies locked it too.
constexpr char kLockFileName[] = ".lock";

// Every root this process has held, the latest last. None is let go while
// the process runs: each may still hold pages of the list.
std::vector<CHeldRoot>& HeldRoots()
{
    static std::vector<CHeldRoot> held;
    return held;
}

bool IsBelow(const QString& path, const QString& root)
{
    return !root.isEmpty() && (path + QLatin1Char('/')).startsWith(root);
}

// The latest root held that is path or holds it; null when none is.
CHeldRoot* HeldRootOf(const QString& path)
{
    std::vector<CHeldRoot>& held = HeldRoots();
    const auto found =
        std::find_if(held.rbegin(), held.rend(), [&](const CHeldRoot& root) { return IsBelow(path, root.root); });
    return found == held.rend() ? nullptr : &*found;
}

// Whether status, of the root's name, is of the very folder held, still the
// user's. Its mode does not count: the user may have changed it.
bool IsHeldFolder(const CHeldRoot& held, const struct stat& status)
{
    struct stat first {};
    return fstat(held.folder, &first) == 0 && IsSameFile(status, first) && status.st_uid == geteuid();
}

// The held folder private again, through its descriptor, where its mode was
// changed (by a file manager's permissions tab, say).
bool MakePrivateAgain(const CHeldRoot& held, const struct stat& status)
{
    return (status.st_mode & 0777) == 0700 || fchmod(held.folder, 0700) == 0;
}

// Locks the lock file in the open root into file: 0, with file -1 where the
// file system keeps no locks or the name cannot be used, or EWOULDBLOCK when
// another process (a copy on another host) holds it.
int LockRootFile(int folder, int& file)
{
    file = OpenLockFileAt(folder, kLockFileName);
    if (file < 0 || flock(file, LOCK_EX | LOCK_NB) == 0)
        return 0;
    const int error = errno;
    close(std::exchange(file, -1));
    return error == EWOULDBLOCK ? error : 0;
}

// Keeps the held root's lock file locked, made and locked anew where it was
// deleted or replaced; false when another process holds the one there now.
bool KeepLockFile(CHeldRoot& held)
{
    if (held.lockFile >= 0 && IsLockFileNamed(held.folder, kLockFileName, held.lockFile))
        return true;
    int file = -1;
    if (LockRootFile(held.folder, file) != 0)
        return false;
    if (held.lockFile >= 0)
        close(held.lockFile);
    held.lockFile = file;
    return true;
}

// Holds the open private folder as the root when no other process holds it
// or its lock file: its descriptor, else -1 with the folder closed.
int HoldIfFree(const QString& root, int folder)
{
    int file = -1;
    if (folder < 0 || flock(folder, LOCK_EX | LOCK_NB) != 0 || LockRootFile(folder, file) != 0) {
        if (folder >= 0)
            close(folder);
        return -1;
    }
    HeldRoots().push_back({root, folder, file});
    TempRootValue() = root;
    return folder;
}

// A new private folder "FolivaneTmp-XXXXXX" beside root becomes the root,
// held: its descriptor, or -1 when none can be made. Caller holds
// TempRootLock.
int MoveToOwnRoot(const QString& root)
{
    QByteArray name = QFile::encodeName(QFileInfo(root.chopped(1)).path() + QStringLiteral("/FolivaneTmp-XXXXXX"));
    if (mkdtemp(name.data()) == nullptr)
        return -1;
    const QString own = QFile::decodeName(name);
    return HoldIfFree(own + QLatin1Char('/'), OpenPrivateFolder(own));
}

// The open root folder as this process holds it, checked again first. Held
// the first time when it is a private folder no other process holds; made
// private again when the user changed its mode; made again, and held, when
// it is gone. Any other folder under its name (another copy's, another
// user's), a link, a file, or a lock file another copy holds sends this
// process to a new root of its own; the root it held stays held. -1 when no
// root can be had. Caller holds TempRootLock.
int HoldRoot(const QString& root)
{
    CHeldRoot* held = HeldRootOf(root);
    const QString bare = root.chopped(1);
    int folder = -1;
    if (held == nullptr || held->root != root) {
        folder = OpenPrivateFolder(bare);
    } else {
        const QByteArray path = QFile::encodeName(bare);
        struct stat status {};
        if (lstat(path.constData(), &status) == 0) {
            if (IsHeldFolder(*held, status) && MakePrivateAgain(*held, status) && KeepLockFile(*held))
                return held->folder;
        } else if (errno == ENOENT && mkdir(path.constData(), 0700) == 0) {
            folder = OpenPrivateFolder(bare);
        }
    }
    const int claimed = HoldIfFree(root, folder);
    return claimed >= 0 ? claimed : MoveToOwnRoot(root);
}

// Opens the folder at names below the open folder root into folder, each
// made with mode 0700 first where make and missing; no link is followed and
// no name leads out of the root. 0 or an errno code.
int OpenBelow(int root, const QStringList& names, bool make, int& folder)
{
    folder = openat(root, ".", kFolderFlags);
    if (folder < 0)
        return errno;
    for (const QString& name : names) {
        if (name == QLatin1String(".") || name == QLatin1String("..")) {
            close(folder);
            return EINVAL;
        }
        const QByteArray native = QFile::encodeName(name);
        const int made = make ? mkdirat(folder, native.constData(), 0700) : 0;
        const int next = made == 0 || errno == EEXIST ? openat(folder, native.constData(), kFolderFlags) : -1;
        const int error = errno;
        close(folder);
        folder = next;
        if (next < 0)
            return error == ELOOP ? ENOTDIR : error;
    }
    return 0;
}

// The root under its name, opened relative to its open parent.
struct COpenRoot {
    int parent = -1;
    QByteArray name;
    int folder = -1;
    ~COpenRoot()
    {
        for (const int file : {parent, folder}) {
            if (file >= 0)
                close(file);
        }
    }
};

// Opens the held root under its name when it is still the folder held,
// made private again: 0, ENOENT when it is gone, else EACCES. Caller holds
// TempRootLock.
int OpenHeldRoot(const CHeldRoot& held, COpenRoot& opened)
{
    const QFileInfo bare(held.root.chopped(1));
    opened.parent = open(QFile::encodeName(bare.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    opened.name = QFile::encodeName(bare.fileName());
    opened.folder = opened.parent < 0 ? -1 : openat(opened.parent, opened.name.constData(), kFolderFlags);
    if (opened.folder < 0)
        return errno == ENOENT ? ENOENT : EACCES;
    struct stat status {};
    const bool ours =
        fstat(opened.folder, &status) == 0 && IsHeldFolder(held, status) && MakePrivateAgain(held, status);
    return ours ? 0 : EACCES;
}

// Empties the open root and removes it; the lock, held on the folder, goes
// with it.
int DeleteRoot(COpenRoot& root)
{
    if (const int error = EmptyFolder(root.folder))
        return error;
    return unlinkat(root.parent, root.name.constData(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

// Deletes what names gives below the open root: a folder with all it holds,
// else a file, or a link, never followed. 0 also when it is not there.
int DeleteBelow(int root, const QStringList& names, bool isFolder)
{
    int parent = -1;
    const int error = OpenBelow(root, names.mid(0, names.size() - 1), false, parent);
    if (error != 0)
        return error == ENOENT ? 0 : error;
    const QByteArray name = QFile::encodeName(names.last());
    int deleted = 0;
    if (isFolder)
        deleted = DeleteFolderAt(parent, name);
    else if (unlinkat(parent, name.constData(), 0) != 0)
        deleted = errno;
    close(parent);
    return deleted == ENOENT ? 0 : deleted;
}

QStringList NamesBelow(const QString& path, const QString& root)
{
    return path.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

// Makes the folders names gives below the open root. 0 or an errno code.
int MakeBelow(int root, const QStringList& names)
{
    int made = -1;
    const int error = OpenBelow(root, names, true, made);
    if (made >= 0)
        close(made);
    return error;
}

// Opens the root held that path is or lies below, and splits off the names
// below it: 0, ENOENT when the root is gone, EINVAL for a path outside every
// root, else EACCES. The root itself is opened only while no other process
// holds its lock file (a copy on another host that took it after its lock
// file was deleted).
int OpenRootFor(const QString& path, COpenRoot& root, QStringList& names)
{
    QMutexLocker locker(&TempRootLock());
    CHeldRoot* held = HeldRootOf(path);
    if (held == nullptr)
        return IsBelow(path, TempRootValue()) ? EACCES : EINVAL;
    names = NamesBelow(path, held->root);
    if (const int error = OpenHeldRoot(*held, root))
        return error;
    return names.isEmpty() && !KeepLockFile(*held) ? EACCES : 0;
}

}  // namespace

QString MakePrivateTempRoot(const QString& temp)
{
    const QString shared = temp + QStringLiteral("/FolivaneTmp");
    const QString chosen = ChoosePrivateFolder({
        shared,
        temp + QStringLiteral("/FolivaneTmp-%1").arg(geteuid()),
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/FolivaneTmp"),
    });
    // None of these: the claim moves to a fresh private folder beside the first.
    return (chosen.isEmpty() ? shared : chosen) + QLatin1Char('/');
}

QString GetTempRoot()
{
    QMutexLocker locker(&TempRootLock());
    return TempRootLocked();
}

void SetTempRoot(const QString& folder)
{
    QMutexLocker locker(&TempRootLock());
    TempRootValue() = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ClaimTempRoot()
{
    QMutexLocker locker(&TempRootLock());
    return HoldRoot(TempRootLocked()) < 0 ? QString() : TempRootValue();
}

bool IsInTempRoot(const QString& path)
{
    // Not made here: a process that has not used its root has none to look at.
    QMutexLocker locker(&TempRootLock());
    return IsBelow(path, TempRootValue()) || HeldRootOf(path) != nullptr;
}

int CreateTempFolderPath(QString& folder)
{
    {
        QMutexLocker locker(&TempRootLock());
        const QString root = TempRootLocked();
        if (IsBelow(folder, root)) {
            const int held = HoldRoot(root);
            if (held < 0)
                return EACCES;
            folder = TempRootValue() + folder.mid(root.size());
            return MakeBelow(held, NamesBelow(folder, TempRootValue()));
        }
    }
    // Below a root held before the one in use, while it is still this
    // process's own: its pages may lie there.
    COpenRoot root;
    QStringList names;
    if (const int error = OpenRootFor(folder, root, names))
        return error;
    return MakeBelow(root.folder, names);
}

int DeleteTempFolder(const QString& folder)
{
    COpenRoot root;
    QStringList names;
    if (const int error = OpenRootFor(folder, root, names))
        return error == ENOENT ? 0 : error;
    return names.isEmpty() ? DeleteRoot(root) : DeleteBelow(root.folder, names, true);
}

int DeleteTempFile(const QString& file)
{
    COpenRoot root;
    QStringList names;
    if (const int error = OpenRootFor(file, root, names))
        return error == ENOENT ? 0 : error;
    return names.isEmpty() ? EISDIR : DeleteBelow(root.folder, names, false);
}

void DeleteTempRoots()
{
    QStringList roots;
    {
        QMutexLocker locker(&TempRootLock());
        for (const CHeldRoot& held : HeldRoots()) {
            if (!roots.contains(held.root))
                roots.append(held.root);
        }
    }
    // One no longer this copy's is left as it is.
    for (const QString& root : std::as_const(roots))
        DeleteTempFolder(root);
}
