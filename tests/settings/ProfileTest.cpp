#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileName.h"
#include "settings/Profile.h"
#include "settings/SettingsLock.h"

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override { ClearUserSettings(); }
    void TearDown() override { ClearUserSettings(); }

    static void ClearUserSettings()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Quenrick", "Folivane").clear();
    }
};

// A copy of the test program doing work of its own, killed and reaped on
// every way out of the test: a failed assertion never leaves it running.
class CForkedCopy {
public:
    explicit CForkedCopy(const std::function<bool()>& work) : m_pid(fork())
    {
        if (m_pid == 0) {
            alarm(60);
            _exit(work() ? 0 : 1);
        }
    }
    ~CForkedCopy()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CForkedCopy(const CForkedCopy&) = delete;
    CForkedCopy& operator=(const CForkedCopy&) = delete;

    // Whether it ended, once, with success.
    bool Succeeded()
    {
        int status = -1;
        const bool reaped = m_pid > 0 && waitpid(std::exchange(m_pid, -1), &status, 0) > 0;
        return reaped && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t m_pid;
};

// A descriptor closed on every way out of the test, and with it any lock
// taken through it.
class CHeldFile {
public:
    explicit CHeldFile(int file) : m_file(file) {}
    ~CHeldFile()
    {
        if (m_file >= 0)
            close(m_file);
    }
    CHeldFile(const CHeldFile&) = delete;
    CHeldFile& operator=(const CHeldFile&) = delete;
    int get() const { return m_file; }

private:
    int m_file;
};

// Records what option-file mode routes to it.
class CRecordingDoc : public IProfileDocument {
public:
    int GetInt(const QString&, const QString& entry, int) override { return entry.size(); }
    BOOL WriteInt(const QString&, const QString& entry, int) override
    {
        m_written = entry;
        return 1;
    }
    QString GetString(const QString&, const QString&, const QString&) override { return "doc"; }
    BOOL WriteString(const QString&, const QString& entry, const QString&) override
    {
        m_written = entry;
        return 1;
    }
    BOOL GetBinary(const QString&, const QString&, QByteArray& data) override
    {
        data = "b";
        return 1;
    }
    BOOL WriteBinary(const QString&, const QString& entry, const QByteArray&) override
    {
        m_written = entry;
        return 1;
    }
    QString m_written;
};

}  // namespace

TEST_F(Profile, ValuesRoundTripInSectionsAndTopLevel)
{
    EXPECT_TRUE(WriteProfileInt("OptionInfo", "BackBorder", -17));
    EXPECT_TRUE(WriteProfileInt("", "DebugOn", 1));
    EXPECT_TRUE(WriteProfileString("RecentItems", "0", "/home/u/a,b\nc"));
    // A file name whose bytes are no UTF-8 comes back as it went.
    const QString bytesName = DecodeFileName("/home/u/\x83\x79"
                                             "caf\xe9\xff.png");
    EXPECT_TRUE(WriteProfileString("RecentItems", "1", bytesName));
    EXPECT_TRUE(WriteProfileBinary("", "ColumnInfo", QByteArray("\0\1\xff", 3)));

    EXPECT_EQ(GetProfileInt("OptionInfo", "BackBorder", 5), -17);
    EXPECT_EQ(GetProfileInt("", "DebugOn", 0), 1);
    EXPECT_EQ(GetProfileInt("", "BackBorder", 5), 5);  // sections are apart
    EXPECT_EQ(GetProfileString("RecentItems", "0"), "/home/u/a,b\nc");
    EXPECT_EQ(EncodeFileName(GetProfileString("RecentItems", "1")), "/home/u/\x83\x79"
                                                                    "caf\xe9\xff.png");
    QByteArray data;
    EXPECT_TRUE(GetProfileBinary("", "ColumnInfo", data));
    EXPECT_EQ(data, QByteArray("\0\1\xff", 3));

    // The file is in the toolkit's INI form: what the one writes, the other reads.
    const QString text = QStringLiteral(" @a;b=\"c\\\t\x01"
                                        "1 \u00e9\U0001F600 ");
    const QByteArray bytes("\0"
                           "1\x7f\xff, a",
                           7);
    EXPECT_TRUE(WriteProfileString("Recent Items", "\u00e9", text));
    EXPECT_TRUE(WriteProfileBinary("", "Bytes", bytes));
    QSettings toolkit(GetProfileFileName(), QSettings::IniFormat);
    EXPECT_EQ(toolkit.value("Recent Items/\u00e9").toString(), text);
    EXPECT_EQ(toolkit.value("Bytes").toByteArray(), bytes);
    EXPECT_EQ(toolkit.value("OptionInfo/BackBorder").toInt(), -17);
    toolkit.setValue("OptionInfo/Text", text);
    toolkit.setValue("OptionInfo/Bytes", bytes);
    toolkit.sync();
    EXPECT_EQ(GetProfileString("OptionInfo", "Text"), text);
    EXPECT_TRUE(GetProfileBinary("OptionInfo", "Bytes", data));
    EXPECT_EQ(data, bytes);
    EXPECT_EQ(GetProfileString("RecentItems", "0"), "/home/u/a,b\nc");
}

