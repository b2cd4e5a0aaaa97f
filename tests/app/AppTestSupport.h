#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

#include "app/FolivaneApp.h"
#include "common/TempRoot.h"

// The user's settings file as the profile functions see it.
inline QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenrick"),
                     QStringLiteral("Folivane"));
}

inline void ClearUserSettings()
{
    UserSettings().clear();
}

// Runs fn in a child process and gives the child's wait status. An alarm
// ends a child that blocks, so the test never waits for good.
inline int RunInChild(const std::function<int()>& fn)
{
    const pid_t child = fork();
    if (child == 0) {
        alarm(30);
        _exit(fn());
    }
    int status = -1;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

inline bool ExitedWithZero(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The application with its start-up messages recorded instead of shown, and
// a temporary root of its own, which goes with it.
class CTestApp : public CFolivaneApp {
public:
    CTestApp() : m_strPreviousRoot(GetTempRoot()) { SetTempRoot(MakePrivateTempRoot(m_temp.path())); }
    ~CTestApp() override { SetTempRoot(m_strPreviousRoot); }
    CTestApp(const CTestApp&) = delete;
    CTestApp& operator=(const CTestApp&) = delete;

    QString m_strPreviousRoot;
    QTemporaryDir m_temp;
    QStringList m_messages;
    int m_nAboutRuns = 0;

protected:
    void ShowStartupMessage(const QString& text) override { m_messages.append(text); }
    void RunAboutDialog() override { ++m_nAboutRuns; }
};
