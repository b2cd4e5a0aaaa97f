#include <gtest/gtest.h>

#include "archive/ZipHandle.h"
#include "archive/ZipReader.h"
#include "archive/ZipResult.h"
#include "archive/ZipTestArchive.h"
#include "archive/ZipUnpacker.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <memory>

namespace {

constexpr FileTime kFileTimeOf1970 = 116444736000000000ULL;

FileTime UnixFileTime(qint64 seconds)
{
    return kFileTimeOf1970 + static_cast<FileTime>(seconds) * 10000000ULL;
}

QByteArray Pattern(int size)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i) {
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return data;
}

class ZipReaderTest : public ::testing::Test {
protected:
    // Writes the entries and opens them in m_reader.
    void Open(const std::vector<ZipTestEntry>& entries, const char* password = nullptr)
    {
        m_path = m_dir.path() + QStringLiteral("/test.zip");
        ASSERT_TRUE(WriteTestZip(m_path, entries));
        m_reader = std::make_unique<CZipReader>();
        m_reader->m_hZip = OpenZipArchive(m_path, 0, password);
        ASSERT_NE(m_reader->m_hZip, nullptr);
    }

    ZipEntry Item(int index)
    {
        ZipEntry entry;
        EXPECT_TRUE(m_reader->GetItem(index, &entry)) << std::hex << m_reader->m_nLastResult;
        return entry;
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<CZipReader> m_reader;
};

}  // namespace

TEST_F(ZipReaderTest, CountQueryAndIndexBounds)
{
    std::vector<ZipTestEntry> entries;
    for (int i = 0; i < 5; ++i) {
        entries.push_back({QByteArray("f") + QByteArray::number(i), Pattern(100 + i)});
    }
    ASSERT_NO_FATAL_FAILURE(Open(entries));
    const ZipEntry count = Item(-1);
    EXPECT_EQ(count.index, 5);
    EXPECT_TRUE(count.name.isEmpty());
    EXPECT_EQ(count.uncompressedSize, 0);
    EXPECT_EQ(count.compressedSize, 0);

    ZipEntry entry;
    for (int index : {5, -2, 1000}) {
        EXPECT_FALSE(m_reader->GetItem(index, &entry));
        EXPECT_EQ(m_reader->m_nLastResult, kZipBadArguments);
        EXPECT_EQ(GetZipLastResult(), kZipBadArguments);
    }
    // Walking backwards restarts from the first entry.
    EXPECT_EQ(Item(4).name, QStringLiteral("f4"));
    EXPECT_EQ(Item(1).name, QStringLiteral("f1"));
    EXPECT_EQ(Item(1).uncompressedSize, 101);
    EXPECT_EQ(Item(1).index, 1);
}

TEST_F(ZipReaderTest, ExtractsStoredAndDeflatedEntriesWholeOrInPieces)
{
    const QByteArray data = Pattern(70000);
    ASSERT_NO_FATAL_FAILURE(Open({{"stored.bin", data, 0}, {"deflated.bin", data, Z_DEFLATED}}));
    for (int index : {0, 1}) {
        QByteArray whole(data.size(), '\0');
        unsigned delivered = 0;
        EXPECT_TRUE(m_reader->UnzipItem(index, whole.data(), static_cast<unsigned>(whole.size()), &delivered));
        EXPECT_EQ(delivered, static_cast<unsigned>(data.size()));
        EXPECT_EQ(whole, data);

        // The entry stays open after its end; a lookup closes it.
        Item(index);
        QByteArray pieces;
        QByteArray piece(30000, '\0');
        quint32 result = kZipMoreData;
        while (result == kZipMoreData) {
            m_reader->UnzipItem(index, piece.data(), static_cast<unsigned>(piece.size()), &delivered);
            result = m_reader->m_nLastResult;
            pieces += piece.left(delivered);
        }
        EXPECT_EQ(result, kZipOk);
        EXPECT_EQ(pieces, data) << index;
    }
    // Reading on past the end of an entry delivers nothing and reports it.
    char byte = 0;
    EXPECT_FALSE(m_reader->UnzipItem(1, &byte, 1));
    EXPECT_EQ(m_reader->m_nLastResult, kZipFlation);
}

