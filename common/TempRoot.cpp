#include "common/TempRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FolderTree.h"
#include "common/PrivateFolder.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr char kLockName[] = ".lock";

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

// The root as this process holds it. The folder stays open: an inode held
// open is never given to another folder, so a folder made again under the
// same name is always seen as another. The lock file stays open until the
// process ends, and the system lets go of its lock even after a crash.
struct CHeldRoot {
    QString root;
    int folder = -1;  // the folder as made or checked
    int lock = -1;    // once claimed
};

CHeldRoot& HeldRoot()
{
    static CHeldRoot held;
    return held;
}

void HoldInstead(const QString& root, int folder, int lock)
{
    CHeldRoot& held = HeldRoot();
    for (const int file : {held.folder, held.lock}) {
        if (file >= 0)
            close(file);
    }
    held = {root, folder, lock};
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the open folder is the root held: the very folder made or
// checked, still private to the user, with the lock, once claimed, held
// in it.
bool IsHeldRoot(const CHeldRoot& held, int folder)
{
    struct stat status {};
    struct stat first {};
    struct stat lock {};
    struct stat named {};
    if (fstat(folder, &status) != 0 || fstat(held.folder, &first) != 0 || !SameFile(status, first) ||
        status.st_uid != geteuid() || (status.st_mode & 0777) != 0700)
        return false;
    return held.lock < 0 || (fstat(held.lock, &lock) == 0 &&
                             fstatat(folder, kLockName, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(lock, named));
}

// Takes the lock of the open root folder: its descriptor, or -1 when
// another process holds it.
int TakeLock(int folder)
{
    const int file = openat(folder, kLockName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file >= 0 && flock(file, LOCK_EX | LOCK_NB) != 0) {
        close(file);
        return -1;
    }
    return file;
}

// A new private folder "FolivaneTmp-XXXXXX" beside root becomes the root,
// held and locked: its descriptor, or -1 when none can be made. Caller
// holds TempRootLock.
int MoveToOwnRoot(const QString& root)
{
    QByteArray name = QFile::encodeName(QFileInfo(root.chopped(1)).path() + QStringLiteral("/FolivaneTmp-XXXXXX"));
    if (mkdtemp(name.data()) == nullptr)
        return -1;
    const QString own = QFile::decodeName(name) + QLatin1Char('/');
    const int folder = OpenPrivateFolder(own.chopped(1));
    const int lock = folder < 0 ? -1 : TakeLock(folder);
    if (lock < 0) {
        if (folder >= 0)
            close(folder);
        return -1;
    }
    HoldInstead(own, folder, lock);
    TempRootValue() = own;
    return folder;
}

// The open root folder as this process holds it, checked again first: made
// again when it is gone, and held anew when the folder under its name is
// another now. A root this process claims, or claimed before, must be
// locked: when another process holds its lock, a new root of this
// process's own takes its place, as it does when the name holds no private
// folder at a claim. -1 when no root can be had. Caller holds TempRootLock.
int HoldRoot(const QString& root, bool claim)
{
    CHeldRoot& held = HeldRoot();
    const int folder = OpenPrivateFolder(root.chopped(1));
    if (folder < 0)
        return claim ? MoveToOwnRoot(root) : -1;
    if (held.root == root && IsHeldRoot(held, folder) && (held.lock >= 0 || !claim)) {
        close(folder);
        return held.folder;
    }
    const bool locked = claim || (held.root == root && held.lock >= 0);
    const int lock = locked ? TakeLock(folder) : -1;
    if (locked && lock < 0) {
        close(folder);
        return MoveToOwnRoot(root);
    }
    HoldInstead(root, folder, lock);
    return folder;
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

// Opens the root under its name when it is still the root this process
// holds: 0, ENOENT when it is gone, else EACCES. Caller holds TempRootLock.
int OpenHeldRoot(const QString& root, COpenRoot& opened)
{
    const QFileInfo bare(root.chopped(1));
    opened.parent = open(QFile::encodeName(bare.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    opened.name = QFile::encodeName(bare.fileName());
    opened.folder = opened.parent < 0 ? -1 : openat(opened.parent, opened.name.constData(), kFolderFlags);
    if (opened.folder < 0)
        return errno == ENOENT ? ENOENT : EACCES;
    const CHeldRoot& held = HeldRoot();
    return held.root == root && IsHeldRoot(held, opened.folder) ? 0 : EACCES;
}

// Empties the open root, its lock last so that no other copy takes the
// folder while it is emptied, and removes it.
int DeleteRoot(COpenRoot& root)
{
    if (const int error = EmptyFolder(root.folder, kLockName))
        return error;
    if (unlinkat(root.folder, kLockName, 0) != 0 && errno != ENOENT)
        return errno;
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

}  // namespace

QString MakePrivateTempRoot(const QString& temp)
{
    return ChoosePrivateFolder({
               temp + QStringLiteral("/FolivaneTmp"),
               temp + QStringLiteral("/FolivaneTmp-%1").arg(geteuid()),
               QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/FolivaneTmp"),
           }) +
           QLatin1Char('/');
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
    return HoldRoot(TempRootLocked(), true) < 0 ? QString() : TempRootValue();
}

bool IsInTempRoot(const QString& path)
{
    // Not made here: a process that has not used its root has none to look at.
    QMutexLocker locker(&TempRootLock());
    const QString& root = TempRootValue();
    return !root.isEmpty() && (path + QLatin1Char('/')).startsWith(root);
}

int CreateTempFolderPath(QString& folder)
{
    QMutexLocker locker(&TempRootLock());
    const QString root = TempRootLocked();
    if (!(folder + QLatin1Char('/')).startsWith(root))
        return EINVAL;
    const int held = HoldRoot(root, false);
    if (held < 0)
        return EACCES;
    folder = TempRootValue() + folder.mid(root.size());
    int made = -1;
    const int error =
        OpenBelow(held, folder.mid(TempRootValue().size()).split(QLatin1Char('/'), Qt::SkipEmptyParts), true, made);
    if (made >= 0)
        close(made);
    return error;
}

namespace {

// Opens the root for a deletion of path, the root or anything below it, and
// splits off the names below it: 0, ENOENT when the root is gone, EINVAL for
// a path outside it, else EACCES.
int OpenRootFor(const QString& path, COpenRoot& root, QStringList& names)
{
    QMutexLocker locker(&TempRootLock());
    const QString& held = TempRootValue();
    if (held.isEmpty() || !(path + QLatin1Char('/')).startsWith(held))
        return EINVAL;
    names = path.mid(held.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return OpenHeldRoot(held, root);
}

}  // namespace

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
