#include "app/WindowIdentity.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr char kRaiseRequest = 'R';
constexpr char kRaisedAnswer = 'Y';

// How often a second start looks again for a window not yet made known.
constexpr unsigned long kRetryMsecs = 50;

QString ServerPath(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

// One request to the window at the path; true when it answered that it came forward.
bool AskToRaise(const QString& path, const QDeadlineTimer& deadline)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        return false;
    }
    socket.write(&kRaiseRequest, 1);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())) ||
        !socket.waitForReadyRead(int(deadline.remainingTime()))) {
        return false;
    }
    return socket.readAll().contains(kRaisedAnswer);
}

}  // namespace

CWindowIdentity::CWindowIdentity(std::function<void()> raise, QObject* parent)
    : QObject(parent), m_raise(std::move(raise)), m_pServer(new QLocalServer(this))
{
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CWindowIdentity::OnNewConnection);
}

bool CWindowIdentity::Register(const QString& folder, const QString& name)
{
    // No folder: a relative name would lie in the shared temporary folder.
    if (folder.isEmpty()) {
        return false;
    }
    // The caller holds the single-instance lock, so an address left behind
    // is a dead program's.
    const QString path = ServerPath(folder, name);
    QLocalServer::removeServer(path);
    return m_pServer->listen(path);
}

void CWindowIdentity::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kRaiseRequest)) {
                m_raise();
                socket->write(&kRaisedAnswer, 1);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool FindAndRaiseWindow(const QString& folder, const QString& name, int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (!AskToRaise(ServerPath(folder, name), deadline)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kRetryMsecs);
    }
    return true;
}
