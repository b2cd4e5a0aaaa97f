#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

#include "IntakeTestSupport.h"
#include "archive/ZipTestArchive.h"
#include "common/Paths.h"
#include "common/TempRoot.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/TempFolder.h"
#include "imagelist/ZipExtract.h"

namespace {

mode_t ModeOf(const QString& folder)
{
    struct stat status {};
    EXPECT_EQ(lstat(QFile::encodeName(folder).constData(), &status), 0) << folder.toStdString();
    return status.st_mode & 0777;
}

// Claims the root as another running copy does, by a lock on the folder; the
// folder's descriptor, or -1 when another holds it.
int ClaimAsAnotherCopy(const QString& root)
{
    const int folder = open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0 && flock(folder, LOCK_EX | LOCK_NB) != 0) {
        close(folder);
        return -1;
    }
    return folder;
}

// Locks the file as a copy on another host sharing the folder locks it
// through the network file system's server; the open file's descriptor.
int LockAsAnotherHost(const QString& file)
{
    const int opened = open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    EXPECT_EQ(opened >= 0 ? flock(opened, LOCK_EX | LOCK_NB) : -1, 0) << file.toStdString();
    return opened;
}

// Deletes the root as a cleaner would, and makes it again as another running
// copy does, claimed and with a cache folder of its own; the claim's
// descriptor.
int GiveRootToAnotherCopy(const QString& root)
{
    EXPECT_TRUE(QDir(root).removeRecursively());
    EXPECT_TRUE(QDir().mkpath(root + QStringLiteral("Adj")));
    const int claim = ClaimAsAnotherCopy(root);
    EXPECT_GE(claim, 0);
    return claim;
}

void WriteEmptyFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

bool SaveACachedPage(CImageInfo& info)
{
    QImage page(8, 8, QImage::Format_BGR888);
    page.fill(Qt::white);
    QString error;
    return info.SaveCachedImage(page, nullptr, error);
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A root of the test's own, claimed as the program claims its root.
class ClaimedTempRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTempRoot(m_root);
        ASSERT_EQ(ClaimTempRoot(), m_root);
    }
    void TearDown() override { SetTempRoot(m_previous); }

    const QString m_previous = GetTempRoot();
    QTemporaryDir m_temp;
    const QString m_root = m_temp.path() + QStringLiteral("/FolivaneTmp/");
};

}  // namespace

