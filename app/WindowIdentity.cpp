#include "app/WindowIdentity.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

// A request is one line: the letter and the start token.
constexpr char kRaiseRequest = 'R';
constexpr char kRaisedAnswer = 'Y';
// Longer is no request of the program's: tokens are far shorter.
constexpr qint64 kMaxRequest = 4096;

QString ServerPath(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

}  // namespace

CWindowIdentity::CWindowIdentity(RaiseFunction raise, QObject* parent)
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

void CWindowIdentity::Withdraw()
{
    m_pServer->close();
}

void CWindowIdentity::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine() && socket->bytesAvailable() < kMaxRequest) {
                return;  // the rest of the line is on its way
            }
            const QByteArray line = socket->readLine(kMaxRequest);
            if (m_pServer->isListening() && line.startsWith(kRaiseRequest) && line.endsWith('\n')) {
                m_raise(line.sliced(1).chopped(1));
                socket->write(&kRaisedAnswer, 1);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool AskWindowToRaise(const QString& folder, const QString& name, const QByteArray& startToken,
                      const QDeadlineTimer& deadline)
{
    // A token that does not fit in the request's line is left out.
    const bool fits = startToken.size() + 2 < kMaxRequest && !startToken.contains('\n');
    const QByteArray request = kRaiseRequest + (fits ? startToken : QByteArray()) + '\n';
    QLocalSocket socket;
    socket.connectToServer(ServerPath(folder, name));
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
        return false;
    }
    socket.write(request);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())) ||
        !socket.waitForReadyRead(int(deadline.remainingTime()))) {
        return false;
    }
    return socket.readAll().contains(kRaisedAnswer);
}