TEST_F(ZipReaderTest, DeflateStreamEndingBeforeItsClaimIsCorrupt)
{
    const QByteArray data = Pattern(1000);
    ZipTestEntry plain{"plain", data, 8};
    plain.claimedSize = 5000;
    ZipTestEntry secret{"secret", data, 8, "pw"};
    secret.claimedSize = 5000;
    ZipTestEntry empty{"empty-stream", {}, 8};
    empty.claimedSize = 5000;
    ASSERT_NO_FATAL_FAILURE(Open({plain, secret, empty}, "pw"));
    for (int index : {0, 1}) {
        // Whole, and in pieces that do or do not meet the stream's end exactly:
        // what the stream holds arrives, and its end reports the damage.
        for (unsigned pieceSize : {5000u, 1000u, 500u, 300u}) {
            Item(index);  // starts the entry afresh
            QByteArray pieces;
            QByteArray piece(static_cast<qsizetype>(pieceSize), '\0');
            unsigned delivered = 0;
            int calls = 0;
            while (!m_reader->UnzipItem(index, piece.data(), pieceSize, &delivered) &&
                   m_reader->m_nLastResult == kZipMoreData && ++calls < 20) {
                pieces += piece.left(delivered);
            }
            pieces += piece.left(delivered);
            EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt) << index << " " << pieceSize;
            EXPECT_EQ(pieces, data) << index << " " << pieceSize;
        }
    }
    QByteArray buffer(5000, '\0');
    unsigned delivered = 7;
    EXPECT_FALSE(m_reader->UnzipItem(2, buffer.data(), 5000, &delivered));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
    EXPECT_EQ(delivered, 0u);
}

TEST_F(ZipReaderTest, DataNotMatchingItsCrcIsCorrupt)
{
    const QByteArray data = Pattern(3000);
    ZipTestEntry wrongCrc{"wrong-crc", data, 8};
    wrongCrc.claimedCrc = Crc32(data) ^ 0x10;
    ZipTestEntry secret{"secret", data, 0, "pw"};
    secret.claimedCrc = Crc32(data) ^ 0x10;
    secret.dataDescriptor = true;  // the check byte comes from the time, so the password still passes
    ASSERT_NO_FATAL_FAILURE(Open({{"good", data, 8}, {"stored", data, 0}, wrongCrc, secret}, "pw"));
    m_reader.reset();
    QByteArray damaged = data.mid(1000, 16);
    damaged[3] = static_cast<char>(damaged[3] ^ 0x01);
    damaged[9] = static_cast<char>(damaged[9] ^ 0x40);
    ASSERT_TRUE(PatchFile(m_path, data.mid(1000, 16), damaged));  // in the stored entry's bytes
    m_reader = std::make_unique<CZipReader>();
    m_reader->m_hZip = OpenZipArchive(m_path, 0, "pw");
    ASSERT_NE(m_reader->m_hZip, nullptr);

    QByteArray buffer(data.size(), '\0');
    EXPECT_TRUE(m_reader->UnzipItem(0, buffer.data(), static_cast<unsigned>(buffer.size())));
    for (int index : {1, 2, 3}) {
        EXPECT_FALSE(m_reader->UnzipItem(index, buffer.data(), static_cast<unsigned>(buffer.size()))) << index;
        EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt) << index;
    }
    // In pieces the damage shows at the end, not before.
    unsigned delivered = 0;
    EXPECT_FALSE(m_reader->UnzipItem(2, buffer.data(), 2000, &delivered));
    EXPECT_EQ(m_reader->m_nLastResult, kZipMoreData);
    EXPECT_FALSE(m_reader->UnzipItem(2, buffer.data(), 2000, &delivered));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
}

TEST_F(ZipReaderTest, EmptyEntriesHaveNothingToExtract)
{
    ASSERT_NO_FATAL_FAILURE(Open({{"pages/", {}, 0, nullptr, 0x0314, 0x41ED0010}, {"empty.txt", {}, 0}}));
    char buffer[4];
    for (int index : {0, 1}) {
        EXPECT_EQ(Item(index).uncompressedSize, 0);
        EXPECT_FALSE(m_reader->UnzipItem(index, buffer, sizeof buffer));
        EXPECT_EQ(m_reader->m_nLastResult, kZipFlation);
    }
}

