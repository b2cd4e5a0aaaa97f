#include "common/TempRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

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
