#include "settings/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

#include "common/PrivateFolder.h"
#include "common/RegularFile.h"

ESettingsFile ReadSettingsFile(const QString& fileName, CIniValues& values)
{
    values.clear();
    // A refused non-file leaves errno as it was.
    errno = 0;
    QFile file;
    if (!OpenRegularFile(file, fileName)) {
        return errno == ENOENT ? ESettingsFile::Absent : ESettingsFile::Refused;
    }
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return ESettingsFile::Refused;
    }
    return ParseIniText(text, values) ? ESettingsFile::Sound : ESettingsFile::Broken;
}

bool WriteSettingsFile(const QString& fileName, const CIniValues& values)
{
    const QByteArray text = FormatIniText(values);
    // Unbuffered, so that each write tells whether its bytes arrived. The
    // new file is removed with the object unless it was committed.
    QSaveFile file(fileName);
    return MakePrivateFolderPath(QFileInfo(fileName).path()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(text) == text.size() &&
           fsync(file.handle()) == 0 && file.commit();
}
