#include <gtest/gtest.h>

#include "common/Paths.h"
#include "common/TempRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const QString& folder)
{
    struct stat status {};
    EXPECT_EQ(lstat(QFile::encodeName(folder).constData(), &status), 0);
    return status.st_mode & 0777;
}

QString PerUserName(const QString& temp)
{
    return temp + QStringLiteral("/FolivaneTmp-%1/").arg(geteuid());
}

}  // namespace

TEST(TempRoot, MadePrivateUnderTheTemporaryFolder)
{
    QTemporaryDir temp;
    const QString root = MakePrivateTempRoot(temp.path());
    EXPECT_EQ(root, temp.path() + QStringLiteral("/FolivaneTmp/"));
    EXPECT_EQ(ModeOf(root), 0700u);

    // A folder of this user that others could write to is closed first.
    ASSERT_EQ(chmod(QFile::encodeName(root).constData(), 0777), 0);
    EXPECT_EQ(MakePrivateTempRoot(temp.path()), root);
    EXPECT_EQ(ModeOf(root), 0700u);
}

TEST(TempRoot, PlantedLinkOrFileIsNeverUsed)
{
    QTemporaryDir temp;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), temp.path() + QStringLiteral("/FolivaneTmp")));
    EXPECT_EQ(MakePrivateTempRoot(temp.path()), PerUserName(temp.path()));

    QTemporaryDir temp2;
    QFile file(temp2.path() + QStringLiteral("/FolivaneTmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(MakePrivateTempRoot(temp2.path()), PerUserName(temp2.path()));
}

TEST(TempRoot, FolderOfAnotherUserIsNeverUsed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs to hand a folder to another user";
    QTemporaryDir temp;
    const QString planted = temp.path() + QStringLiteral("/FolivaneTmp");
    ASSERT_TRUE(QDir().mkdir(planted));
    ASSERT_EQ(chown(QFile::encodeName(planted).constData(), 1, 1), 0);
    EXPECT_EQ(MakePrivateTempRoot(temp.path()), PerUserName(temp.path()));
}

TEST(TempRoot, ARootMadeAgainBySomeoneElseIsNeverEmptied)
{
    const QString previous = GetTempRoot();
    QTemporaryDir temp;
    SetTempRoot(temp.path() + QStringLiteral("/FolivaneTmp"));
    const QString root = ClaimTempRoot();
    ASSERT_EQ(root, temp.path() + QStringLiteral("/FolivaneTmp/"));

    // Deleted while the program runs, then made again under the same name
    // with the same owner and mode, but another folder.
    ASSERT_TRUE(QDir(root).removeRecursively());
    ASSERT_EQ(mkdir(QFile::encodeName(root).constData(), 0700), 0);
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("sub")));
    QFile theirs(root + QStringLiteral("sub/theirs"));
    ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
    theirs.close();

    // Neither the close nor the removal of an archive's folder touches it.
    EXPECT_NE(DeleteFolderTree(root + QStringLiteral("sub/")), 0);
    EXPECT_NE(DeleteFolderTree(root), 0);
    EXPECT_TRUE(QFileInfo::exists(theirs.fileName()));
    SetTempRoot(previous);
}
