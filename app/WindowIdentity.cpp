#include "app/WindowIdentity.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr char kRaiseRequest = 'R';
constexpr char kRaisedAnswer = 'Y';

QString ServerPath(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
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
    QLocalSocket socket;
    socket.connectToServer(ServerPath(folder, name));
    if (!socket.waitForConnected(msecs)) {
        return false;
    }
    socket.write(&kRaiseRequest, 1);
    if (!socket.waitForBytesWritten(msecs) || !socket.waitForReadyRead(msecs)) {
        return false;
    }
    return socket.readAll().contains(kRaisedAnswer);
}
