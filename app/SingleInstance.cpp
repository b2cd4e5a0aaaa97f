#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

QString GetInstanceFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
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
