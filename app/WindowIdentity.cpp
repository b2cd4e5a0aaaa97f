#include "app/WindowIdentity.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// A request is one line: the letter and the start token.
constexpr char kRaiseRequest = 'R';
constexpr char kRaisedAnswer = 'Y';
// Longer is no request of the program's: tokens are far shorter.
constexpr qint64 kMaxRequest = 4096;

// How often a second start looks again for a window not yet made known.
constexpr unsigned long kRetryMsecs = 50;

QString ServerPath(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

// One request to the window at the path; true when it answered that it came forward.
bool AskToRaise(const QString& path, const QByteArray& request, const QDeadlineTimer& deadline)
{
    QLocalSocket socket;
    socket.connectToServer(path);
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

void CWindowIdentity::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine() && socket->bytesAvailable() < kMaxRequest) {
                return;  // the rest of the line is on its way
            }
            const QByteArray line = socket->readLine(kMaxRequest);
            if (line.startsWith(kRaiseRequest) && line.endsWith('\n')) {
                m_raise(line.sliced(1).chopped(1));
                socket->write(&kRaisedAnswer, 1);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

bool FindAndRaiseWindow(const QString& folder, const QString& name, const QByteArray& startToken, int msecs)
{
    // A token that does not fit in the request's line is left out.
    const bool fits = startToken.size() + 2 < kMaxRequest && !startToken.contains('\n');
    const QByteArray request = kRaiseRequest + (fits ? startToken : QByteArray()) + '\n';
    const QDeadlineTimer deadline(msecs);
    while (!AskToRaise(ServerPath(folder, name), request, deadline)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kRetryMsecs);
    }
    return true;
}