TEST_F(ZipReaderTest, NamesAreDecodedAndSanitised)
{
    const QByteArray shiftJis("\x83\x79\x81\x5B\x83\x57\x31.png");  // ページ1.png
    ASSERT_NO_FATAL_FAILURE(Open({{"C:\\pages\\p1.png", "a"},
                                  {"/abs/p.png", "a"},
                                  {"a/../../b.png", "a"},
                                  {"..\\x.png", "a"},
                                  {"x\\..\\../..\\/y.png", "a"},
                                  {shiftJis, "a"},
                                  {"\xE3\x83\x9A\xE3\x83\xBC\xE3\x82\xB8.png", "a"},
                                  {"d:/..//..\\e.png", "a"},
                                  {"a/./b/..", "a"},
                                  {"./..\\.", "a"},
                                  {".//./C:\\x.png", "a"}}));
    EXPECT_EQ(Item(0).name, QStringLiteral("pages\\p1.png"));
    EXPECT_EQ(Item(1).name, QStringLiteral("abs/p.png"));
    EXPECT_EQ(Item(2).name, QStringLiteral("b.png"));
    EXPECT_EQ(Item(3).name, QStringLiteral("x.png"));
    EXPECT_EQ(Item(4).name, QStringLiteral("y.png"));
    EXPECT_EQ(Item(5).name, QStringLiteral("ページ1.png"));
    EXPECT_EQ(Item(6).name, QStringLiteral("ページ.png"));
    EXPECT_EQ(Item(7).name, QStringLiteral("e.png"));
    // "." and ".." steps go, also where dropping one uncovers a separator or a drive.
    EXPECT_EQ(Item(8).name, QStringLiteral("a/b/"));
    EXPECT_EQ(Item(9).name, QString());
    EXPECT_EQ(Item(10).name, QStringLiteral("x.png"));
}

TEST_F(ZipReaderTest, LongNamesFitTheFileSystemAndKeepTheirFileName)
{
    const QByteArray latin(300, 'n');
    QByteArray japanese;
    for (int i = 0; i < 200; ++i) {
        japanese += "\xE3\x83\x9A";  // ペ
    }
    QByteArray deep;
    for (int i = 0; i < 30; ++i) {
        deep += "folder" + QByteArray::number(10 + i) + "/";
    }
    ASSERT_NO_FATAL_FAILURE(Open({{latin + ".png", "a"},
                                  {latin + "x.png", "a"},
                                  {japanese + ".png", "a"},
                                  {latin + "/" + latin, "a"},
                                  {deep + "page.png", "a"}}));
    const QRegularExpression shortened(QStringLiteral("^(n+|ペ+)~[0-9a-f]{8}(\\.png)?$"));
    for (int index : {0, 1, 2}) {
        const QString name = Item(index).name;
        EXPECT_LE(name.toUtf8().size(), 255) << index;
        EXPECT_GE(name.toUtf8().size(), 250) << index;
        EXPECT_TRUE(shortened.match(name).hasMatch()) << name.toStdString();
    }
    EXPECT_NE(Item(0).name, Item(1).name);
    const QString twoSteps = Item(3).name;
    EXPECT_EQ(twoSteps.size(), 255);  // the shortened leading folder goes
    EXPECT_TRUE(shortened.match(twoSteps).hasMatch()) << twoSteps.toStdString();
    const QString deepName = Item(4).name;
    EXPECT_LE(deepName.size(), 259);
    EXPECT_TRUE(deepName.endsWith(QStringLiteral("folder39/page.png"))) << deepName.toStdString();
}

TEST_F(ZipReaderTest, FittedNamesAreSanitisedAgain)
{
    // Losing the leading folder uncovers an empty step or a drive.
    const QByteArray folder = QByteArray(255, 'f') + "/";
    ASSERT_NO_FATAL_FAILURE(Open({{folder + "/bbbbbbbbbb.png", "a"}, {folder + "C:/bbbbbbbbbb.png", "a"}}));
    EXPECT_EQ(Item(0).name, QStringLiteral("bbbbbbbbbb.png"));
    EXPECT_EQ(Item(1).name, QStringLiteral("bbbbbbbbbb.png"));
}

