#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "AppTestSupport.h"
#include "app/MainFrame.h"
#include "app/SingleInstance.h"

namespace {

// A frame that keeps the tokens of the second starts that asked for it.
class CCountingFrame : public CMainFrame {
public:
    void ActivateFrame(const QByteArray& startToken) override
    {
        m_tokens.append(startToken);
        CMainFrame::ActivateFrame(startToken);
    }
    QByteArrayList m_tokens;
};

class SingleInstance : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> StartProbe()
    {
        auto probe = std::make_unique<QProcess>();
        probe->start(QStringLiteral(FOLIVANE_PROBE_PATH), {m_dir.path()});
        return probe;
    }

    static QString ProbeAnswer(QProcess& probe)
    {
        if (!QTest::qWaitFor([&] { return probe.canReadLine() || probe.state() == QProcess::NotRunning; }, 10000)) {
            return QStringLiteral("no answer");
        }
        return QString::fromLatin1(probe.readLine()).trimmed();
    }

    // The program itself, with its settings, lock and temporary files in the test's folder.
    std::unique_ptr<QProcess>
    StartProgram(const QString& cacheFolder = QString(),
                 const QProcessEnvironment& session = QProcessEnvironment::systemEnvironment())
    {
        QProcessEnvironment env = session;
        if (!cacheFolder.isEmpty())
            env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheFolder);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("TMPDIR"), m_dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        auto program = std::make_unique<QProcess>();
        program->setProcessEnvironment(env);
        program->start(QStringLiteral(FOLIVANE_PROGRAM_PATH), {});
        return program;
    }

    // Where the window of a program of the session can be found.
    QString Address(const QProcessEnvironment& session = QProcessEnvironment::systemEnvironment()) const
    {
        return m_dir.filePath(SessionName(kMainFrameClassName, [&session](const char* name) {
            return session.value(QString::fromLatin1(name)).toLocal8Bit();
        }));
    }

    static bool WaitEnd(QProcess& program)
    {
        return QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 20000);
    }

    // Sets a variable of this process's environment, or unsets it for a null
    // value, until the test ends.
    void SetEnv(const char* name, const QByteArray& value)
    {
        if (!m_savedEnv.contains(name))
            m_savedEnv.insert(name, qgetenv(name));
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    void TearDown() override
    {
        for (auto it = m_savedEnv.cbegin(); it != m_savedEnv.cend(); ++it)
            it.value().isNull() ? qunsetenv(it.key().constData()) : qputenv(it.key().constData(), it.value());
    }

    QTemporaryDir m_dir;
    QHash<QByteArray, QByteArray> m_savedEnv;
};

}  // namespace

TEST_F(SingleInstance, OfProgramsStartedAtTheSameMomentExactlyOneHoldsTheLock)
{
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < 4; ++i) {
        probes.push_back(StartProbe());
    }
    int held = 0;
    for (auto& probe : probes) {
        const QString answer = ProbeAnswer(*probe);
        EXPECT_TRUE(answer == QStringLiteral("held") || answer == QStringLiteral("busy")) << answer.toStdString();
        held += answer == QStringLiteral("held") ? 1 : 0;
    }
    EXPECT_EQ(held, 1);
    for (auto& probe : probes) {
        probe->closeWriteChannel();
        probe->waitForFinished(5000);
    }
}

TEST_F(SingleInstance, ALockLeftByAKilledProgramDoesNotBlockTheNextStart)
{
    auto first = StartProbe();
    ASSERT_EQ(ProbeAnswer(*first), QStringLiteral("held"));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));
    auto second = StartProbe();
    EXPECT_EQ(ProbeAnswer(*second), QStringLiteral("held"));
    second->closeWriteChannel();
    second->waitForFinished(5000);
}

TEST_F(SingleInstance, ASecondStartInTheSessionRaisesTheFirstWindowAndEndsSilentlyOneInAnotherRunsItsOwn)
{
    CSingleInstance lock(m_dir.path());
    ASSERT_EQ(lock.Lock(), CSingleInstance::Held);
    CCountingFrame frame;
    ASSERT_TRUE(frame.Create(m_dir.path()));
    frame.showMinimized();

    auto second = StartProgram();
    ASSERT_TRUE(WaitEnd(*second));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(frame.m_tokens.size(), 1);
    EXPECT_FALSE(frame.isMinimized());

    // The runtime folder is the user's, shared by the sessions: another
    // Wayland or X display runs a copy with a window of its own.
    QProcessEnvironment wayland = QProcessEnvironment::systemEnvironment();
    wayland.insert(QStringLiteral("WAYLAND_DISPLAY"),
                   wayland.value(QStringLiteral("WAYLAND_DISPLAY")) + QStringLiteral("x"));
    QProcessEnvironment display = QProcessEnvironment::systemEnvironment();
    display.remove(QStringLiteral("WAYLAND_DISPLAY"));
    display.insert(QStringLiteral("DISPLAY"), QStringLiteral("remote:10.0"));
    std::vector<std::unique_ptr<QProcess>> others;
    for (const QProcessEnvironment& session : {wayland, display}) {
        others.push_back(StartProgram(QString(), session));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Address(session)); }, 20000));
    }
    EXPECT_EQ(frame.m_tokens.size(), 1);
    for (auto& other : others) {
        ::kill(static_cast<pid_t>(other->processId()), SIGTERM);
        ASSERT_TRUE(WaitEnd(*other));
        EXPECT_EQ(other->exitCode(), 0);
    }
}

