#include "app/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include "common/RegularFile.h"
#include "settings/Profile.h"

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

bool IsSoundIniFile(const QString& fileName)
{
    QSettings settings(fileName, QSettings::IniFormat);
    settings.allKeys();  // the status tells of the file's form only once it is read
    return settings.status() == QSettings::NoError;
}

// Qt reads past a UTF-8 byte-order mark at the start but reports it as a
// fault of form: the text after the mark is judged on its own.
bool IsSoundAfterMark(QFile& file)
{
    QTemporaryFile rest;
    if (!rest.open() || rest.write(file.readAll()) < 0 || !rest.flush()) {
        return true;  // cannot be judged: the file is kept as it is
    }
    return IsSoundIniFile(rest.fileName());
}

// Only a regular file is opened: reading a FIFO or a device could block.
bool IsSoundProfile(const QString& fileName)
{
    QFile file;
    if (!OpenRegularFile(file, fileName)) {
        return false;
    }
    if (file.peek(kUtf8Mark.size()) == kUtf8Mark) {
        file.skip(kUtf8Mark.size());
        return IsSoundAfterMark(file);
    }
    return IsSoundIniFile(fileName);
}

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
    if (!QFileInfo::exists(fileName) || IsSoundProfile(fileName)) {
        return QString();
    }
    const QString aside = FreeBackupName(fileName);
    if (!QFile::rename(fileName, aside)) {
        if (!QFileInfo(fileName).isFile()) {
            LeaveProfileFileAlone();
        }
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
