#pragma once

#include <QLockFile>
#include <QString>

// The names a running program is known by: the lock it holds while it runs
// and the window class of its main frame, which a second start asks for.
inline constexpr char kMutexName[] = "QuenrickFolivaneMutex";
inline constexpr char kMainFrameClassName[] = "QuenrickFolivaneMainFrmClass";

// The per-user folder the lock and the window's address live in: the
// session's runtime folder, else a folder private to the user in the
// temporary folder, else one in the user's cache folder; empty when none of
// them can be had.
QString GetInstanceFolder();

// The single-instance lock. Taking it is atomic, so of two programs started
// at the same moment exactly one holds it; a lock left by a process that no
// longer runs is taken over.
class CSingleInstance {
public:
    enum Result { Held, HeldByOther, Failed };

    explicit CSingleInstance(const QString& folder);

    Result Lock();

private:
    QLockFile m_lock;
};
