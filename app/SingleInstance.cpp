#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

#include "common/PrivateFolder.h"

QString GetInstanceFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime;
    }
    // The temporary folder is shared by all users: fixed names right in it
    // could be taken by anyone, so that this user's copy would find the lock
    // held or unusable. Only a folder private to the user is shared, by the
    // user's own copies alone.
    return ChoosePrivateFolder({
        QDir::tempPath() + QStringLiteral("/QuenrickFolivane-%1").arg(geteuid()),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/QuenrickFolivane"),
    });
}

CSingleInstance::CSingleInstance(const QString& folder)
    : m_lock(QDir(folder).filePath(QString::fromLatin1(kMutexName) + QStringLiteral(".lock")))
{
    // Only a dead owner makes a lock stale, never its age: a program may run for days.
    m_lock.setStaleLockTime(0);
}

CSingleInstance::Result CSingleInstance::Lock()
{
    if (m_lock.tryLock(0)) {
        return Held;
    }
    return m_lock.error() == QLockFile::LockFailedError ? HeldByOther : Failed;
}
