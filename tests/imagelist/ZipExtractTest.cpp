#include <gtest/gtest.h>

#include "archive/ZipResult.h"
#include "archive/ZipTestArchive.h"
#include "common/ErrorText.h"
#include "imagelist/ZipExtract.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>
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
    EXPECT_EQ(Tree(),
              (QStringList{"pages.zip", "tmp", "tmp/0000ABCD", "tmp/0000ABCD/pages", "tmp/0000ABCD/pages/p1.png"}));
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

TEST_F(ZipExtractTest, DotNamesAreSkippedAndExtractionGoesOn)
{
    EXPECT_EQ(Extract({{"..", "1"}, {".", "2"}, {"a/..", "3"}, {"a\\.", "4"}, {"b/./..", "5"}, {"after.png", "6"}}), 0)
        << m_error.toStdString();
    EXPECT_EQ(Tree(), (QStringList{"pages.zip", "tmp", "tmp/0000ABCD", "tmp/0000ABCD/after.png"}));
    EXPECT_EQ(Extracted(QStringLiteral("after.png")), QByteArray("6"));
}

TEST_F(ZipExtractTest, OverLongNamesAreShortenedAndKeepTheirExtension)
{
    const QByteArray latin(300, 'n');
    QByteArray japanese;
    for (int i = 0; i < 200; ++i) {
        japanese += "\xE3\x83\x9A";  // ペ
    }
    QByteArray deep;
    for (int i = 0; i < 40; ++i) {
        deep += "folder" + QByteArray::number(10 + i) + "/";
    }
    const std::vector<ZipTestEntry> entries = {
        {latin + "1.png", "1"}, {latin + "2.png", "2"}, {japanese + ".png", "3"}, {deep + "page.png", "4"}};
    ASSERT_EQ(Extract(entries), 0) << m_error.toStdString();
    QStringList files;
    for (const QString& name : Tree()) {
        if (QFileInfo(m_dir.path() + QLatin1Char('/') + name).isFile() && name != QStringLiteral("pages.zip")) {
            files << name;
            EXPECT_TRUE(name.endsWith(QStringLiteral(".png"))) << name.toStdString();
        }
    }
    ASSERT_EQ(files.size(), 4);
    const QStringList deepFile = files.filter(QStringLiteral("/folder49/page.png"));
    ASSERT_EQ(deepFile.size(), 1) << files.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(ReadWholeFile(m_dir.path() + QLatin1Char('/') + deepFile[0]), QByteArray("4"));
    // A second round writes the same files again.
    const QStringList first = Tree();
    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), 0);
    EXPECT_EQ(Tree(), first);
}

TEST_F(ZipExtractTest, DamagedDataFailsAsACorruptArchive)
{
    const QString corrupt = QStringLiteral("[ZIP] ZIPファイルが壊れているか、ZIPファイルではありません。");
    const QByteArray data = "stored page data that is damaged in two bytes";
    ASSERT_TRUE(WriteTestZip(m_archive, {{"damaged.png", data, 0}}));
    ASSERT_TRUE(PatchFile(m_archive, "damaged in", "dAmaged in"));
    ASSERT_TRUE(PatchFile(m_archive, "two bytes", "twO bytes"));
    EXPECT_EQ(ExtractZip(m_archive, m_folder, nullptr, m_error), -1);
    EXPECT_EQ(m_error, corrupt);

    ZipTestEntry wrongCrc{"crc.png", data, 8};
    wrongCrc.claimedCrc = 0x12345678;
    EXPECT_EQ(Extract({wrongCrc}), -1);
    EXPECT_EQ(m_error, corrupt);
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

TEST_F(ZipExtractTest, SizeClaimsThatDoNotMatchTheDataFail)
{
    const QString corrupt = QStringLiteral("[ZIP] ZIPファイルが壊れているか、ZIPファイルではありません。");
    ZipTestEntry huge{"huge.png", "tiny", 8};
    huge.claimedSize = qint64(4) << 30;
    EXPECT_EQ(Extract({huge}), -1);
    EXPECT_EQ(m_error, QStringLiteral("[ZIP] メモリをアロケートできませんでした。"));

    // More data than claimed, and a stream that ends before its claim.
    ZipTestEntry bomb{"bomb.png", QByteArray(8 << 20, '\0'), 8};
    bomb.claimedSize = 1000;
    EXPECT_EQ(Extract({bomb}), -1);
    EXPECT_EQ(m_error, corrupt);
    ZipTestEntry shortStream{"short.png", QByteArray(3 << 20, 'x'), 8};
    shortStream.claimedSize = shortStream.data.size() + 5000;
    EXPECT_EQ(Extract({shortStream}), -1);
    EXPECT_EQ(m_error, corrupt);
}

TEST_F(ZipExtractTest, ArchiveLargerThanTheFreeSpaceWritesNothing)
{
    // Each entry claims 1 GiB; its few bytes of data are never read.
    const qint64 free = QStorageInfo(m_dir.path()).bytesAvailable();
    ASSERT_GT(free, 0);
    std::vector<ZipTestEntry> entries{{"first.png", "small"}};
    for (qint64 i = 0; i <= free / kZipMaxEntrySize + 8; ++i) {
        ZipTestEntry claim{"big" + QByteArray::number(i) + ".png", "x", 8};
        claim.claimedSize = kZipMaxEntrySize;
        entries.push_back(claim);
    }
    EXPECT_EQ(Extract(entries), -1);
    EXPECT_EQ(m_error, QStringLiteral("extract file write error\n") + m_folder + QStringLiteral(": ") +
                           QString::fromLocal8Bit(strerror(ENOSPC)) + QStringLiteral("(%1)").arg(ENOSPC));
    EXPECT_EQ(Tree(), QStringList{"pages.zip"});
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
    EXPECT_EQ(m_error, QStringLiteral("create dir error\n") + GetSystemErrorText(ENOTDIR) + QLatin1Char('\n') +
                           m_folder + QStringLiteral("sub/"));

    EXPECT_EQ(Extract({{"dir/p.png", "p"}, {"dir", "a file"}}), -1);
    EXPECT_EQ(m_error, QStringLiteral("extract file write error\n") + m_folder + QStringLiteral("dir: ") +
                           QString::fromLocal8Bit(strerror(EISDIR)) + QStringLiteral("(%1)").arg(EISDIR));
}
