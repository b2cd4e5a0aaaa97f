#include <gtest/gtest.h>

#include "common/Paths.h"
#include "common/TempRoot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
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

void WriteEmptyFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
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
    WriteEmptyFile(temp2.path() + QStringLiteral("/FolivaneTmp"));
    EXPECT_EQ(MakePrivateTempRoot(temp2.path()), PerUserName(temp2.path()));

    // Every name taken, and no home to make one in: the claim makes a fresh one.
    ASSERT_TRUE(QDir().rmdir(PerUserName(temp2.path())));
    WriteEmptyFile(PerUserName(temp2.path()).chopped(1));
    const QByteArray home = qgetenv("HOME");
    const auto restore = qScopeGuard([&] { qputenv("HOME", home); });
    qputenv("HOME", QFile::encodeName(temp2.path() + QStringLiteral("/FolivaneTmp")));
    const QString previous = GetTempRoot();
    SetTempRoot(MakePrivateTempRoot(temp2.path()));
    const QString claimed = ClaimTempRoot();
    EXPECT_TRUE(claimed.startsWith(temp2.path() + QStringLiteral("/FolivaneTmp-"))) << claimed.toStdString();
    EXPECT_EQ(DeleteFolderTree(claimed), 0);
    SetTempRoot(previous);
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