TEST_F(ZipReaderTest, AttributesFollowTheHostSystem)
{
    ASSERT_NO_FATAL_FAILURE(Open({{"unix-readonly", "a", 8, nullptr, 0x0314, 0x81240000},
                                  {"unix-folder/", {}, 0, nullptr, 0x0314, 0x41ED0000},
                                  {"unix-writable", "a", 8, nullptr, 0x0314, 0x81A40000},
                                  {"dos", "a", 8, nullptr, 0x0014, 0xFFFF0027},
                                  {"ntfs-folder/", {}, 0, nullptr, 0x0B14, 0x10}}));
    EXPECT_EQ(Item(0).attributes, 0x21u);
    EXPECT_EQ(Item(1).attributes, 0x30u);
    EXPECT_EQ(Item(2).attributes, 0x20u);
    EXPECT_EQ(Item(3).attributes, 0x27u);
    EXPECT_EQ(Item(4).attributes, 0x10u);
}

TEST_F(ZipReaderTest, TimesComeFromDosTimeAndTheUtBlock)
{
    const qint32 modified = 1600000000;
    const qint32 accessed = 1700000000;
    QByteArray skipped("XX");
    skipped.append(static_cast<char>(300 & 0xFF)).append(static_cast<char>(300 >> 8)).append(QByteArray(300, 'U'));
    ZipTestEntry plain{"plain", "a"};
    ZipTestEntry stamped{"stamped", "a"};
    stamped.localExtra = UtBlock(0x03, {modified, accessed});
    ZipTestEntry behind{"behind", "a"};
    behind.localExtra = skipped + UtBlock(0x07, {modified, accessed, 5});
    ZipTestEntry cut{"cut", "a"};
    cut.localExtra = UtBlock(0x07, {modified, accessed});  // creation time announced but missing
    ZipTestEntry badDate{"bad-date", "a"};
    badDate.dosDate = 0x5A806000;  // month 0
    ASSERT_NO_FATAL_FAILURE(Open({plain, stamped, behind, cut, badDate}));

    const QDateTime local(QDate(2025, 4, 12), QTime(12, 0), Qt::LocalTime);
    const FileTime dos = UnixFileTime(local.toSecsSinceEpoch());
    const ZipEntry first = Item(0);
    EXPECT_EQ(first.modificationTime, dos);
    EXPECT_EQ(first.accessTime, dos);
    EXPECT_EQ(first.creationTime, dos);

    const ZipEntry second = Item(1);
    EXPECT_EQ(second.modificationTime, UnixFileTime(modified));
    EXPECT_EQ(second.accessTime, UnixFileTime(accessed));
    EXPECT_EQ(second.creationTime, dos);

    const ZipEntry third = Item(2);
    EXPECT_EQ(third.modificationTime, UnixFileTime(modified));
    EXPECT_EQ(third.creationTime, UnixFileTime(5));

    const ZipEntry fourth = Item(3);
    EXPECT_EQ(fourth.accessTime, UnixFileTime(accessed));
    EXPECT_EQ(fourth.creationTime, dos);

    EXPECT_EQ(Item(4).modificationTime, 0u);
}

TEST_F(ZipReaderTest, EncryptedEntryNeedsTheRightPassword)
{
    const QByteArray secret = Pattern(5000);
    ZipTestEntry described{"described.bin", secret, 8, "right"};
    described.dataDescriptor = true;
    const std::vector<ZipTestEntry> entries = {{"open.txt", "plain"},
                                               {"secret.bin", secret, 8, "right"},
                                               {"stored-secret.bin", secret, 0, "right"},
                                               described};
    ASSERT_NO_FATAL_FAILURE(Open(entries, "right"));
    for (int index : {1, 2, 3}) {
        QByteArray buffer(secret.size(), '\0');
        EXPECT_TRUE(m_reader->UnzipItem(index, buffer.data(), static_cast<unsigned>(buffer.size())));
        EXPECT_EQ(buffer, secret);
    }

    for (const char* password : {"wrong", static_cast<const char*>(nullptr)}) {
        ASSERT_NO_FATAL_FAILURE(Open(entries, password));
        QByteArray buffer(secret.size(), '\0');
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_FALSE(m_reader->UnzipItem(1, buffer.data(), static_cast<unsigned>(buffer.size())));
            EXPECT_EQ(m_reader->m_nLastResult, kZipBadPassword);
            EXPECT_EQ(GetZipLastResult(), kZipBadPassword);
        }
        EXPECT_TRUE(m_reader->UnzipItem(0, buffer.data(), 5));  // the plain entry still reads
        EXPECT_EQ(buffer.left(5), QByteArray("plain"));
    }
}

