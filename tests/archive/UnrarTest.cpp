#include <gtest/gtest.h>

#include "archive/ArcLib.h"
#include "archive/RarTestArchive.h"
#include "archive/ZipTestArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/stat.h>

namespace {

class UnrarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.Load());
        ASSERT_EQ(m_library.GetProcs(), 0);
        m_folder = m_dir.path() + QStringLiteral("/out/0001/");
    }

    int Extract(const QString& archive, const QString& folder)
    {
        const QByteArray command = QStringLiteral("-x \"%1\" \"%2\"").arg(archive, folder).toLocal8Bit();
        return m_library.m_pfnCommand(nullptr, command.constData(), nullptr, 0);
    }

    int ExtractMembers(const std::vector<RarTestMember>& members)
    {
        const QString archive = m_dir.path() + QStringLiteral("/test.rar");
        EXPECT_TRUE(WriteTestRar(archive, members));
        return Extract(archive, m_folder);
    }

    // Every file under the temporary folder, relative to it.
    QStringList AllFiles() const
    {
        QStringList files;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files << QDir(m_dir.path()).relativeFilePath(it.next());
        }
        files.sort();
        return files;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    CArcLib m_library{QStringLiteral(FOLIVANE_UNRAR_PATH), kUnrarCommandName};
};

}  // namespace

