#include <gtest/gtest.h>

#include "archive/ZipTestArchive.h"
#include "common/ErrorText.h"
#include "imagelist/ZipExtract.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

namespace {

class ZipExtractTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_archive = m_dir.path() + QStringLiteral("/pages.zip");
        m_folder = m_dir.path() + QStringLiteral("/tmp/0000ABCD/");
    }

    int Extract(const std::vector<ZipTestEntry>& entries, const char* password = nullptr)
    {
        EXPECT_TRUE(WriteTestZip(m_archive, entries));
        return ExtractZip(m_archive, m_folder, password, m_error);
    }

    // Every file and folder under the temporary folder, relative to it.
    QStringList Tree() const
    {
        QStringList names;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            names << QDir(m_dir.path()).relativeFilePath(it.next());
        }
        names.sort();
        return names;
    }

    QByteArray Extracted(const QString& name) const { return ReadWholeFile(m_folder + name); }

    QTemporaryDir m_dir;
    QString m_archive;
    QString m_folder;
    QString m_error;
};

}  // namespace

TEST_F(ZipExtractTest, WritesFilesAndSkipsFoldersAndEmptyFiles)
{
    EXPECT_EQ(Extract({{"pages/", {}, 0}, {"pages/p1.png", "png data"}, {"empty.txt", {}, 0}}), 0);
    EXPECT_EQ(Tree(), (QStringList{"pages.zip", "tmp", "tmp/0000ABCD", "tmp/0000ABCD/pages", "tmp/0000ABCD/pages/p1.png"}));
    EXPECT_EQ(Extracted(QStringLiteral("pages/p1.png")), QByteArray("png data"));
    EXPECT_TRUE(m_error.isEmpty());
}

TEST_F(ZipExtractTest, NothingToWriteCreatesNoFolder)
{
    EXPECT_EQ(Extract({{"a/", {}, 0}, {"a/b/", {}, 0}, {"empty", {}, 0}}), 0);
    EXPECT_EQ(Tree(), QStringList{"pages.zip"});
}

TEST_F(ZipExtractTest, MapsNamesToFilesBelowTheFolder)
{
    EXPECT_EQ(Extract({{"a:b?.png", "1"},
                       {"x<1>.png", "2"},
                       {"sub/dir/p.png", "3"},
                       {"win\\dir\\q.png", "4"},
                       {"tab\there|\"*.png", "5"},
                       {"\x83\x79\x81\x5B\x83\x57\x31.png", "6"},
                       {"dots. and blanks .png", "7"}}),
              0)
        << m_error.toStdString();
    EXPECT_EQ(Extracted(QStringLiteral("b_.png")), QByteArray("1"));
    EXPECT_EQ(Extracted(QStringLiteral("x_1_.png")), QByteArray("2"));
    EXPECT_EQ(Extracted(QStringLiteral("sub/dir/p.png")), QByteArray("3"));
    EXPECT_EQ(Extracted(QStringLiteral("win/dir/q.png")), QByteArray("4"));
    EXPECT_EQ(Extracted(QStringLiteral("tab_here___.png")), QByteArray("5"));
    EXPECT_EQ(Extracted(QStringLiteral("ページ1.png")), QByteArray("6"));
    EXPECT_EQ(Extracted(QStringLiteral("dots. and blanks .png")), QByteArray("7"));
}

TEST_F(ZipExtractTest, HostileNamesStayInsideTheFolder)
{
    EXPECT_EQ(Extract({{"../x.png", "1"},
                       {"/abs/evil.png", "2"},
                       {"C:\\win\\evil.png", "3"},
                       {"..\\..\\evil.png", "4"},
                       {"a/../../../up.png", "5"},
                       {"b\\..\\..\\/..\\up2.png", "6"},
                       {"//server/share/f.png", "7"},
                       {"./c/./d.png", "8"}}),
              0)
        << m_error.toStdString();
    QStringList expected{"pages.zip", "tmp", "tmp/0000ABCD"};
    for (const char* name : {"abs", "abs/evil.png", "c", "c/d.png", "evil.png", "server", "server/share",
                             "server/share/f.png", "up.png", "up2.png", "win", "win/evil.png", "x.png"}) {
        expected << QStringLiteral("tmp/0000ABCD/") + QLatin1String(name);
    }
    expected.sort();
    EXPECT_EQ(Tree(), expected);
    EXPECT_EQ(Extracted(QStringLiteral("evil.png")), QByteArray("4"));
}

TEST_F(ZipExtractTest, NamesOfFoldersOrTooLongFailInsideTheFolder)
{
    for (const QByteArray& name : {QByteArray(".."), QByteArray("a/.."), QByteArray("a\\.."), QByteArray(300, 'n')}) {
        EXPECT_EQ(Extract({{name, "data"}}), -1) << name.toStdString();
        EXPECT_TRUE(m_error.startsWith(QStringLiteral("extract file write error\n"))) << m_error.toStdString();
        for (const QString& entry : Tree()) {
            EXPECT_TRUE(entry == QStringLiteral("pages.zip") || entry.startsWith(QStringLiteral("tmp")))
                << entry.toStdString();
        }
    }
}

TEST_F(ZipExtractTest, PasswordRounds)
{
    const std::vector<ZipTestEntry> entries = {{"first.png", "first"}, {"second.png", "second", 8, "pass"}};
    EXPECT_EQ(Extract(entries), 1);
    EXPECT_EQ(Extracted(QStringLiteral("first.png")), QByteArray("first"));
    EXPECT_FALSE(QFileInfo::exists(m_folder + QStringLiteral("second.png")));
    EXPECT_TRUE(m_error.isEmpty());

    EXPECT_EQ(ExtractZip(m_archive, m_folder, "wrong", m_error), 1);
    EXPECT_EQ(ExtractZip(m_archive, m_folder, "pass", m_error), 0);
    EXPECT_EQ(Extracted(QStringLiteral("first.png")), QByteArray("first"));
    EXPECT_EQ(Extracted(QStringLiteral("second.png")), QByteArray("second"));
    EXPECT_TRUE(m_error.isEmpty());
}