TEST_F(SingleInstance, TheSessionIsToldByTheWindowsDisplayAndByTheSessionIdOnlyWithoutOne)
{
    const auto name = [this](const QByteArray& wayland, const QByteArray& display, const QByteArray& id) {
        SetEnv("WAYLAND_DISPLAY", wayland);
        SetEnv("DISPLAY", display);
        SetEnv("XDG_SESSION_ID", id);
        return SessionName(kMutexName).toStdString();
    };
    const QByteArray none;
    // Starts on one display with and without the login's id: one copy.
    EXPECT_EQ(name(none, ":0", "c1"), name(none, ":0", none));
    EXPECT_EQ(name("wayland-0", ":0", "c1"), name("wayland-0", ":0", none));
    // Two displays that share an id: two copies; the screen number does not count.
    EXPECT_NE(name(none, ":0", "c1"), name(none, ":1", "c1"));
    EXPECT_NE(name("wayland-0", ":0", "c1"), name("wayland-1", ":0", "c1"));
    EXPECT_EQ(name(none, ":0.1", none), name(none, ":0", none));
    // No display: the id tells the session.
    EXPECT_NE(name(none, none, "c1"), name(none, none, "c2"));
    // Long values and bytes that are not UTF-8 give plain names of bounded length, told apart.
    const QByteArray longValue(300, 'a');
    const std::string longName = name(longValue, none, none);
    EXPECT_NE(longName, name(longValue + 'b', none, none));
    EXPECT_LE(longName.size(), sizeof(kMutexName) + 32);
    EXPECT_EQ(longName.find('/'), std::string::npos);
    EXPECT_NE(name("w\xff", none, none), name("w\xfe", none, none));
}

TEST_F(SingleInstance, ASecondStartWaitsForTheWindowOfAFirstCopyStillStarting)
{
    CSingleInstance lock(m_dir.path());
    ASSERT_EQ(lock.Lock(), CSingleInstance::Held);
    auto second = StartProgram();
    ASSERT_TRUE(second->waitForStarted());
    // The first copy makes its window known after the second found the lock held.
    QTest::qWait(500);
    CCountingFrame frame;
    ASSERT_TRUE(frame.Create(m_dir.path()));
    ASSERT_TRUE(WaitEnd(*second));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(frame.m_tokens.size(), 1);
}

TEST_F(SingleInstance, AStartDuringACloseIsNotAnsweredByTheClosingCopyAndRunsAsTheFirstOnceItEnds)
{
    auto lock = std::make_unique<CSingleInstance>(m_dir.path());
    ASSERT_EQ(lock->Lock(), CSingleInstance::Held);
    CCountingFrame frame;
    ASSERT_TRUE(frame.Create(m_dir.path()));
    frame.show();
    frame.close();  // its copy still ending: the lock is held a while longer
    auto second = StartProgram();
    ASSERT_TRUE(second->waitForStarted());
    QTest::qWait(500);
    lock.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Address()); }, 20000));
    EXPECT_EQ(second->state(), QProcess::Running);
    EXPECT_TRUE(frame.m_tokens.isEmpty());
    ::kill(static_cast<pid_t>(second->processId()), SIGTERM);
    ASSERT_TRUE(WaitEnd(*second));
    EXPECT_EQ(second->exitCode(), 0);
}

TEST_F(SingleInstance, ASecondStartHandsTheTokenItWasGivenToTheWindow)
{
    CSingleInstance lock(m_dir.path());
    ASSERT_EQ(lock.Lock(), CSingleInstance::Held);
    CCountingFrame frame;
    ASSERT_TRUE(frame.Create(m_dir.path()));
    // A Wayland desktop's activation token, else an X11 desktop's startup id.
    QProcessEnvironment session = QProcessEnvironment::systemEnvironment();
    session.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("wayland-token"));
    session.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QStringLiteral("launcher_TIME42"));
    for (const char* dropped : {"", "XDG_ACTIVATION_TOKEN"}) {
        session.remove(QString::fromLatin1(dropped));
        auto second = StartProgram(QString(), session);
        ASSERT_TRUE(WaitEnd(*second));
    }
    EXPECT_EQ(frame.m_tokens, (QByteArrayList{"wayland-token", "launcher_TIME42"}));
    // The token was another start's: this copy keeps none.
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
}

TEST_F(SingleInstance, WhileTheLockIsHeldWithoutAWindowTheStartSaysSo)
{
    CSingleInstance lock(m_dir.path());
    ASSERT_EQ(lock.Lock(), CSingleInstance::Held);
    CTestApp app;
    app.m_strInstanceFolder = m_dir.path();
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.m_messages, QStringList{QStringLiteral("既に起動しています。")});
    EXPECT_FALSE(app.m_pMainWnd);
}

