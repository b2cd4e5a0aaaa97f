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

// The root as this process holds it: the folder as made or checked, open
// and locked until the process ends. The lock is on the folder itself, so
// that only the folder's deletion can take it from a running copy; the
// system lets go of it even after a crash, and the system's cleaner of the
// temporary folder leaves a folder locked so alone. An inode held open is
// never given to another folder, so a folder made again under the same name
// is always seen as another.
struct CHeldRoot {
    QString root;
    int folder = -1;
};

CHeldRoot& HeldRoot()
{
    static CHeldRoot held;
    return held;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether status is of the root held: the very folder made or checked, still
// private to the user.
bool IsHeldRoot(const CHeldRoot& held, const struct stat& status)
{
    struct stat first {};
    return held.folder >= 0 && fstat(held.folder, &first) == 0 && SameFile(status, first) &&
           status.st_uid == geteuid() && (status.st_mode & 0777) == 0700;
}

// Holds the open private folder as the root when no other process holds
// it: its descriptor, else -1 with the folder closed.
int HoldIfFree(const QString& root, int folder)
{
    if (folder < 0 || flock(folder, LOCK_EX | LOCK_NB) != 0) {
        if (folder >= 0)
            close(folder);
        return -1;
    }
    CHeldRoot& held = HeldRoot();
    if (held.folder >= 0)
        close(held.folder);
    held = {root, folder};
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
// again, and held, when it is gone. Any other folder under its name (another
// copy's, another user's, one with another mode), a link or a file sends
// this process to a new root of its own. -1 when no root can be had. Caller
// holds TempRootLock.
int HoldRoot(const QString& root)
{
    const CHeldRoot& held = HeldRoot();
    const QString bare = root.chopped(1);
    int folder = -1;
    if (held.root != root) {
        folder = OpenPrivateFolder(bare);
    } else {
        const QByteArray path = QFile::encodeName(bare);
        struct stat status {};
        if (lstat(path.constData(), &status) == 0) {
            if (IsHeldRoot(held, status))
                return held.folder;
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
    struct stat status {};
    return held.root == root && fstat(opened.folder, &status) == 0 && IsHeldRoot(held, status) ? 0 : EACCES;
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
    const QString& root = TempRootValue();
    return !root.isEmpty() && (path + QLatin1Char('/')).startsWith(root);
}

int CreateTempFolderPath(QString& folder)
{
    QMutexLocker locker(&TempRootLock());
    const QString root = TempRootLocked();
    if (!(folder + QLatin1Char('/')).startsWith(root))
        return EINVAL;
    const int held = HoldRoot(root);
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
