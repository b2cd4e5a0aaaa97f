#include <gtest/gtest.h>

#include "IntakeTestSupport.h"
#include "ListTestSupport.h"
#include "archive/RarTestArchive.h"
#include "archive/ZipTestArchive.h"
#include "common/Paths.h"
#include "common/TempRoot.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/IntakeTypes.h"
#include "imagelist/IntakeWalker.h"
#include "imagelist/TempFolder.h"
#include "platform/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class IntakeWalkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_in = m_dir.path() + QStringLiteral("/in/");
        m_temp = m_dir.path() + QStringLiteral("/tmp/");
        ASSERT_EQ(CreateFolderPath(m_in), 0);
        ASSERT_EQ(CreateFolderPath(m_temp), 0);
        m_previousRoot = GetTempRoot();
        SetTempRoot(m_temp);
    }
    void TearDown() override
    {
        SetTempRoot(m_previousRoot);
        DeleteFolderTree(m_dir.path());  // names QTemporaryDir cannot remove
    }

    CIntakeWalker NewWalker() { return CIntakeWalker(m_images, m_rows, m_archives, m_asker); }

    // Adds the paths in one intake, as the list does; true when one added.
    bool Intake(const QStringList& paths)
    {
        CIntakeWalker walker = NewWalker();
        bool added = false;
        for (const QString& path : paths) {
            added = walker.AddPath(path) || added;
            if (walker.IsCancelled()) {
                break;
            }
        }
        return added;
    }

    void Page(const QString& name) { WriteBytes(m_in + name, PageBytes()); }

    // The entries' paths relative to the input folder, in row order.
    QStringList Names() const
    {
        QStringList names;
        for (const int index : m_rows) {
            names.append(m_images[static_cast<size_t>(index)]->m_strPath.mid(m_in.size()));
        }
        return names;
    }

    QStringList TempFolders() const { return QDir(m_temp).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

    QTemporaryDir m_dir;
    QString m_in;
    QString m_temp;
    QString m_previousRoot;
    std::vector<std::unique_ptr<CImageInfo>> m_images;
    std::vector<int> m_rows;
    QHash<QString, QString> m_archives;
    CFakeIntakeAsker m_asker;
};

QString Str(const char* text)
{
    return QString::fromUtf8(text);
}