TEST_F(ZipExtractTest, LargeEntriesArriveWhole)
{
    QByteArray data(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>((i * 31 + i / 4099) & 0xFF);
    }
    EXPECT_EQ(Extract({{"big.bin", data, 8}, {"big-stored.bin", data, 0}, {"big-secret.bin", data, 8, "pw"}}, "pw"), 0);
    EXPECT_EQ(Extracted(QStringLiteral("big.bin")), data);
    EXPECT_EQ(Extracted(QStringLiteral("big-stored.bin")), data);
    EXPECT_EQ(Extracted(QStringLiteral("big-secret.bin")), data);
}

TEST_F(ZipExtractTest, ReaderFailuresGiveTheReaderText)
{
    QFile notZip(m_archive);
    ASSERT_TRUE(notZip.open(QIODevice::WriteOnly));
    notZip.write("this is not a zip archive");
    notZip.close();
    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] ファイルを作成/オープンできませんでした。"));

    EXPECT_EQ(Extract({{"ok.png", "ok"}, {"bzip2.png", "data", 12}}), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] ZIPファイルが壊れているか、ZIPファイルではありません。"));
    EXPECT_EQ(Extracted(QStringLiteral("ok.png")), QByteArray("ok"));

    // Stored data shorter than its claim, and data that is no deflate stream.
    ZipTestEntry corrupt{"corrupt.png", QByteArray("\xFF\xFF\xFF\xFF", 4), 0};
    corrupt.claimedSize = 100;
    EXPECT_EQ(Extract({corrupt}), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] Bug: an internal error during flation"));
    ASSERT_TRUE(SetZipMethod(m_archive, "corrupt.png", 8));
    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] Bug: an internal error during flation"));
}

TEST_F(ZipExtractTest, DeflateStreamEndingBeforeItsClaimGivesWhatItHolds)
{
    // The file holds the stream's data, never more than it delivered.
    QByteArray data(3 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>((i * 13 + i / 997) & 0xFF);
    }
    ZipTestEntry shortStream{"short.png", data, 8};
    shortStream.claimedSize = data.size() + 5000;
    ZipTestEntry emptyStream{"empty.png", {}, 8};
    emptyStream.claimedSize = 5000;
    EXPECT_EQ(Extract({shortStream, emptyStream}), 0) << m_error.toStdString();
    EXPECT_EQ(Extracted(QStringLiteral("short.png")), data);
    EXPECT_TRUE(QFileInfo::exists(m_folder + QStringLiteral("empty.png")));
    EXPECT_EQ(QFileInfo(m_folder + QStringLiteral("empty.png")).size(), 0);
}

TEST_F(ZipExtractTest, SizeClaimsAreLimited)
{
    ZipTestEntry huge{"huge.png", "tiny", 8};
    huge.claimedSize = qint64(4) << 30;
    EXPECT_EQ(Extract({huge}), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] メモリをアロケートできませんでした。"));

    ZipTestEntry bomb{"bomb.png", QByteArray(8 << 20, '\0'), 8};
    bomb.claimedSize = 1000;
    EXPECT_EQ(Extract({bomb}), 0);
    EXPECT_EQ(QFileInfo(m_folder + QStringLiteral("bomb.png")).size(), 1000);
}

TEST_F(ZipExtractTest, EntriesSharingDataStopTheExtraction)
{
    // The second directory entry points at the first entry's data.
    ASSERT_TRUE(WriteTestZip(m_archive, {{"p1.png", "page data"}, {"p2.png", "page data"}}));
    ASSERT_TRUE(ShareFirstEntryData(m_archive));

    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] ZIPファイルが壊れているか、ZIPファイルではありません。"));
    EXPECT_EQ(Extracted(QStringLiteral("p1.png")), QByteArray("page data"));
    EXPECT_FALSE(QFileInfo::exists(m_folder + QStringLiteral("p2.png")));
}

TEST_F(ZipExtractTest, LinkInTheFolderIsNotFollowed)
{
    const QString outside = m_dir.path() + QStringLiteral("/outside.png");
    ASSERT_TRUE(WriteTestZip(m_archive, {{"p.png", "from the archive"}}));
    QFile target(outside);
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep");
    target.close();
    ASSERT_TRUE(QDir().mkpath(m_folder));
    ASSERT_TRUE(QFile::link(outside, m_folder + QStringLiteral("p.png")));

    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), -1);
    EXPECT_TRUE(m_error.startsWith(QStringLiteral("extract file write error\n"))) << m_error.toStdString();
    EXPECT_EQ(ReadWholeFile(outside), QByteArray("keep"));
}

TEST_F(ZipExtractTest, FolderAndFileFailuresGiveTheirTexts)
{
    EXPECT_EQ(Extract({{"sub", "a file"}, {"sub/p.png", "p"}}), -1);
    EXPECT_EQ(m_error, QStringLiteral("create dir error\n") + GetSystemErrorText(ENOTDIR) + QLatin1Char('\n') + m_folder +
                           QStringLiteral("sub/"));

    EXPECT_EQ(Extract({{"dir/p.png", "p"}, {"dir", "a file"}}), -1);
    EXPECT_EQ(m_error, QStringLiteral("extract file write error\n") + m_folder +
                           QStringLiteral("dir: ") + QString::fromLocal8Bit(strerror(EISDIR)) + QStringLiteral("(%1)").arg(EISDIR));
}
