#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

#include <algorithm>

#include "common/PrivateFolder.h"

QString GetInstanceFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        return runtime;
    }
    // The temporary folder is shared by all users: fixed names right in it
    // could be taken by anyone, so that this user's copy would find the lock
    // held or unusable. Only a folder private to the user is shared, by the
    // user's own copies alone.
    return ChoosePrivateFolder({
        QDir::tempPath() + QStringLiteral("/QuenrickFolivane-%1").arg(geteuid()),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/QuenrickFolivane"),
    });
}

namespace {

// A session's part of a name longer than this is shortened to a digest:
// the window's address must stay within the system's limit for a socket's.
constexpr qsizetype kMaxSessionPart = 32;

// ":0" and ":0.0" are one display: the screen number does not count.
QByteArray WithoutScreen(QByteArray display)
{
    const qsizetype dot = display.lastIndexOf('.');
    const auto digits = display.sliced(dot + 1);
    if (dot > display.lastIndexOf(':') && !digits.isEmpty() &&
        std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        display.truncate(dot);
    return display;
}

// The session as the environment tells it, marked by where it came from.
// Desktops leave the login's id out of what their service manager starts, and
// some leave a stale one that two logins share: the display comes first.
QByteArray SessionKey(const EnvironmentReader& environment)
{
    if (const QByteArray wayland = environment("WAYLAND_DISPLAY"); !wayland.isEmpty())
        return 'w' + wayland;
    if (const QByteArray display = WithoutScreen(environment("DISPLAY")); !display.isEmpty())
        return 'd' + display;
    const QByteArray id = environment("XDG_SESSION_ID");
    return id.isEmpty() ? id : 's' + id;
}

}  // namespace

QString SessionName(const char* name, const EnvironmentReader& environment)
{
    // The bytes as they are: values that differ only in bytes that are not
    // UTF-8 are other displays.
    const QByteArray key = SessionKey(environment);
    if (key.isEmpty())
        return QString::fromLatin1(name);
    // Whatever a display's name holds, the part is a plain file name.
    QByteArray part = key.toPercentEncoding();
    if (part.size() > kMaxSessionPart)
        part = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(kMaxSessionPart);
    return QString::fromLatin1(name) + QLatin1Char('-') + QString::fromLatin1(part);
}

CSingleInstance::CSingleInstance(const QString& folder)
    : m_lock(QDir(folder).filePath(SessionName(kMutexName) + QStringLiteral(".lock")))
{
    // Only a dead owner makes a lock stale, never its age: a program may run for days.
    m_lock.setStaleLockTime(0);
}

CSingleInstance::Result CSingleInstance::Lock()
{
    if (m_lock.tryLock(0)) {
        return Held;
    }
    return m_lock.error() == QLockFile::LockFailedError ? HeldByOther : Failed;
}
