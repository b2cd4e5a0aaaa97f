#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

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

// Deletes the root as a cleaner would, and makes it again as another running
// copy does, holding its lock and with a cache folder of its own; the lock's
// descriptor.
int GiveRootToAnotherCopy(const QString& root)
{
    EXPECT_TRUE(QDir(root).removeRecursively());
    EXPECT_TRUE(QDir().mkpath(root + QStringLiteral("Adj")));
    const int lock =
        open(QFile::encodeName(root + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    EXPECT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    return lock;
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
    const int other = open(QFile::encodeName(shared + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
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
    QImage page(8, 8, QImage::Format_BGR888);
    page.fill(Qt::white);
    EXPECT_TRUE(info.SaveCachedImage(page, nullptr, error)) << error.toStdString();
    EXPECT_EQ(ModeOf(root + QStringLiteral("Adj")), 0700u);

    // Replaced by a link, it is not made again through the link.
    ASSERT_TRUE(QDir(root).removeRecursively());
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), root.chopped(1)));
    EXPECT_TRUE(MakeTempFolder(error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    QFile::remove(root.chopped(1));
    SetTempRoot(previous);
}

TEST_F(ClaimedTempRoot, ACopyThatLostItsRootToAnotherMovesToARootOfItsOwn)
{
    const QString& shared = m_root;
    const QStringList another = {QStringLiteral(".lock"), QStringLiteral("Adj")};

    // The cache goes to a new root of this copy's own, not into the other's.
    const int first = GiveRootToAnotherCopy(shared);
    CImageInfo info;
    QImage page(8, 8, QImage::Format_BGR888);
    page.fill(Qt::white);
    QString error;
    EXPECT_TRUE(info.SaveCachedImage(page, nullptr, error)) << error.toStdString();
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