TEST_F(ZipReaderTest, OtherMethodsAndDamagedLocalHeadersAreCorrupt)
{
    ASSERT_NO_FATAL_FAILURE(Open({{"first", "first data", 8}, {"bzip2", "not really", 12}, {"third", "x", 8}}));
    QByteArray buffer(10, '\0');
    EXPECT_TRUE(m_reader->UnzipItem(0, buffer.data(), 10));
    ZipEntry entry;
    EXPECT_FALSE(m_reader->GetItem(1, &entry));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
    EXPECT_FALSE(m_reader->UnzipItem(1, buffer.data(), 10));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
    EXPECT_EQ(Item(0).name, QStringLiteral("first"));

    // A local header whose signature does not match its directory entry.
    QByteArray bytes = ReadWholeFile(m_path);
    const qsizetype second = bytes.indexOf(QByteArray("PK\x03\x04", 4), 4);
    ASSERT_GT(second, 0);
    bytes[second + 3] = '\x05';
    m_reader.reset();
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    CZipReader reader;
    reader.m_hZip = OpenZipArchive(m_path, 0, nullptr);
    ASSERT_NE(reader.m_hZip, nullptr);
    EXPECT_TRUE(reader.GetItem(0, &entry));
    EXPECT_FALSE(reader.GetItem(1, &entry));
    EXPECT_EQ(reader.m_nLastResult, kZipCorrupt);
}

TEST_F(ZipReaderTest, EntriesSharingDataAreCorrupt)
{
    // Three directory entries; the last two point at the first one's data,
    // the way an archive makes a few bytes unpack many times over.
    const QByteArray data = Pattern(20000);
    ASSERT_NO_FATAL_FAILURE(Open({{"p1", data}, {"p2", data}, {"p3", data}}));
    m_reader.reset();
    ASSERT_TRUE(ShareFirstEntryData(m_path));

    for (const std::vector<int>& order : {std::vector<int>{0, 1, 2}, std::vector<int>{2, 0, 1}}) {
        CZipReader reader;
        reader.m_hZip = OpenZipArchive(m_path, 0, nullptr);
        ASSERT_NE(reader.m_hZip, nullptr);
        ZipEntry entry;
        EXPECT_TRUE(reader.GetItem(order[0], &entry));
        EXPECT_TRUE(reader.GetItem(order[0], &entry));  // the same entry again
        for (int index : {order[1], order[2]}) {
            EXPECT_FALSE(reader.GetItem(index, &entry)) << index;
            EXPECT_EQ(reader.m_nLastResult, kZipCorrupt);
        }
        EXPECT_TRUE(reader.GetItem(order[0], &entry));
    }
}

TEST_F(ZipReaderTest, SizeClaimsAreLimited)
{
    ZipTestEntry huge{"huge", "tiny", 8};
    huge.claimedSize = qint64(3) << 29;  // 1.5 GiB
    ZipTestEntry zip64{"zip64", "tiny", 8};
    zip64.claimedSize = qint64(4) << 30;
    ZipTestEntry bomb{"bomb", QByteArray(4 << 20, '\0'), 8};
    bomb.claimedSize = 1000;
    ASSERT_NO_FATAL_FAILURE(Open({huge, zip64, bomb}));
    ZipEntry entry;
    for (int index : {0, 1}) {
        EXPECT_FALSE(m_reader->GetItem(index, &entry));
        EXPECT_EQ(m_reader->m_nLastResult, kZipNoMemory);
        char buffer[16];
        EXPECT_FALSE(m_reader->UnzipItem(index, buffer, sizeof buffer));
        EXPECT_EQ(m_reader->m_nLastResult, kZipNoMemory);
    }
    // Data that inflates beyond its claim stops at the claim, which its CRC-32 then shows.
    EXPECT_EQ(Item(2).uncompressedSize, 1000);
    QByteArray buffer(4000, 'x');
    unsigned delivered = 0;
    EXPECT_FALSE(m_reader->UnzipItem(2, buffer.data(), static_cast<unsigned>(buffer.size()), &delivered));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
    EXPECT_EQ(delivered, 1000u);
    EXPECT_EQ(buffer.mid(1000), QByteArray(3000, 'x'));
}