// A page under a name of bytes, which QFile cannot give.
void WriteRawPage(const QByteArray& path)
{
    const QByteArray bytes = PageBytes();
    const int file = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(file, 0);
    EXPECT_EQ(write(file, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    close(file);
}

}  // namespace

TEST_F(IntakeWalkerTest, FolderGivesItsFilesBeforeItsSubfoldersDepthFirstAndAsksOnce)
{
    for (const char* name : {"b.PNG", "a.jpg", "notes.txt", "s1/c.Tiff", "s1/deep/d.gif", "s2/e.bmp", "s2/f.JPE"}) {
        Page(Str(name));
    }
    Page(QStringLiteral("other/x.jpeg"));
    EXPECT_TRUE(Intake({m_in + QStringLiteral("s1"), m_in + QStringLiteral("s2"), m_in + QStringLiteral("a.jpg")}));
    EXPECT_EQ(m_asker.subfolderQuestions, 1);
    EXPECT_EQ(Names(),
              (QStringList{Str("s1/c.Tiff"), Str("s1/deep/d.gif"), Str("s2/e.bmp"), Str("s2/f.JPE"), Str("a.jpg")}));
    EXPECT_EQ(m_images[0]->m_strOrigin, m_images[0]->m_strPath);

    // No subfolder: no question. "No": the folder's own files only.
    m_asker.subfolderAnswers = {IDNO};
    EXPECT_TRUE(Intake({m_in + QStringLiteral("other")}));
    EXPECT_EQ(m_asker.subfolderQuestions, 1);
    EXPECT_TRUE(Intake({m_in}));
    EXPECT_EQ(m_asker.subfolderQuestions, 2);
    EXPECT_EQ(Names().mid(6), (QStringList{Str("b.PNG")}));
}

TEST_F(IntakeWalkerTest, CancelOnTheSubfolderQuestionKeepsWhatCameBefore)
{
    for (const char* name : {"a.png", "m/in.png", "z.png", "later/y.png"}) {
        Page(Str(name));
    }
    Page(QStringLiteral("first.png"));
    m_asker.subfolderAnswers = {IDCANCEL};
    EXPECT_TRUE(Intake({m_in + QStringLiteral("first.png"), m_in, m_in + QStringLiteral("z.png")}));
    EXPECT_EQ(Names(), (QStringList{Str("first.png"), Str("a.png")}));
}

TEST_F(IntakeWalkerTest, BadPathsAreSkippedQuietly)
{
    Page(QStringLiteral("ok.png"));
    QDir().mkpath(m_in + QStringLiteral("dir.png"));
    ASSERT_TRUE(QFile::link(m_in, m_in + QStringLiteral("self.png")));
    ASSERT_TRUE(QFile::link(m_in + QStringLiteral(".."), m_in + QStringLiteral("up")));
    ASSERT_TRUE(QFile::link(m_in + QStringLiteral("gone.png"), m_in + QStringLiteral("dangling.png")));
    // A name that is no text in the system's encoding is a page all the same.
    const QByteArray raw = QFile::encodeName(m_in) + "\xff\xfe.png";
    const int file = open(raw.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    close(file);

    EXPECT_TRUE(Intake({m_in + QStringLiteral("missing.png"), m_in, m_in + QStringLiteral("ok.png")}));
    EXPECT_EQ(Names(), (QStringList{Str("ok.png"), DecodeFileName("\xff\xfe.png")}));
    EXPECT_TRUE(m_asker.messages.empty());
    EXPECT_FALSE(Intake({m_in + QStringLiteral("OK.PNG"), m_in + QStringLiteral("ok.png")}));  // duplicates
    unlink(raw.constData());  // the temporary folder's clean-up cannot name it
}

TEST_F(IntakeWalkerTest, PagesWhoseNamesAreNoUtf8AreListedUnderTheirShownNamesAndShownNamesLeadToNoPage)
{
    // Shift-JIS and Latin-1 names, a folder so named, and such a file given by itself.
    Page(QStringLiteral("a.png"));
    const QByteArray in = QFile::encodeName(m_in);
    const QByteArray alone = QFile::encodeName(m_dir.path()) + "/alone\xe9.png";
    ASSERT_EQ(mkdir(in + "\xe9t\xe9", 0755), 0);
    for (const QByteArray& path :
         {in + "\x83\x79\x81\x5B\x83\x57.png", in + "caf\xe9.png", in + "\xe9t\xe9/p.png", alone}) {
        WriteRawPage(path);
    }
    EXPECT_TRUE(Intake({m_in, DecodeFileName(alone)}));
    ASSERT_EQ(m_rows.size(), 5U);
    QStringList shown;
    for (const auto& info : m_images) {
        struct stat status {};
        EXPECT_EQ(stat(EncodeFileName(info->m_strPath).constData(), &status), 0);
        EXPECT_EQ(info->m_dwFileSize, static_cast<quint32>(PageBytes().size()));
        shown.append(info->GetColumnText(COLUMN_FILE_NAME));
    }
    EXPECT_EQ(shown, (QStringList{Str("a.png"), Str("caf\uFFFD.png"), Str("\uFFFDy\uFFFD[\uFFFDW.png"), Str("p.png"),
                                  Str("alone\uFFFD.png")}));
    EXPECT_EQ(m_images[1]->GetColumnText(COLUMN_FILE_PATH), m_in + Str("caf\uFFFD.png"));

    // A missing path is passed over, never matched by how names show: a page
    // gone whose name holds a real U+FFFD, beside pages that show as it did,
    // and the shown forms of a page and a folder that are there.
    WriteRawPage(in + "\x82\xa0.png");
    WriteRawPage(in + "\x82\xa2.png");
    const QStringList shownOnly = {m_in + Str("\uFFFD\uFFFD.png"), ShownFileName(m_images[1]->m_strPath),
                                   ShownFileName(DecodeFileName(in + "\xe9t\xe9"))};
    m_images.clear();
    m_rows.clear();
    EXPECT_FALSE(Intake(shownOnly));
    EXPECT_TRUE(m_rows.empty());
    EXPECT_TRUE(m_asker.messages.empty());
}

TEST_F(IntakeWalkerTest, UnreadableFolderAddsNothing)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    Page(QStringLiteral("locked/a.png"));
    QFile::setPermissions(m_in + QStringLiteral("locked"), QFileDevice::WriteOwner);
    EXPECT_FALSE(Intake({m_in + QStringLiteral("locked")}));
    QFile::setPermissions(m_in + QStringLiteral("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(IntakeWalkerTest, LimitIsToldOnceAndEndsTheIntake)
{
    for (int i = 0; i < kMaxListEntries - 1; ++i) {
        auto info = std::make_unique<CImageInfo>();
        info->m_strPath = QStringLiteral("/nowhere/%1.png").arg(i);
        m_images.push_back(std::move(info));
        m_rows.push_back(i);
    }
    QStringList dropped;
    for (int i = 0; i < 5; ++i) {
        dropped.append(m_in + QStringLiteral("p%1.png").arg(i));
        Page(dropped.back().mid(m_in.size()));
    }
    EXPECT_TRUE(Intake(dropped));
    EXPECT_EQ(m_rows.size(), static_cast<size_t>(kMaxListEntries));
    EXPECT_EQ(m_asker.messages, std::vector<QString>{Str("ファイルを追加できるのは 3000 個までです。")});
}

TEST_F(IntakeWalkerTest, HugeFolderStopsAtTheLimit)
{
    const QByteArray base = QFile::encodeName(m_in);
    for (int i = 0; i < 10000; ++i) {
        const int file = open((base + QByteArray::number(i) + ".png").constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        close(file);
    }
    EXPECT_TRUE(Intake({m_in}));
    EXPECT_EQ(m_rows.size(), static_cast<size_t>(kMaxListEntries));
    EXPECT_EQ(m_asker.messages.size(), 1U);
}

TEST_F(IntakeWalkerTest, ArchiveIsExtractedOnceAndItsEntriesKeepTheOutermostOrigin)
{
    const QString inner = m_dir.path() + QStringLiteral("/inner.zip");
    ASSERT_TRUE(WriteTestZip(inner, {{"deep/q.png", PageBytes()}}));
    const QString outer = m_in + QStringLiteral("Book.ZIP");
    ASSERT_TRUE(
        WriteTestZip(outer, {{"p1.png", PageBytes()}, {"read.txt", "x"}, {"sub/inner.zip", ReadWholeFile(inner)}}));

    EXPECT_TRUE(Intake({outer}));
    ASSERT_EQ(m_rows.size(), 2U);
    for (const auto& info : m_images) {
        EXPECT_EQ(info->m_strOrigin, outer);
        EXPECT_TRUE(info->m_strPath.startsWith(m_temp)) << info->m_strPath.toStdString();
    }
    EXPECT_TRUE(m_images[1]->m_strPath.endsWith(QStringLiteral("/deep/q.png")));
    EXPECT_EQ(TempFolders().size(), 2);

    // Again: nothing extracted, the members are duplicates.
    EXPECT_FALSE(Intake({outer}));
    EXPECT_EQ(TempFolders().size(), 2);
    EXPECT_EQ(m_archives.size(), 2);
    EXPECT_TRUE(m_asker.messages.empty());
}

TEST_F(IntakeWalkerTest, NamesThatDifferOnlyInCaseAreDifferentFiles)
{
    Page(QStringLiteral("a.png"));
    Page(QStringLiteral("A.png"));
    ASSERT_TRUE(WriteTestZip(m_in + QStringLiteral("Book.zip"), {{"p.png", PageBytes()}}));
    ASSERT_TRUE(WriteTestZip(m_in + QStringLiteral("book.zip"), {{"q.png", PageBytes()}}));
    EXPECT_TRUE(Intake({m_in + QStringLiteral("a.png"), m_in + QStringLiteral("A.png"),
                        m_in + QStringLiteral("Book.zip"), m_in + QStringLiteral("book.zip")}));
    ASSERT_EQ(m_rows.size(), 4U);
    EXPECT_TRUE(m_images[2]->m_strPath.endsWith(QStringLiteral("/p.png")));
    EXPECT_TRUE(m_images[3]->m_strPath.endsWith(QStringLiteral("/q.png")));
    EXPECT_EQ(TempFolders().size(), 2);
}

TEST_F(IntakeWalkerTest, DamagedArchiveIsToldAndLeavesNoFolder)
{
    Page(QStringLiteral("a.png"));
    const QString good = m_dir.path() + QStringLiteral("/good.zip");
    ASSERT_TRUE(WriteTestZip(good, {{"p1.png", PageBytes()}, {"p2.png", PageBytes()}}));
    const QByteArray bytes = ReadWholeFile(good);
    const QString truncated = m_in + QStringLiteral("cut.zip");
    WriteBytes(truncated, bytes.left(bytes.size() / 2));
    const QString corrupt = m_in + QStringLiteral("bad.zip");
    QByteArray damaged = bytes;
    damaged[40] = static_cast<char>(~damaged[40]);  // inside the first entry's data
    WriteBytes(corrupt, damaged);

    EXPECT_TRUE(Intake({m_in + QStringLiteral("a.png"), truncated, m_in + QStringLiteral("late.png")}));
    ASSERT_EQ(m_asker.messages.size(), 1U);
    EXPECT_TRUE(m_asker.messages[0].startsWith(QStringLiteral("[ZIP] ")));
    EXPECT_TRUE(m_asker.messages[0].endsWith(QStringLiteral("\nFile: ") + truncated));
    EXPECT_EQ(Names(), QStringList{Str("a.png")});
    EXPECT_TRUE(TempFolders().isEmpty());
    EXPECT_TRUE(m_archives.isEmpty());

    EXPECT_FALSE(Intake({corrupt}));
    EXPECT_EQ(m_asker.messages.size(), 2U);
    EXPECT_TRUE(m_asker.messages[1].endsWith(QStringLiteral("\nFile: ") + corrupt));
    EXPECT_TRUE(TempFolders().isEmpty());
}

TEST_F(IntakeWalkerTest, PasswordIsAskedUntilRightWithTheMessageFromTheSecondTry)
{
    const QString archive = m_in + QStringLiteral("locked.zip");
    ASSERT_TRUE(WriteTestZip(archive, {{"p.png", PageBytes(), Z_DEFLATED, "ひみつ"}}));
    m_asker.passwords = {QStringLiteral("wrong"), QString::fromUtf8("ひみつ")};
    EXPECT_TRUE(Intake({archive}));
    EXPECT_EQ(m_asker.passwordArchives, (QStringList{archive, archive}));
    EXPECT_EQ(m_asker.messagesBeforePassword, (std::vector<size_t>{0, 1}));
    EXPECT_EQ(m_asker.messages, std::vector<QString>{Str("パスワードが違います。")});
    EXPECT_EQ(m_rows.size(), 1U);

    // Wrong, then Cancel: nothing added, no folder kept, the intake ends.
    const QString other = m_in + QStringLiteral("other.zip");
    ASSERT_TRUE(WriteTestZip(other, {{"q.png", PageBytes(), Z_DEFLATED, "pw"}}));
    Page(QStringLiteral("after.png"));
    m_asker.passwords = {QStringLiteral("nope"), std::nullopt};
    EXPECT_FALSE(Intake({other, m_in + QStringLiteral("after.png")}));
    EXPECT_EQ(m_asker.messages.size(), 2U);
    EXPECT_EQ(TempFolders().size(), 1);
    EXPECT_EQ(m_rows.size(), 1U);
}

TEST_F(IntakeWalkerTest, EntriesWhoseNamesMeetEachKeepTheirPage)
{
    // Names that map to one, names given twice, and a name of 255 bytes that
    // has no room left for a number.
    const QByteArray longName = QByteArray(251, 'n') + ".png";
    const std::vector<ZipTestEntry> entries = {
        {"ab:1.png", "first"}, {"ab_1.png", "second"}, {"ab?1.png", "third"},       {"q.png", "fourth"},
        {"dup.png", "fifth"},  {"dup.png", "sixth"},   {"sub/ab*1.png", "seventh"}, {"sub/ab_1.png", "eighth"},
        {longName, "ninth"},   {longName, "tenth"}};
    const QString archive = m_in + QStringLiteral("clash.zip");
    ASSERT_TRUE(WriteTestZip(archive, entries));
    EXPECT_TRUE(Intake({archive}));
    ASSERT_EQ(m_rows.size(), entries.size());
    const QString folder = m_archives.value(archive);
    QMap<QString, QByteArray> files;
    for (const auto& info : m_images) {
        files.insert(info->m_strPath.mid(folder.size()), ReadWholeFile(info->m_strPath));
        EXPECT_LE(QFileInfo(info->m_strPath).fileName().toUtf8().size(), 255);
    }
    // The numbered long name keeps its number and extension and fits.
    const QString numberedLong = QString(248, QLatin1Char('n')) + QStringLiteral("(2).png");
    const QMap<QString, QByteArray> expected = {
        {Str("ab_1.png"), "first"},       {Str("ab_1(2).png"), "second"},     {Str("ab_1(3).png"), "third"},
        {Str("q.png"), "fourth"},         {Str("dup.png"), "fifth"},          {Str("dup(2).png"), "sixth"},
        {Str("sub/ab_1.png"), "seventh"}, {Str("sub/ab_1(2).png"), "eighth"}, {QString::fromLatin1(longName), "ninth"},
        {numberedLong, "tenth"}};
    EXPECT_EQ(files, expected);

    // The rar library stand-in keeps such names apart as they are.
    const QString rar = m_in + QStringLiteral("clash.rar");
    ASSERT_TRUE(WriteTestRar(rar, {{"ab:1.png", "first"}, {"ab_1.png", "second"}, {"ab?1.png", "third"}}));
    CIntakeWalker walker = NewWalker();
    walker.m_strUnrarLibrary = QStringLiteral(FOLIVANE_UNRAR_PATH);
    EXPECT_TRUE(walker.AddPath(rar));
    EXPECT_EQ(m_rows.size(), entries.size() + 3);
}

TEST_F(IntakeWalkerTest, RarNeedsItsLibrary)
{
    const QString archive = m_in + QStringLiteral("pages.RAR");
    ASSERT_TRUE(WriteTestRar(archive, {{"p.png", PageBytes()}}));
    Page(QStringLiteral("after.png"));
    EXPECT_TRUE(Intake({archive, m_in + QStringLiteral("after.png")}));
    EXPECT_EQ(Names(), QStringList{Str("after.png")});
    EXPECT_TRUE(m_asker.messages.empty());
    EXPECT_TRUE(TempFolders().isEmpty());

    CIntakeWalker walker = NewWalker();
    walker.m_strUnrarLibrary = QStringLiteral(FOLIVANE_UNRAR_PATH);
    EXPECT_TRUE(walker.AddPath(archive));
    EXPECT_EQ(m_images.back()->m_strOrigin, archive);

    const QString broken = m_in + QStringLiteral("broken.rar");
    WriteBytes(broken, "Rar!\x1a\x07\x00 not really");
    EXPECT_FALSE(walker.AddPath(broken));
    ASSERT_EQ(m_asker.messages.size(), 1U);
    EXPECT_TRUE(m_asker.messages[0].startsWith(QStringLiteral("[書庫]")));
    EXPECT_TRUE(m_asker.messages[0].endsWith(QStringLiteral("\nFile: ") + broken));
    EXPECT_TRUE(walker.IsCancelled());
    EXPECT_EQ(TempFolders().size(), 1);
}

TEST_F(IntakeWalkerTest, ArchivesNestedTooDeepAreLeftAlone)
{
    QByteArray archive = PageBytes();
    QByteArray name = "p.png";
    for (int level = 0; level < 10; ++level) {
        const QString path = m_dir.path() + QStringLiteral("/level%1.zip").arg(level);
        ASSERT_TRUE(WriteTestZip(path, {{name, archive}}));
        archive = ReadWholeFile(path);
        name = "n" + QByteArray::number(level) + ".zip";
    }
    WriteBytes(m_in + QStringLiteral("nest.zip"), archive);
    EXPECT_FALSE(Intake({m_in + QStringLiteral("nest.zip")}));
    EXPECT_EQ(TempFolders().size(), 8);
    EXPECT_TRUE(m_asker.messages.empty());
}

TEST_F(IntakeWalkerTest, FanOutOfArchivesStopsAtTheLimitsWithOneMessage)
{
    // Three copies of three copies of three copies: 40 archives in all.
    QByteArray archive = "not a page";
    QByteArray name = "x.txt";
    for (int level = 0; level < 4; ++level) {
        std::vector<ZipTestEntry> entries;
        for (int copy = 0; copy < 3; ++copy) {
            entries.push_back({QByteArray::number(copy) + name, archive});
        }
        const QString path = m_dir.path() + QStringLiteral("/level%1.zip").arg(level);
        ASSERT_TRUE(WriteTestZip(path, entries));
        archive = ReadWholeFile(path);
        name = "n.zip";
    }
    const QString fan = m_in + QStringLiteral("fan.zip");
    WriteBytes(fan, archive);
    const QString pages = m_in + QStringLiteral("pages.zip");
    ASSERT_TRUE(WriteTestZip(pages, {{"p.png", PageBytes()}}));
    Page(QStringLiteral("after.png"));
    CIntakeWalker walker = NewWalker();
    walker.m_nMaxArchives = 5;
    EXPECT_FALSE(walker.AddPath(fan));
    EXPECT_FALSE(walker.AddPath(pages));
    EXPECT_TRUE(walker.AddPath(m_in + QStringLiteral("after.png")));
    EXPECT_EQ(TempFolders().size(), 5);
    EXPECT_EQ(m_asker.messages,
              std::vector<QString>{CArcLib::GetErrorMessage(0x8011) + QStringLiteral("\nFile: ") + fan});

    // The bytes written count too.
    CIntakeWalker bytes = NewWalker();
    bytes.m_nMaxBytes = PageBytes().size();  // the first archive fills it
    EXPECT_TRUE(bytes.AddPath(pages));
    EXPECT_FALSE(bytes.AddPath(m_in + QStringLiteral("../in/pages.zip")));
    EXPECT_FALSE(bytes.IsCancelled());
    EXPECT_EQ(m_asker.messages.size(), 2U);
    EXPECT_EQ(kMaxIntakeArchives, 300);
}

TEST_F(IntakeWalkerTest, OneArchiveStopsAtTheBoundAsItWrites)
{
    // Three files of 4000 bytes: the bound lets two be written.
    const QString big = m_dir.path() + QStringLiteral("/big.zip");
    ASSERT_TRUE(WriteTestZip(
        big,
        {{"p1.png", QByteArray(4000, '1')}, {"p2.png", QByteArray(4000, '2')}, {"p3.png", QByteArray(4000, '3')}}));
    const QString alone = m_in + QStringLiteral("alone.zip");
    WriteBytes(alone, ReadWholeFile(big));
    const QString pages = m_in + QStringLiteral("pages.zip");
    ASSERT_TRUE(WriteTestZip(pages, {{"q.png", PageBytes()}}));
    Page(QStringLiteral("after.png"));
    const QString told = CArcLib::GetErrorMessage(0x8011) + QStringLiteral("\nFile: ");
    CIntakeWalker walker = NewWalker();
    walker.m_nMaxBytes = 10000;
    EXPECT_FALSE(walker.AddPath(alone));
    EXPECT_FALSE(walker.IsCancelled());
    EXPECT_FALSE(walker.AddPath(pages));  // the bound is spent
    EXPECT_TRUE(walker.AddPath(m_in + QStringLiteral("after.png")));
    EXPECT_EQ(Names(), QStringList{Str("after.png")});
    EXPECT_EQ(m_asker.messages, std::vector<QString>{told + alone});
    EXPECT_TRUE(TempFolders().isEmpty());
    EXPECT_TRUE(m_archives.isEmpty());

    // Inside the user's archive: what came before stays, the stopped archive goes.
    const QString outer = m_in + QStringLiteral("outer.zip");
    ASSERT_TRUE(WriteTestZip(outer, {{"a.png", PageBytes()}, {"sub/big.zip", ReadWholeFile(big)}}));
    CIntakeWalker nested = NewWalker();
    nested.m_nMaxBytes = 10000;
    EXPECT_TRUE(nested.AddPath(outer));
    EXPECT_FALSE(nested.IsCancelled());
    ASSERT_EQ(m_rows.size(), 2U);
    EXPECT_TRUE(m_images[1]->m_strPath.endsWith(QStringLiteral("/a.png")));
    EXPECT_EQ(m_asker.messages.back(), told + outer);
    EXPECT_EQ(TempFolders().size(), 1);
}

TEST_F(IntakeWalkerTest, FailureInsideAnArchiveNamesItAndKeepsWhatCameBefore)
{
    const QString good = m_dir.path() + QStringLiteral("/good.zip");
    ASSERT_TRUE(WriteTestZip(good, {{"p.png", PageBytes()}, {"blob.bin", QByteArray(1000, 'b')}}));
    const QString bad = m_dir.path() + QStringLiteral("/bad.zip");
    ASSERT_TRUE(WriteTestZip(bad, {{"q.png", PageBytes(), 0, nullptr, 0, 0, 0x5A8C6000, {}, -1, 0x1234}}));
    const QString outer = m_in + QStringLiteral("outer.zip");
    ASSERT_TRUE(WriteTestZip(outer, {{"good.zip", ReadWholeFile(good)}, {"sub/bad.zip", ReadWholeFile(bad)}}));
    Page(QStringLiteral("after.png"));
    EXPECT_TRUE(Intake({outer, m_in + QStringLiteral("after.png")}));
    ASSERT_EQ(m_asker.messages.size(), 1U);
    EXPECT_TRUE(m_asker.messages[0].endsWith(QStringLiteral("\nFile: ") + outer)) << m_asker.messages[0].toStdString();
    ASSERT_EQ(m_rows.size(), 1U);
    EXPECT_TRUE(m_images[0]->m_strPath.endsWith(QStringLiteral("/p.png")));
    EXPECT_EQ(m_images[0]->m_strOrigin, outer);
    // Only the damaged archive's own folder is gone.
    EXPECT_EQ(TempFolders().size(), 2);
    EXPECT_EQ(m_archives.size(), 2);

    // The free space the check allows shrinks with what the intake wrote.
    CIntakeWalker walker = NewWalker();
    walker.m_nFreeBytes = 1500;
    EXPECT_TRUE(walker.AddPath(good));
    EXPECT_FALSE(walker.AddPath(m_in + QStringLiteral("../good.zip")));
    EXPECT_TRUE(m_asker.messages.back().startsWith(QStringLiteral("extract file write error\n")));
    EXPECT_EQ(TempFolders().size(), 3);

    // A password refused inside an archive is a cancel: what came before stays.
    const QString locked = m_dir.path() + QStringLiteral("/locked.zip");
    ASSERT_TRUE(WriteTestZip(locked, {{"r.png", PageBytes(), Z_DEFLATED, "pw"}}));
    const QString kept = m_in + QStringLiteral("kept.zip");
    ASSERT_TRUE(WriteTestZip(kept, {{"good.zip", ReadWholeFile(good)}, {"sub/locked.zip", ReadWholeFile(locked)}}));
    m_asker.passwords = {std::nullopt};
    EXPECT_TRUE(Intake({kept}));
    ASSERT_EQ(m_rows.size(), 3U);
    EXPECT_TRUE(Names().back().endsWith(QStringLiteral("/p.png")));
}

TEST(IntakeTempFolder, TakenNamesAreCountedUp)
{
    QTemporaryDir dir;
    const QString previous = GetTempRoot();
    SetTempRoot(dir.path() + QLatin1Char('/'));
    const QString first = MakeTempFolderFrom(0xABCDEFFFU);
    EXPECT_EQ(first, dir.path() + QStringLiteral("/ABCDEFFF/"));
    ASSERT_EQ(CreateFolderPath(first), 0);
    EXPECT_EQ(MakeTempFolderFrom(0xABCDEFFFU), dir.path() + QStringLiteral("/ABCDF000/"));
    SetTempRoot(previous);
}

TEST(IntakeTypes, FilterOffersRarOnlyWithItsLibrary)
{
    const QString plain = Str("画像ファイル|*.bmp;*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.tif;*.tiff|書庫ファイル|*.zip");
    EXPECT_EQ(GetOpenFileFilter(), plain + Str("|全ファイル|*.*||"));
    EXPECT_EQ(GetOpenFileFilter(QStringLiteral(FOLIVANE_UNRAR_PATH)), plain + Str(";*.rar|全ファイル|*.*||"));
}
