#include "common/RegularFile.h"

#include <QFile>

#include "platform/FileName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenRegularFile(const QString& path)
{
    // Reads of a regular file never wait, so the flag may stay set.
    const int file = open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (file >= 0 && (fstat(file, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(file);
        return -1;
    }
    return file;
}

bool OpenRegularFile(QFile& file, const QString& path)
{
    const int descriptor = OpenRegularFile(path);
    if (descriptor < 0) {
        return false;
    }
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);  // a handle that was not taken stays the caller's
        return false;
    }
    return true;
}
