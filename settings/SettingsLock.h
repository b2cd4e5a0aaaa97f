#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

// Keeps the stores of the settings file by two running copies of the program
// apart, so that neither writes over the values the other has just stored:
// a lock on the file beside it, its name + ".lock", held around one
// read-change-write. The lock of a copy that ended goes with it. The file is
// removed as the lock is let go, while it is still the holder's own; a copy
// that locked the file only after its removal sees it gone and takes the one
// under the name instead. Whatever else stands at that name is cleared away,
// never another copy's lock file. Where nothing at the name can be used or
// cleared, and on a file system that keeps no locks, the store goes on
// unguarded; a name that keeps changing under the look all the wait refuses
// the store, as another copy's lock held all the wait does. Nothing another
// user does to the settings folder holds a store up for more than a moment.
class CSettingsLock {
public:
    // Waits at most waitMsecs for the lock. The folder is made, private to
    // the user, when missing.
    CSettingsLock(const QString& fileName, int waitMsecs);
    ~CSettingsLock();
    CSettingsLock(const CSettingsLock&) = delete;
    CSettingsLock& operator=(const CSettingsLock&) = delete;

    // False only when another copy held the lock, or the name kept changing,
    // all the wait.
    bool AllowsStore() const { return m_bAllowsStore; }

private:
    // One try: 0 when the lock is held, EAGAIN for another try, EWOULDBLOCK
    // when another copy held it all the wait, else the error that keeps the
    // name from being locked.
    int TryLock(const QDeadlineTimer& deadline);

    QByteArray m_name;             // the lock file's name in the folder
    int m_folder = -1;             // the settings folder
    int m_file = -1;               // the lock file while held
    bool m_bGuardForeign = false;  // another process kept the folder's guard
    bool m_bAllowsStore = false;
};
