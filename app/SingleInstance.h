#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <functional>

// The names a running program is known by: the lock it holds while it runs
// and the window class of its main frame, which a second start asks for.
inline constexpr char kMutexName[] = "QuenrickFolivaneMutex";
inline constexpr char kMainFrameClassName[] = "QuenrickFolivaneMainFrmClass";

// The per-user folder the lock and the window's address live in: the
// user's runtime folder, else a folder private to the user in the temporary
// folder, else one in the user's cache folder; empty when none of them can
// be had.
QString GetInstanceFolder();

// Reads a variable of the environment as the bytes it holds; empty when unset.
using EnvironmentReader = std::function<QByteArray(const char* name)>;

// The name under which a program keeps what it holds for its login session:
// one copy runs per session, and the folder above is shared by all the
// sessions of a user (a local and a remote desktop, a second display). A
// session is told by the display the window shows on, else by the id the
// system gives the login; with neither, the name alone.
QString SessionName(const char* name, const EnvironmentReader& environment = qgetenv);

// The single-instance lock of the session. Taking it is atomic, so of two
// programs started at the same moment exactly one holds it; a lock left by a
// process that no longer runs is taken over.
class CSingleInstance {
public:
    enum Result { Held, HeldByOther, Failed };

    explicit CSingleInstance(const QString& folder);

    Result Lock();

private:
    QLockFile m_lock;
};