TEST_F(SingleInstance, AWindowThatCannotBeGivenItsAddressStillStarts)
{
    // The address in this folder is longer than the system allows a socket's.
    const QString folder = m_dir.filePath(QString(100, u'f'));
    ASSERT_TRUE(QDir().mkpath(folder));
    CTestApp first;
    first.m_strInstanceFolder = folder;
    EXPECT_TRUE(first.InitInstance());
    EXPECT_TRUE(first.m_messages.isEmpty());
    CTestApp second;
    second.m_strInstanceFolder = folder;
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.m_messages, QStringList{QStringLiteral("既に起動しています。")});
    EXPECT_EQ(first.ExitInstance(), 0);
}

TEST_F(SingleInstance, ALockThatCannotBeMadeFailsTheStart)
{
    QFile blocker(m_dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    CTestApp app;
    app.m_strInstanceFolder = blocker.fileName();  // a file, not a folder
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.m_messages, QStringList{QStringLiteral("CreateMutex failed.")});
}

TEST_F(SingleInstance, TerminationSignalClosesTheProgramWithItsSettingsSaved)
{
    auto program = StartProgram();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Address()); }, 20000));
    ::kill(static_cast<pid_t>(program->processId()), SIGTERM);
    ASSERT_TRUE(WaitEnd(*program));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    QSettings saved(m_dir.path() + QStringLiteral("/config/Quenrick/Folivane.ini"), QSettings::IniFormat);
    EXPECT_TRUE(saved.contains(QStringLiteral("OptionInfo/SaveQuality")));
    // The lock went with the program: the next start is not refused.
    auto next = StartProbe();
    EXPECT_EQ(ProbeAnswer(*next), QStringLiteral("held"));
    next->closeWriteChannel();
    next->waitForFinished(5000);
}

TEST_F(SingleInstance, WithoutTheSharedTemporaryFolderTheRootLiesInTheProgramsCacheFolder)
{
    for (const QString& name : {QStringLiteral("FolivaneTmp"), QStringLiteral("FolivaneTmp-%1").arg(geteuid())}) {
        QFile taken(m_dir.filePath(name));
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    }
    auto program = StartProgram(m_dir.filePath(QStringLiteral("cache")));
    // Its window is found once the program closes in order at a signal.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Address()); }, 20000));
    const QString root = m_dir.filePath(QStringLiteral("cache/Quenrick/Folivane/FolivaneTmp"));
    EXPECT_TRUE(QFileInfo(root).isDir());
    ::kill(static_cast<pid_t>(program->processId()), SIGTERM);
    ASSERT_TRUE(WaitEnd(*program));
    EXPECT_FALSE(QFileInfo::exists(root));
}

TEST_F(SingleInstance, WithoutARuntimeFolderTheLockLiesInAFolderOfTheUsersOwn)
{
    const QString shared = m_dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(shared));
    SetEnv("XDG_RUNTIME_DIR", QByteArray());
    SetEnv("TMPDIR", QFile::encodeName(shared));
    SetEnv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
    // Another user took the runtime folder's name, and the lock's name in the
    // shared folder.
    QFile runtime(shared + QStringLiteral("/runtime-") + QString::fromLocal8Bit(getpwuid(geteuid())->pw_name));
    ASSERT_TRUE(runtime.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir().mkpath(shared + QStringLiteral("/QuenrickFolivaneMutex.lock")));

    const auto expectPrivate = [&](const QString& folder) {
        struct stat status {};
        ASSERT_EQ(lstat(QFile::encodeName(folder).constData(), &status), 0) << folder.toStdString();
        EXPECT_TRUE(S_ISDIR(status.st_mode));
        EXPECT_EQ(status.st_mode & 0777, 0700u);
        EXPECT_EQ(status.st_uid, geteuid());
        EXPECT_EQ(CSingleInstance(folder).Lock(), CSingleInstance::Held);
    };
    const QString folder = GetInstanceFolder();
    EXPECT_TRUE(folder.startsWith(shared + QLatin1Char('/'))) << folder.toStdString();
    expectPrivate(folder);

    // That folder's name taken too: the user's own cache folder.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile planted(folder);
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    const QString cache = GetInstanceFolder();
    EXPECT_TRUE(cache.startsWith(m_dir.filePath(QStringLiteral("home/")))) << cache.toStdString();
    expectPrivate(cache);

    // No home to make it in either: two copies start, each without the check.
    ASSERT_TRUE(QDir(m_dir.filePath(QStringLiteral("home"))).removeRecursively());
    QFile home(m_dir.filePath(QStringLiteral("home")));
    ASSERT_TRUE(home.open(QIODevice::WriteOnly));
    EXPECT_EQ(GetInstanceFolder().toStdString(), "");
    CTestApp first;
    CTestApp second;
    EXPECT_TRUE(first.InitInstance());
    EXPECT_TRUE(second.InitInstance());
    EXPECT_EQ(first.m_messages + second.m_messages, QStringList());
    EXPECT_EQ(first.ExitInstance() + second.ExitInstance(), 0);
}
