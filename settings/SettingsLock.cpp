#include "settings/SettingsLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr useconds_t kRetryMicroseconds = 5000;

// The lock file, made when missing; -1 when it cannot be made or is no
// regular file. Not waited on: a FIFO put there opens at once and is refused.
int OpenLockFile(const QByteArray& name)
{
    const int file = open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat status {};
    if (file >= 0 && (fstat(file, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(file);
        return -1;
    }
    return file;
}

// Whether the open file is still the one under the name.
bool IsNamed(int file, const QByteArray& name)
{
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && lstat(name.constData(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

// Locks the open file, trying again until the deadline: 0, EWOULDBLOCK when
// another process held it all the while, or the error of a file system that
// keeps no locks.
int WaitForLock(int file, const QDeadlineTimer& deadline)
{
    while (flock(file, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error != EWOULDBLOCK || deadline.hasExpired()) {
            return error;
        }
        usleep(kRetryMicroseconds);
    }
    return 0;
}

}  // namespace

CSettingsLock::CSettingsLock(const QString& fileName, int waitMsecs)
    : m_name(QFile::encodeName(fileName + QStringLiteral(".lock")))
{
    QDir().mkpath(QFileInfo(fileName).path());
    const QDeadlineTimer deadline(waitMsecs);
    do {
        m_file = OpenLockFile(m_name);
        if (m_file < 0) {
            return;
        }
        const int error = WaitForLock(m_file, deadline);
        // Where the file system keeps no locks, the store goes on unguarded, as it did before.
        if ((error == 0 && IsNamed(m_file, m_name)) || (error != 0 && error != EWOULDBLOCK)) {
            m_bHeld = true;
            return;
        }
        close(std::exchange(m_file, -1));
    } while (!deadline.hasExpired());
}

CSettingsLock::~CSettingsLock()
{
    if (m_file < 0) {
        return;
    }
    // Removed while still held: whoever locks this file next sees it gone.
    unlink(m_name.constData());
    close(m_file);
}
