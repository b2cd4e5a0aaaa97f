#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// The address under which the main frame can be found by a second start of
// the program: a local server that brings the window forward when asked,
// with the token the second start was given by the desktop.
class CWindowIdentity : public QObject {
    Q_OBJECT

public:
    using RaiseFunction = std::function<void(const QByteArray& startToken)>;

    CWindowIdentity(RaiseFunction raise, QObject* parent = nullptr);

    // Starts answering under the name in the folder; false when it cannot
    // or no folder is given.
    bool Register(const QString& folder, const QString& name);

private:
    void OnNewConnection();

    RaiseFunction m_raise;
    QLocalServer* m_pServer;
};

// Asks the window registered under the name to come forward, looking again
// while it is not yet known: a copy still starting makes it known a moment
// after it took the lock. The start token goes with the request. True when it
// answered within msecs that it did.
bool FindAndRaiseWindow(const QString& folder, const QString& name, const QByteArray& startToken, int msecs);
