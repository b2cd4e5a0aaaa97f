#include "settings/SettingsLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/LockFile.h"

namespace {

constexpr useconds_t kRetryMicroseconds = 5000;

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
    : m_name(QFile::encodeName(QFileInfo(fileName).fileName() + QStringLiteral(".lock")))
{
    const QString folder = QFileInfo(fileName).path();
    QDir().mkpath(folder);
    m_folder = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QDeadlineTimer deadline(waitMsecs);
    do {
        m_file = m_folder < 0 ? -1 : OpenLockFileAt(m_folder, m_name);
        const int error = m_file < 0 ? ENOLCK : WaitForLock(m_file, deadline);
        // Where nothing at the name can be locked, or the file system keeps
        // no locks, the settings are stored unguarded rather than lost.
        if ((error == 0 && IsLockFileNamed(m_folder, m_name, m_file)) || (error != 0 && error != EWOULDBLOCK)) {
            m_bAllowsStore = true;
            return;
        }
        close(std::exchange(m_file, -1));
    } while (!deadline.hasExpired());
}

CSettingsLock::~CSettingsLock()
{
    if (m_file >= 0) {
        // Removed while still held: whoever locks this file next sees it gone.
        unlinkat(m_folder, m_name.constData(), 0);
        close(m_file);
    }
    if (m_folder >= 0) {
        close(m_folder);
    }
}
