#pragma once

#include <QByteArray>
#include <QString>

// Keeps the stores of the settings file by two running copies of the program
// apart, so that neither writes over the values the other has just stored:
// a lock on the file beside it, its name + ".lock", held around one
// read-change-write. The lock of a copy that ended goes with it. The file is
// removed as the lock is let go; a copy that locked the file only after its
// removal sees it gone and takes the one under the name instead.
class CSettingsLock {
public:
    // Waits at most waitMsecs for the lock. The folder is made when missing.
    CSettingsLock(const QString& fileName, int waitMsecs);
    ~CSettingsLock();
    CSettingsLock(const CSettingsLock&) = delete;
    CSettingsLock& operator=(const CSettingsLock&) = delete;

    // False when another copy held it all the wait, or the lock file could
    // not be made or is no regular file.
    bool IsHeld() const { return m_bHeld; }

private:
    QByteArray m_name;
    int m_file = -1;  // the lock file while held
    bool m_bHeld = false;
};
