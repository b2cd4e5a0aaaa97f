#include "common/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenPrivateFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    mkdir(path.constData(), 0700);  // an existing name is judged below, by what it holds
    // Judged by the descriptor: no gap between looking at the name and using it.
    const int opened = open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat status {};
    if (opened < 0 || fstat(opened, &status) != 0 || status.st_uid != geteuid() ||
        ((status.st_mode & 0777) != 0700 && fchmod(opened, 0700) != 0)) {
        if (opened >= 0)
            close(opened);
        return -1;
    }
    return opened;
}

bool MakePrivateFolderPath(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat status {};
    if (stat(path.constData(), &status) == 0)
        return S_ISDIR(status.st_mode);
    const QString parent = QFileInfo(folder).path();
    if (parent == folder || !MakePrivateFolderPath(parent))
        return false;
    // Another copy may have made it in the meantime.
    return mkdir(path.constData(), 0700) == 0 ||
           (errno == EEXIST && stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode));
}

QString ChoosePrivateFolder(const QStringList& candidates)
{
    for (const QString& folder : candidates) {
        QDir().mkpath(QFileInfo(folder).path());
        const int opened = OpenPrivateFolder(folder);
        const bool writable = opened >= 0 && faccessat(opened, ".", W_OK, AT_EACCESS) == 0;
        if (opened >= 0)
            close(opened);
        if (writable)
            return folder;
    }
    return QString();
}