TEST_F(Profile, MissingOrMistypedValuesGiveTheDefault)
{
    EXPECT_EQ(GetProfileInt("OptionInfo", "Nothing", 42), 42);
    EXPECT_EQ(GetProfileString("OptionInfo", "Nothing", "def"), "def");
    QByteArray data("x");
    EXPECT_FALSE(GetProfileBinary("OptionInfo", "Nothing", data));
    EXPECT_TRUE(data.isEmpty());

    WriteProfileString("OptionInfo", "Text", "12abc");
    WriteProfileBinary("OptionInfo", "Bytes", "12");
    EXPECT_EQ(GetProfileInt("OptionInfo", "Text", 7), 7);
    EXPECT_FALSE(GetProfileBinary("OptionInfo", "Text", data));
    EXPECT_EQ(GetProfileString("OptionInfo", "Bytes", "def"), "def");
}

TEST_F(Profile, OptionFileModeRoutesToTheInstalledDocument)
{
    CRecordingDoc doc;
    theProfileRoute.m_pOptionDoc = &doc;
    theProfileRoute.m_bOptionFile = 1;
    EXPECT_EQ(GetProfileInt("OptionInfo", "abc", 0), 3);
    EXPECT_EQ(GetProfileString("OptionInfo", "abc", "x"), "doc");
    QByteArray data;
    EXPECT_TRUE(GetProfileBinary("OptionInfo", "abc", data));
    EXPECT_EQ(data, "b");
    EXPECT_TRUE(WriteProfileInt("OptionInfo", "Int", 1));
    EXPECT_EQ(doc.m_written, "Int");
    EXPECT_TRUE(WriteProfileBinary("OptionInfo", "Bin", "1"));
    EXPECT_EQ(doc.m_written, "Bin");

    // Without a document the mode reads defaults and leaves the user's settings alone.
    theProfileRoute.m_pOptionDoc = nullptr;
    EXPECT_EQ(GetProfileInt("OptionInfo", "abc", 9), 9);
    EXPECT_FALSE(WriteProfileString("OptionInfo", "Str", "v"));
    theProfileRoute.m_bOptionFile = 0;
    EXPECT_EQ(GetProfileString("OptionInfo", "Str", "none"), "none");
    EXPECT_TRUE(doc.m_written == "Bin");
}

TEST_F(Profile, ABatchStoresItsWritesOnceAtItsEnd)
{
    const QString file = QSettings(QSettings::IniFormat, QSettings::UserScope, "Quenrick", "Folivane").fileName();
    {
        const CProfileBatch batch;
        EXPECT_TRUE(WriteProfileInt("OptionInfo", "A", 1));
        const CProfileBatch inner;
        EXPECT_TRUE(WriteProfileString("", "B", "two"));
        EXPECT_EQ(GetProfileInt("OptionInfo", "A", 0), 1);
        EXPECT_EQ(GetProfileString("", "B"), "two");
        QFile stored(file);
        EXPECT_FALSE(stored.open(QIODevice::ReadOnly) && stored.readAll().contains("A=1"));
    }
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("OptionInfo/A").toInt(), 1);
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("B").toString(), "two");
}

TEST_F(Profile, TwoCopiesStoringAtOnceBothKeepEveryValue)
{
    constexpr int kValues = 100;
    GetProfileFileName();  // made before the copies part
    const auto storeMany = [](const QString& copy) {
        return [copy] {
            bool stored = true;
            for (int i = 0; i < kValues; ++i) {
                stored = WriteProfileInt("Both", copy + QString::number(i), i) && stored;
            }
            return stored;
        };
    };
    CForkedCopy a(storeMany("A"));
    CForkedCopy b(storeMany("B"));
    EXPECT_TRUE(a.Succeeded());
    EXPECT_TRUE(b.Succeeded());
    QStringList lost;  // values a store of the other copy wrote over
    for (const QString copy : {"A", "B"}) {
        for (int i = 0; i < kValues; ++i) {
            if (GetProfileInt("Both", copy + QString::number(i), -1) != i) {
                lost.append(copy + QString::number(i));
            }
        }
    }
    EXPECT_EQ(lost.join(' ').toStdString(), "");
}