TEST(TempFolder, FoldersUnderTheRootArePrivateAndTheRootIsThisCopysAlone)
{
    const QString previous = GetTempRoot();
    QTemporaryDir temp;
    const QString shared = MakePrivateTempRoot(temp.path());
    SetTempRoot(shared);

    // Another running copy holds the root: this one takes a private folder of its own.
    const int other = ClaimAsAnotherCopy(shared);
    ASSERT_GE(other, 0);
    const QString root = ClaimTempRoot();
    close(other);
    EXPECT_TRUE(root.startsWith(temp.path() + QStringLiteral("/FolivaneTmp-"))) << root.toStdString();
    EXPECT_EQ(GetTempRoot(), root);
    EXPECT_EQ(ModeOf(root), 0700u);

    // Deleted while the program runs, it is made again as private as it was,
    // with every folder under it.
    ASSERT_TRUE(QDir(root).removeRecursively());
    QString error;
    const QString folder = MakeTempFolder(error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    EXPECT_EQ(ModeOf(root), 0700u);
    EXPECT_EQ(ModeOf(folder), 0700u);
    const QString archive = temp.filePath(QStringLiteral("pages.zip"));
    ASSERT_TRUE(WriteTestZip(archive, {{"sub/p.png", PageBytes()}}));
    ASSERT_TRUE(QDir(root).removeRecursively());
    EXPECT_EQ(ExtractZip(archive, folder, nullptr, error), 0) << error.toStdString();
    EXPECT_EQ(ModeOf(root), 0700u);
    EXPECT_EQ(ModeOf(folder + QStringLiteral("sub")), 0700u);
    ASSERT_TRUE(QDir(root).removeRecursively());
    CImageInfo info;
    EXPECT_TRUE(SaveACachedPage(info));
    EXPECT_EQ(ModeOf(root + QStringLiteral("Adj")), 0700u);
    SetTempRoot(previous);
}

TEST_F(ClaimedTempRoot, TheClaimIsALockOnTheFolderItselfThatNoFileInItCanHandOver)
{
    // A cleaner of the temporary folder deletes or replaces the files in it.
    QFile::remove(m_root + QStringLiteral(".lock"));
    WriteEmptyFile(m_root + QStringLiteral(".lock"));
    EXPECT_EQ(ClaimAsAnotherCopy(m_root), -1);

    // This copy still empties its own root at its close.
    QString error;
    const QString folder = MakeTempFolder(error);
    EXPECT_TRUE(folder.startsWith(m_root)) << folder.toStdString();
    EXPECT_EQ(DeleteFolderTree(m_root), 0);
    EXPECT_FALSE(QFileInfo::exists(m_root));
}

TEST(TempFolder, ARootThatIsNoLongerTheFolderThisCopyMadeSendsItToARootOfItsOwn)
{
    const QString previous = GetTempRoot();
    QTemporaryDir elsewhere;
    const std::vector<std::function<void(const QByteArray&)>> replacements = {
        [](const QByteArray& name) {  // another user's folder
            ASSERT_EQ(mkdir(name.constData(), 0700), 0);
            if (geteuid() == 0) {
                ASSERT_EQ(chown(name.constData(), 1, 1), 0);
            }
        },
        [](const QByteArray& name) { ASSERT_EQ(mkdir(name.constData(), 0755), 0); },  // another mode
        [&](const QByteArray& name) {
            // a link
            ASSERT_EQ(symlink(QFile::encodeName(elsewhere.path()).constData(), name.constData()), 0);
        },
        [](const QByteArray& name) { WriteEmptyFile(QFile::decodeName(name)); },  // a file
    };
    for (const auto& replace : replacements) {
        QTemporaryDir temp;
        const QString root = temp.path() + QStringLiteral("/FolivaneTmp/");
        SetTempRoot(root);
        ASSERT_EQ(ClaimTempRoot(), root);
        ASSERT_TRUE(QDir(root).removeRecursively());
        replace(QFile::encodeName(root.chopped(1)));

        // The next extraction and the cache go to a root of this copy's own.
        QString error;
        const QString folder = MakeTempFolder(error);
        const QString own = GetTempRoot();
        EXPECT_TRUE(own.startsWith(temp.path() + QStringLiteral("/FolivaneTmp-"))) << own.toStdString();
        EXPECT_TRUE(folder.startsWith(own) && QFileInfo(folder).isDir()) << error.toStdString();
        CImageInfo info;
        EXPECT_TRUE(SaveACachedPage(info));
        EXPECT_TRUE(info.GetCacheFileName().startsWith(own));
        EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        info.DeleteCacheFile();
        EXPECT_EQ(DeleteFolderTree(own), 0);
    }
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    SetTempRoot(previous);
}

TEST_F(ClaimedTempRoot, ACopyThatLostItsRootToAnotherMovesToARootOfItsOwn)
{
    const QString& shared = m_root;
    const QStringList another = {QStringLiteral("Adj")};

    // The cache goes to a new root of this copy's own, not into the other's.
    const int first = GiveRootToAnotherCopy(shared);
    CImageInfo info;
    EXPECT_TRUE(SaveACachedPage(info));
    QString error;
    const QString own = GetTempRoot();
    EXPECT_TRUE(own.startsWith(m_temp.path() + QStringLiteral("/FolivaneTmp-"))) << own.toStdString();
    EXPECT_TRUE(QFileInfo::exists(info.GetCacheFileName()));
    EXPECT_TRUE(Entries(shared + QStringLiteral("Adj")).isEmpty());

    // So does an archive's folder named after the root that was lost.
    const int second = GiveRootToAnotherCopy(own);
    const QString folder = MakeTempFolder(error);
    const QString third = GetTempRoot();
    EXPECT_NE(third, own);
    EXPECT_TRUE(folder.startsWith(third)) << folder.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(Entries(own), another);

    // The close empties only the root in use.
    EXPECT_EQ(DeleteFolderTree(GetTempRoot()), 0);
    EXPECT_FALSE(QFileInfo::exists(third));
    EXPECT_EQ(Entries(shared), another);
    EXPECT_EQ(Entries(own), another);
    close(first);
    close(second);
}

TEST_F(ClaimedTempRoot, ACacheFileIsRemovedOnlyFromTheRootThisCopyHolds)
{
    const QString& root = m_root;
    auto info = std::make_unique<CImageInfo>();

    // Made again by someone else, with the cache folder a link to a folder
    // of the user's that holds a file of the cache file's name.
    ASSERT_TRUE(QDir(root).removeRecursively());
    ASSERT_EQ(mkdir(QFile::encodeName(root).constData(), 0700), 0);
    QTemporaryDir documents;
    ASSERT_TRUE(QFile::link(documents.path(), root + QStringLiteral("Adj")));
    const QString victim = documents.filePath(QFileInfo(info->GetCacheFileName()).fileName());
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    info->DeleteCacheFile();
    info.reset();
    EXPECT_TRUE(QFileInfo::exists(victim));
}

TEST_F(ClaimedTempRoot, ARootWhoseModeWasChangedStaysThisCopysAndIsKeptUntilTheClose)
{
    QString error;
    const QString first = MakeTempFolder(error);
    ASSERT_TRUE(first.startsWith(m_root)) << error.toStdString();
    const QString page = first + QStringLiteral("page.png");
    WriteEmptyFile(page);
    for (const mode_t mode : {0755, 0750}) {
        ASSERT_EQ(chmod(QFile::encodeName(m_root).constData(), mode), 0);
        EXPECT_TRUE(MakeTempFolder(error).startsWith(m_root)) << error.toStdString();
        EXPECT_EQ(ModeOf(m_root), 0700u);
        EXPECT_EQ(ClaimAsAnotherCopy(m_root), -1);
    }

    // Its lock file taken by a copy on another host: the next extraction
    // goes to a root of this copy's own, and the first root stays held.
    ASSERT_TRUE(QFile::remove(m_root + QStringLiteral(".lock")));
    const int other = LockAsAnotherHost(m_root + QStringLiteral(".lock"));
    const QString own = MakeTempFolder(error);
    EXPECT_FALSE(own.startsWith(m_root)) << own.toStdString();
    EXPECT_EQ(ClaimAsAnotherCopy(m_root), -1);
    EXPECT_TRUE(QFileInfo::exists(page));
    EXPECT_EQ(CreateFolderPath(first + QStringLiteral("sub")), 0);
    EXPECT_EQ(ModeOf(first + QStringLiteral("sub")), 0700u);

    // The close empties every root this copy held that is still its own.
    close(other);
    DeleteTempRoots();
    EXPECT_FALSE(QFileInfo::exists(m_root));
    EXPECT_FALSE(QFileInfo::exists(GetTempRoot()));
}

TEST(TempFolder, ARootWhoseLockFileACopyOnAnotherHostHoldsIsLeftToIt)
{
    const QString previous = GetTempRoot();
    QTemporaryDir temp;
    const QString shared = MakePrivateTempRoot(temp.path());
    const QString theirs = shared + QStringLiteral("page.png");
    WriteEmptyFile(theirs);
    const int other = LockAsAnotherHost(shared + QStringLiteral(".lock"));
    SetTempRoot(shared);
    const QString root = ClaimTempRoot();
    EXPECT_TRUE(root.startsWith(temp.path() + QStringLiteral("/FolivaneTmp-"))) << root.toStdString();
    DeleteTempRoots();
    EXPECT_TRUE(QFileInfo::exists(theirs));
    EXPECT_FALSE(QFileInfo::exists(root));
    close(other);
    SetTempRoot(previous);
}