TEST_F(UnrarTest, ExtractsFilesAndFolders)
{
    EXPECT_EQ(ExtractMembers({{"pages", {}, true},
                              {"pages\\p1.png", "one"},
                              {"pages\\sub\\p2.png", "two"},
                              {"empty", {}, true},
                              {"top.txt", "top"}}),
              0);
    EXPECT_EQ(ReadWholeFile(m_folder + QStringLiteral("pages/p1.png")), QByteArray("one"));
    EXPECT_EQ(ReadWholeFile(m_folder + QStringLiteral("pages/sub/p2.png")), QByteArray("two"));
    EXPECT_EQ(ReadWholeFile(m_folder + QStringLiteral("top.txt")), QByteArray("top"));
    EXPECT_TRUE(QFileInfo(m_folder + QStringLiteral("empty")).isDir());
    // The pages are the user's: no folder made for them lets others in.
    for (const char* folder : {"", "pages", "pages/sub", "empty"}) {
        struct stat status {};
        ASSERT_EQ(stat(QFile::encodeName(m_folder + QLatin1String(folder)).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
    }
}

TEST_F(UnrarTest, HostileNamesStayInsideTheFolder)
{
    EXPECT_EQ(ExtractMembers({{"..\\..\\evil1.txt", "1"},
                              {"/abs/evil2.txt", "2"},
                              {"C:\\evil3.txt", "3"},
                              {"a\\..\\..\\..\\evil4.txt", "4"},
                              {"..", "5"},
                              {".\\.\\evil6.txt", "6"}}),
              0);
    EXPECT_EQ(AllFiles(), (QStringList{QStringLiteral("out/0001/a/evil4.txt"), QStringLiteral("out/0001/abs/evil2.txt"),
                                       QStringLiteral("out/0001/evil1.txt"), QStringLiteral("out/0001/evil3.txt"),
                                       QStringLiteral("out/0001/evil6.txt"), QStringLiteral("test.rar")}));
}

TEST_F(UnrarTest, LongNamesAreShortenedAsInZips)
{
    const QByteArray longName = QByteArray(300, 'n') + ".png";
    EXPECT_EQ(ExtractMembers({{"dir\\" + longName, "long"}, {"p.png", "p"}}), 0);
    const QStringList files = AllFiles();
    ASSERT_EQ(files.size(), 3);
    const QString shortened = files[0].mid(QStringLiteral("out/0001/dir/").size());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^n+~[0-9a-f]{8}\\.png$")).match(shortened).hasMatch())
        << files[0].toStdString();
    EXPECT_LE(shortened.size(), 255);
    EXPECT_EQ(files[1], QStringLiteral("out/0001/p.png"));
}

TEST_F(UnrarTest, MembersMustMatchTheirChecksumSizeAndTheFreeSpace)
{
    const QString archive = m_dir.path() + QStringLiteral("/test.rar");
    QByteArray bytes = MakeTestRar({{"a.png", "good data"}, {"b.png", "more data"}});
    bytes[bytes.indexOf("more")] = 'M';
    QFile file(archive);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    EXPECT_EQ(Extract(archive, m_folder), 0x800C);
    EXPECT_EQ(ExtractMembers({{"short.png", "more than claimed", false, false, 4}}), 0x800C);

    // Claims that together exceed the free space: refused before anything is written.
    const qint64 free = QStorageInfo(m_dir.path()).bytesAvailable();
    std::vector<RarTestMember> huge;
    for (qint64 claimed = 0; claimed <= free; claimed += qint64(1) << 30) {
        huge.push_back({"big" + QByteArray::number(static_cast<int>(huge.size())), "", false, false, qint64(1) << 30});
    }
    QDir(m_folder).removeRecursively();
    EXPECT_EQ(ExtractMembers(huge), 0x8005);
    EXPECT_EQ(AllFiles(), QStringList{QStringLiteral("test.rar")});
}

TEST_F(UnrarTest, ArchivePathMayHoldQuotesAndBytesThatAreNoUtf8)
{
    const QString archive = m_dir.path() + QStringLiteral("/say \"cheese\".rar");
    ASSERT_TRUE(WriteTestRar(archive, {{"p.png", "p"}}));
    EXPECT_EQ(Extract(archive, m_folder), 0);
    EXPECT_EQ(ReadWholeFile(m_folder + QStringLiteral("p.png")), QByteArray("p"));

    const QByteArray latin1 = QFile::encodeName(m_dir.path()) + "/caf\xe9.rar";
    ASSERT_EQ(rename(QFile::encodeName(archive).constData(), latin1.constData()), 0);
    const QByteArray command = "-x \"" + latin1 + "\" \"" + QFile::encodeName(m_dir.path()) + "/out/0002/\"";
    EXPECT_EQ(m_library.m_pfnCommand(nullptr, command.constData(), nullptr, 0), 0);
    EXPECT_EQ(ReadWholeFile(m_dir.path() + QStringLiteral("/out/0002/p.png")), QByteArray("p"));
}

TEST_F(UnrarTest, ErrorCodes)
{
    const QString archive = m_dir.path() + QStringLiteral("/test.rar");
    EXPECT_EQ(Extract(m_dir.path() + QStringLiteral("/missing.rar"), m_folder), 0x8018);
    const QString pipe = m_dir.path() + QStringLiteral("/pipe.rar");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(Extract(pipe, m_folder), 0x8018);  // at once, without waiting for a writer

    QFile notRar(m_dir.path() + QStringLiteral("/not.rar"));
    ASSERT_TRUE(notRar.open(QIODevice::WriteOnly));
    notRar.write(QByteArray(3000, 'r'));
    notRar.close();
    EXPECT_EQ(Extract(notRar.fileName(), m_folder), 0x8019);

    ASSERT_TRUE(WriteTestZip(m_dir.path() + QStringLiteral("/a.zip"), {{"a", "b"}}));
    EXPECT_EQ(Extract(m_dir.path() + QStringLiteral("/a.zip"), m_folder), 0x8019);

    EXPECT_EQ(ExtractMembers({{"secret.txt", "hidden", false, true}}), 0x800A);

    ASSERT_TRUE(WriteTestRar(archive, {{"sub\\p.png", "p"}}));
    EXPECT_EQ(Extract(archive, notRar.fileName() + QLatin1Char('/')), 0x8012);
    EXPECT_EQ(ExtractMembers({{"file", "f"}, {"file\\p.png", "p"}}), 0x8012);
    EXPECT_EQ(ExtractMembers({{"dir\\p.png", "p"}, {"dir", "d"}}), 0x8013);

    for (const char* command : {"", "-x", "-x \"a\"", "-e \"a\" \"b\"", "-x \"a\" \"b"}) {
        EXPECT_EQ(m_library.m_pfnCommand(nullptr, command, nullptr, 0), 0x801C) << command;
    }
    EXPECT_EQ(m_library.m_pfnCommand(nullptr, nullptr, nullptr, 0), 0x801C);
}