TEST_F(Profile, WhateverStandsAtTheLockFilesNameNeverCostsAStore)
{
    const QString lock = GetProfileFileName() + QStringLiteral(".lock");
    const QByteArray native = QFile::encodeName(lock);
    QTemporaryDir elsewhere;
    QFile mine(elsewhere.filePath(QStringLiteral("mine.txt")));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly) && mine.write("mine") == 4);
    mine.close();
    const QString missing = elsewhere.filePath(QStringLiteral("missing"));
    const std::vector<std::function<bool()>> plants = {
        [&] { return mkfifo(native.constData(), 0600) == 0; },
        [&] { return QDir().mkdir(lock); },
        [&] { return QFile::link(missing, lock); },
        [&] { return QFile::link(mine.fileName(), lock); },
    };
    for (size_t i = 0; i < plants.size(); ++i) {
        ASSERT_TRUE(plants[i]()) << i;
        EXPECT_TRUE(WriteProfileInt("Kept", QString::number(i), int(i))) << i;
        EXPECT_EQ(GetProfileInt("Kept", QString::number(i), -1), int(i));
    }
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "mine");
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(Profile, AnotherCopysLockFileIsNeverTakenAway)
{
    const QString name = GetProfileFileName();
    const QByteArray lock = QFile::encodeName(name + QStringLiteral(".lock"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(name).path()));
    const CHeldFile folder(open(QFile::encodeName(QFileInfo(name).path()).constData(), O_RDONLY | O_DIRECTORY));
    ASSERT_GE(folder.get(), 0);
    struct stat status {};
    const auto named = [&] { return lstat(lock.constData(), &status) == 0; };
    // This test is the other copy: it makes its lock file and holds it.
    const auto makeAndHold = [&] {
        auto file = std::make_unique<CHeldFile>(open(lock.constData(), O_RDWR | O_CREAT, 0600));
        EXPECT_EQ(flock(file->get(), LOCK_EX | LOCK_NB), 0);
        EXPECT_TRUE(named());
        return std::pair{std::move(file), status.st_ino};
    };

    // A FIFO at the name, which the other copy is clearing for its lock
    // file (as briefly as a copy ever does): the store waits, and takes
    // nothing from it.
    ASSERT_EQ(mkfifo(lock.constData(), 0600), 0);
    ASSERT_EQ(flock(folder.get(), LOCK_EX), 0);
    CForkedCopy copy([] { return WriteProfileInt("Race", "value", 1) != 0; });
    EXPECT_FALSE(QTest::qWaitFor([&] { return !named() || !S_ISFIFO(status.st_mode); }, 50));
    ASSERT_EQ(unlink(lock.constData()), 0);
    auto held = makeAndHold();
    ASSERT_EQ(flock(folder.get(), LOCK_UN), 0);
    EXPECT_FALSE(QTest::qWaitFor([&] { return !named() || status.st_ino != held.second; }, 300));
    // Its store done, the other copy takes its name away as a holder does.
    ASSERT_EQ(unlink(lock.constData()), 0);
    held.first.reset();
    EXPECT_TRUE(copy.Succeeded());
    EXPECT_EQ(GetProfileInt("Race", "value", 0), 1);

    // A holder whose file was taken away (by a copy that could not open it)
    // leaves the next holder's file at its end.
    std::pair<std::unique_ptr<CHeldFile>, ino_t> next;
    {
        const CSettingsLock holder(name, 1000);
        ASSERT_TRUE(holder.AllowsStore() && named());
        ASSERT_EQ(unlink(lock.constData()), 0);
        next = makeAndHold();
    }
    EXPECT_TRUE(named() && status.st_ino == next.second);
    unlink(lock.constData());
}

TEST_F(Profile, AnotherUsersHoldOnTheSettingsFolderNeverCostsAStore)
{
    // The folder the program makes for the settings is the user's alone.
    const QString folderName = QFileInfo(GetProfileFileName()).path();
    ASSERT_TRUE(QDir(folderName).removeRecursively());
    EXPECT_TRUE(WriteProfileInt("Held", "made", 1));
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(folderName).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700);

    // One made by others is open to anyone who may enter it: a hold on it
    // longer than any wait, with and without a FIFO at the lock's name.
    const CHeldFile folder(open(QFile::encodeName(folderName).constData(), O_RDONLY | O_DIRECTORY));
    ASSERT_EQ(flock(folder.get(), LOCK_EX), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(WriteProfileInt("Held", "value", 2));
    // Without the guard the lock file is left; the toolkit's clean-up locks
    // that name too.
    const QByteArray lock = QFile::encodeName(GetProfileFileName() + QStringLiteral(".lock"));
    unlink(lock.constData());
    ASSERT_EQ(mkfifo(lock.constData(), 0600), 0);
    EXPECT_TRUE(WriteProfileInt("Held", "value", 3));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(GetProfileInt("Held", "value", 0), 3);
    unlink(lock.constData());
}
