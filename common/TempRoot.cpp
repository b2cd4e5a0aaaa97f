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

namespace {
QMutex& TempRootLock()
{
    static QMutex lock;
    return lock;
}

// A folder only this user can enter: made here with mode 0700, or already a
// real folder (no link) of this user that nobody else may write to. The
// system's temporary folder is shared by all users, and a folder planted
// there by another user could redirect extraction and deletion.
bool IsPrivateFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (mkdir(path.constData(), 0700) == 0)
        return true;
    struct stat status {};
    if (lstat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != geteuid())
        return false;
    return (status.st_mode & 077) == 0 || chmod(path.constData(), 0700) == 0;
}

}  // namespace

QString MakePrivateTempRoot(const QString& temp)
{
    const QStringList candidates = {
        temp + QStringLiteral("/FolivaneTmp"),
        temp + QStringLiteral("/FolivaneTmp-%1").arg(geteuid()),
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/FolivaneTmp"),
    };
    for (const QString& folder : candidates) {
        QDir().mkpath(QFileInfo(folder).path());
        if (IsPrivateFolder(folder))
            return folder + QLatin1Char('/');
    }
    return candidates.last() + QLatin1Char('/');
}

namespace {
QString& TempRootValue()
{
    static QString folder;
    return folder;
}

// The lock this process holds on its root: the lock file stays open until
// the process ends, and the system lets go of it even after a crash.
struct CRootLock {
    QString root;
    int file = -1;
};

CRootLock& HeldRootLock()
{
    static CRootLock lock;
    return lock;
}

// True when this process holds the root's lock, taken now or before; false
// when another process holds it. Caller holds TempRootLock.
bool HoldRootLock(const QString& root)
{
    CRootLock& held = HeldRootLock();
    struct stat status {};
    // A lock file deleted with its folder locks nothing any more.
    if (held.file >= 0 && held.root == root && fstat(held.file, &status) == 0 && status.st_nlink > 0)
        return true;
    const QByteArray name = QFile::encodeName(root + QStringLiteral(".lock"));
    const int file = open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0)
        return false;
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        close(file);
        return false;
    }
    if (held.file >= 0)
        close(held.file);
    held = {root, file};
    return true;
}

// A new private folder "FolivaneTmp-XXXXXX" in folder; empty when none can be made.
QString MakeOwnRoot(const QString& folder)
{
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/FolivaneTmp-XXXXXX"));
    if (mkdtemp(name.data()) == nullptr)
        return QString();
    return QFile::decodeName(name) + QLatin1Char('/');
}

// Each folder of relative below root, made with mode 0700 where missing;
// no link is followed and no name leads out of the root.
int MakePrivateFolders(QString path, const QString& relative)
{
    for (const QString& name : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            return EINVAL;
        path += name;
        const QByteArray native = QFile::encodeName(path);
        if (mkdir(native.constData(), 0700) != 0) {
            const int error = errno;
            struct stat status {};
            if (error != EEXIST)
                return error;
            if (lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
                return ENOTDIR;
        }
        path += QLatin1Char('/');
    }
    return 0;
}

}  // namespace

QString GetTempRoot()
{
    QMutexLocker locker(&TempRootLock());
    QString& folder = TempRootValue();
    if (folder.isEmpty())
        folder = MakePrivateTempRoot(QDir::tempPath());
    return folder;
}

void SetTempRoot(const QString& folder)
{
    QMutexLocker locker(&TempRootLock());
    TempRootValue() = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ClaimTempRoot()
{
    const QString root = GetTempRoot();
    QMutexLocker locker(&TempRootLock());
    if (IsPrivateFolder(root.chopped(1)) && HoldRootLock(root))
        return root;
    const QString own = MakeOwnRoot(QFileInfo(root.chopped(1)).path());
    if (!own.isEmpty()) {
        HoldRootLock(own);
        TempRootValue() = own;
    }
    return own;
}

bool IsInTempRoot(const QString& path)
{
    // Not made here: a process that has not used its root has none to look at.
    QMutexLocker locker(&TempRootLock());
    const QString& root = TempRootValue();
    return !root.isEmpty() && (path + QLatin1Char('/')).startsWith(root);
}

int CreateTempFolderPath(const QString& folder)
{
    const QString root = GetTempRoot();
    {
        QMutexLocker locker(&TempRootLock());
        if (!IsPrivateFolder(root.chopped(1)))
            return EACCES;
        // Made again, it has lost the lock that went with the old folder.
        if (HeldRootLock().root == root)
            HoldRootLock(root);
    }
    return MakePrivateFolders(root, folder.mid(root.size()));
}
