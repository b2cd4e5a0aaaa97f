#include "common/TempRoot.h"

#include <QDir>
#include <QMutex>

namespace {
QMutex& TempRootLock()
{
    static QMutex lock;
    return lock;
}

QString& TempRootValue()
{
    static QString folder = QDir::tempPath() + QStringLiteral("/FolivaneTmp/");
    return folder;
}
}  // namespace

QString GetTempRoot()
{
    QMutexLocker locker(&TempRootLock());
    return TempRootValue();
}

void SetTempRoot(const QString& folder)
{
    QMutexLocker locker(&TempRootLock());
    TempRootValue() = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
