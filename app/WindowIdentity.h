#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QDeadlineTimer;
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
    // Answers no more: a copy that has begun to close brings nothing forward.
    void Withdraw();

private:
    void OnNewConnection();

    RaiseFunction m_raise;
    QLocalServer* m_pServer;
};

// Asks the window registered under the name to come forward, with the start
// token. True when it answered by the deadline that it did; false at once
// where no window is known under the name.
bool AskWindowToRaise(const QString& folder, const QString& name, const QByteArray& startToken,
                      const QDeadlineTimer& deadline);
