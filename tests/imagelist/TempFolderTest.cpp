#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "IntakeTestSupport.h"
#include "archive/ZipTestArchive.h"
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
