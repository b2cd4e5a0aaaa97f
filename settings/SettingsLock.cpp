#include "settings/SettingsLock.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/LockFile.h"
#include "common/PrivateFolder.h"

namespace {

constexpr useconds_t kRetryMicroseconds = 5000;
// A copy holds the settings folder's guard for a few system calls; one held
// longer than this is another process's (anyone who may enter the folder can
// lock it), which must not hold a store up.
constexpr int kGuardWaitMsecs = 300;

// Locks the open file or folder, trying again until the deadline: 0,
// EWOULDBLOCK when another process held it all the while, or the error of a
// file system that keeps no locks.
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

// The lock file's name is changed (cleared of what stands there, taken away
// at a store's end) under the settings folder's own lock, held for that
// moment alone: no two copies then change it at once, so a thing found at
// the name is still the one there when it is removed, and no copy's lock
// file is taken for another thing. The guard is waited for a short while,
// and not at all once another process was seen keeping it (foreign).
class CNameGuard {
public:
    CNameGuard(int folder, bool& foreign, const QDeadlineTimer& deadline)
        : m_folder(folder),
          m_error(
              WaitForLock(folder, foreign ? QDeadlineTimer(0) : std::min(deadline, QDeadlineTimer(kGuardWaitMsecs))))
    {
        foreign = m_error == EWOULDBLOCK;
    }
    ~CNameGuard()
    {
        if (m_error == 0)
            flock(m_folder, LOCK_UN);
    }
    CNameGuard(const CNameGuard&) = delete;
    CNameGuard& operator=(const CNameGuard&) = delete;

    // Held, or the file system keeps no locks and the name is changed
    // unguarded.
    bool Allows() const { return m_error != EWOULDBLOCK; }

private:
    int m_folder;
    int m_error;
};

}  // namespace

CSettingsLock::CSettingsLock(const QString& fileName, int waitMsecs)
    : m_name(QFile::encodeName(QFileInfo(fileName).fileName() + QStringLiteral(".lock")))
{
    const QString folder = QFileInfo(fileName).path();
    MakePrivateFolderPath(folder);
    m_folder = open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QDeadlineTimer deadline(waitMsecs);
    do {
        const int error = m_folder < 0 ? ENOLCK : TryLock(deadline);
        // Where nothing at the name can be used or cleared, or the file
        // system keeps no locks, the settings are stored unguarded rather
        // than lost.
        if (error != EWOULDBLOCK && error != EAGAIN) {
            m_bAllowsStore = true;
            return;
        }
    } while (!deadline.hasExpired());
}

int CSettingsLock::TryLock(const QDeadlineTimer& deadline)
{
    int error = 0;
    {
        // Without the guard, where another process keeps it, the name is
        // still cleared: only of the very thing found there.
        const CNameGuard guard(m_folder, m_bGuardForeign, deadline);
        m_file = OpenLockFileAt(m_folder, m_name);
        error = m_file < 0 ? errno : 0;
    }
    if (m_file < 0) {
        if (error == EAGAIN)
            usleep(kRetryMicroseconds);  // another copy is clearing the name just now
        return error;
    }
    error = WaitForLock(m_file, deadline);
    if (error == 0 && IsLockFileNamed(m_folder, m_name, m_file))
        return 0;
    // Locked only after its holder took its name away: the next one then.
    close(std::exchange(m_file, -1));
    return error == 0 ? EAGAIN : error;
}

CSettingsLock::~CSettingsLock()
{
    if (m_file >= 0) {
        {
            // Taken away while still held, so that whoever locks this file
            // next sees it gone; and only while it is still this copy's own,
            // never the next holder's. Without the guard it is left: a file
            // left under the name does no harm.
            const CNameGuard guard(m_folder, m_bGuardForeign, QDeadlineTimer(kGuardWaitMsecs));
            if (guard.Allows() && IsLockFileNamed(m_folder, m_name, m_file))
                unlinkat(m_folder, m_name.constData(), 0);
        }
        close(m_file);
    }
    if (m_folder >= 0) {
        close(m_folder);
    }
}
