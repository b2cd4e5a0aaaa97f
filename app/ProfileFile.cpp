#include "app/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "platform/Profile.h"

namespace {

bool IsSoundProfile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    return QSettings(fileName, QSettings::IniFormat).status() == QSettings::NoError;
}

}  // namespace

QString SetAsideBrokenProfile(const QString& fileName)
{
    if (!QFileInfo::exists(fileName) || IsSoundProfile(fileName)) {
        return QString();
    }
    const QString aside = fileName + QStringLiteral(".broken");
    QFile::remove(aside);
    if (!QFile::rename(fileName, aside)) {
        qWarning("Folivane: the settings file %s cannot be read; it is left as it is and the defaults are used",
                 qUtf8Printable(fileName));
        return QString();
    }
    qWarning("Folivane: the settings file %s could not be read and was moved to %s; the defaults are used",
             qUtf8Printable(fileName), qUtf8Printable(aside));
    return aside;
}

void ReportUnsavedProfile(int failuresBefore)
{
    if (GetProfileWriteFailures() == failuresBefore) {
        return;
    }
    qWarning("Folivane: the settings file %s could not be written; the options, the list's columns and view "
             "and the recent items of this session are lost",
             qUtf8Printable(GetProfileFileName()));
}
