#include "app/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

#include "settings/Profile.h"
#include "settings/SettingsFile.h"

namespace {

// name + ".broken", or with a number from 2 added when earlier ones are kept.
QString FreeBackupName(const QString& fileName)
{
    const QString base = fileName + QStringLiteral(".broken");
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n) {
        name = base + QString::number(n);
    }
    return name;
}

}  // namespace

QString SetAsideBrokenProfile(const QString& fileName)
{
    CIniValues values;
    const ESettingsFile found = ReadSettingsFile(fileName, values);
    if (found == ESettingsFile::Absent || found == ESettingsFile::Sound) {
        return QString();
    }
    const QString aside = FreeBackupName(fileName);
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