TEST(ZipReader, OpeningFailures)
{
    QTemporaryDir dir;
    const QString notZip = dir.path() + QStringLiteral("/not.zip");
    QFile file(notZip);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'z'));
    file.close();
    // A named pipe is refused at once instead of waiting for a writer.
    const QString pipe = dir.path() + QStringLiteral("/pipe.zip");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {notZip, dir.path() + QStringLiteral("/missing.zip"), dir.path(), pipe}) {
        SetZipLastResult(kZipOk);
        EXPECT_EQ(OpenZipArchive(path, 0, nullptr), nullptr);
        EXPECT_EQ(GetZipLastResult(), kZipCannotOpen);
    }

    const QString good = dir.path() + QStringLiteral("/good.zip");
    ASSERT_TRUE(WriteTestZip(good, {{"a", "b"}}));
    ZipUnpacker unpacker(nullptr);
    EXPECT_EQ(unpacker.Open(good), kZipOk);
    EXPECT_EQ(unpacker.Open(good), kZipNotInitialised);
    EXPECT_EQ(unpacker.Close(), kZipOk);
}

TEST(ZipReader, HandleChecks)
{
    EXPECT_EQ(CloseUnzipHandle(nullptr), kZipBadArguments);
    ZipHandle writer{kZipHandleWriter, nullptr};
    EXPECT_EQ(CloseUnzipHandle(&writer), kZipMixedModes);
    EXPECT_EQ(GetZipLastResult(), kZipMixedModes);

    CZipReader reader;
    ZipEntry entry;
    entry.index = 7;
    entry.name = QStringLiteral("old");
    entry.uncompressedSize = 9;
    EXPECT_FALSE(reader.GetItem(0, &entry));
    EXPECT_EQ(reader.m_nLastResult, kZipBadArguments);
    EXPECT_EQ(entry.index, 0);
    EXPECT_TRUE(entry.name.isEmpty());
    EXPECT_EQ(entry.uncompressedSize, 0);

    reader.m_hZip = &writer;
    char buffer[4];
    EXPECT_FALSE(reader.UnzipItem(0, buffer, sizeof buffer));
    EXPECT_EQ(reader.m_nLastResult, kZipMixedModes);
    reader.m_hZip = nullptr;
}

TEST(ZipReader, ErrorTexts)
{
    CZipReader reader;
    reader.m_nLastResult = kZipCannotOpen;
    EXPECT_EQ(reader.GetErrorText(), QStringLiteral("[ZIP] ファイルを作成/オープンできませんでした。"));
    reader.m_strArchivePath = QStringLiteral("/data/a.zip");
    reader.m_nLastResult = kZipFlation;
    EXPECT_EQ(reader.GetErrorText(), QStringLiteral("[ZIP] Bug: an internal error during flation\nFile: /data/a.zip"));
    reader.m_strArchivePath.clear();
    reader.m_nLastResult = 0x123;
    EXPECT_EQ(reader.GetErrorText(), QStringLiteral("[ZIP] 未知のエラーです。"));
    EXPECT_EQ(CZipReader::GetResultText(kZipOk), QStringLiteral("正常終了"));
    EXPECT_EQ(CZipReader::GetResultText(kZipMoreData), QStringLiteral("展開するデータがまだあります。"));
    EXPECT_EQ(CZipReader::GetResultText(kZipBadPassword), QStringLiteral("パスワードが違います。"));
    EXPECT_EQ(CZipReader::GetResultText(kZipMixedModes), QStringLiteral("Caller: mixing creation and opening of zip"));
}

TEST_F(ZipReaderTest, Zip64FieldsGiveTheRealSizesAndPlaces)
{
    const QByteArray data = Pattern(70000);
    Zip64TestEntry asZipWrites{"stored", data, 0, kZip64Uncompressed};  // what "zip -fz" writes
    Zip64TestEntry huge{"huge", "tiny"};
    huge.claimedSize = qint64(2) << 30;
    Zip64TestEntry noBlock{"no-block", data};
    noBlock.centralBlock = false;
    Zip64TestEntry lying{"lying", data};
    lying.claimedSize = data.size() - 1;
    Zip64TestEntry localLie{"local-lie", data};
    localLie.localClaim = data.size() + 1;
    Zip64TestEntry nowhere{"nowhere", data};
    nowhere.claimedOffset = qint64(1) << 40;
    m_path = m_dir.path() + QStringLiteral("/zip64.zip");
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Zip64TestArchive({asZipWrites, {"deflated", data}, huge, noBlock, lying, localLie, nowhere}));
    file.close();
    m_reader = std::make_unique<CZipReader>();
    m_reader->m_hZip = OpenZipArchive(m_path, 0, nullptr);
    ASSERT_NE(m_reader->m_hZip, nullptr);

    EXPECT_EQ(Item(-1).index, 7);
    for (int index : {0, 1}) {
        const ZipEntry entry = Item(index);
        EXPECT_EQ(entry.uncompressedSize, data.size());
        EXPECT_EQ(entry.compressedSize, index == 0 ? data.size() : RawDeflate(data).size());
        QByteArray buffer(data.size(), '\0');
        EXPECT_TRUE(m_reader->UnzipItem(index, buffer.data(), static_cast<unsigned>(buffer.size())))
            << std::hex << m_reader->m_nLastResult;
        EXPECT_EQ(buffer, data) << index;
    }
    // Sizes really beyond the limit keep its text; damaged and lying fields are refused.
    ZipEntry entry;
    for (const auto& [index, result] :
         {std::pair{2, kZipNoMemory}, {3, kZipCorrupt}, {5, kZipCorrupt}, {6, kZipCorrupt}}) {
        EXPECT_FALSE(m_reader->GetItem(index, &entry)) << index;
        EXPECT_EQ(m_reader->m_nLastResult, result) << index;
    }
    EXPECT_EQ(Item(4).uncompressedSize, data.size() - 1);
    QByteArray buffer(data.size(), '\0');
    EXPECT_FALSE(m_reader->UnzipItem(4, buffer.data(), static_cast<unsigned>(buffer.size())));
    EXPECT_EQ(m_reader->m_nLastResult, kZipCorrupt);
}

TEST_F(ZipReaderTest, Zip64BlocksHoldWhatTheRecordMarks)
{
    const QByteArray data = Pattern(70000);
    // A block beside plain values, as some writers add one, holds nothing to take.
    Zip64TestEntry beside{"beside", data, Z_DEFLATED, 0};
    beside.held = kZip64Uncompressed | kZip64Compressed | kZip64Offset;
    Zip64TestEntry centralOnly{"central-only", data, Z_DEFLATED, kZip64Uncompressed | kZip64Compressed};
    centralOnly.localBlock = false;
    Zip64TestEntry disk{"disk", data, Z_DEFLATED, kZip64Uncompressed | kZip64Compressed | kZip64Offset | kZip64Disk};
    Zip64TestEntry noDisk{"no-disk", data, Z_DEFLATED, kZip64Offset | kZip64Disk};
    noDisk.held = kZip64Offset;
    const QString zip64 = m_dir.path() + QStringLiteral("/zip64.zip");
    QFile file(zip64);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Zip64TestArchive({beside, centralOnly, disk, noDisk}));
    file.close();
    // The same beside a plain archive appended to a program.
    const QString appended = m_dir.path() + QStringLiteral("/appended.zip");
    ZipTestEntry plain{"plain", data};
    plain.centralExtra = Zip64ExtraBlock({quint64(data.size())});
    ASSERT_TRUE(WriteTestZip(appended, {plain}));
    const QByteArray archive = ReadWholeFile(appended);
    QFile program(appended);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(QByteArray(1000, 'x') + archive);
    program.close();

    for (const auto& [path, count] : {std::pair{zip64, 3}, {appended, 1}}) {
        m_reader = std::make_unique<CZipReader>();
        m_reader->m_hZip = OpenZipArchive(path, 0, nullptr);
        ASSERT_NE(m_reader->m_hZip, nullptr);
        for (int index = 0; index < count; ++index) {
            EXPECT_EQ(Item(index).uncompressedSize, data.size()) << index;
            QByteArray buffer(data.size(), '\0');
            EXPECT_TRUE(m_reader->UnzipItem(index, buffer.data(), static_cast<unsigned>(buffer.size())))
                << index << std::hex << " " << m_reader->m_nLastResult;
            EXPECT_EQ(buffer, data) << index;
        }
    }
    CZipReader reader;
    reader.m_hZip = OpenZipArchive(zip64, 0, nullptr);
    ZipEntry entry;
    EXPECT_FALSE(reader.GetItem(3, &entry));  // the marked disk number is missing
    EXPECT_EQ(reader.m_nLastResult, kZipCorrupt);
}
