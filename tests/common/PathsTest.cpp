#include <gtest/gtest.h>

#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

void WriteFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
}

// Swaps two names once, from a signal handler.
struct CSwap {
    QByteArray from;
    QByteArray to;
    volatile sig_atomic_t done;
};
CSwap g_swap;

void SwapOnce(int)
{
    if (!g_swap.done) {
        g_swap.done = 1;
        renameat2(AT_FDCWD, g_swap.from.constData(), AT_FDCWD, g_swap.to.constData(), RENAME_EXCHANGE);
    }
}

}  // namespace

TEST(Paths, AddBackslash)
{
    QString path = QStringLiteral("/a");
    AddBackslash(path);
    EXPECT_EQ(path, QStringLiteral("/a/"));
    AddBackslash(path);
    EXPECT_EQ(path, QStringLiteral("/a/"));
    QString empty;
    AddBackslash(empty);
    EXPECT_EQ(empty, QStringLiteral("/"));
}

TEST(Paths, FolderAndTitleParts)
{
    EXPECT_EQ(GetFolderPart(QStringLiteral("/a/b.png")), QStringLiteral("/a/"));
    EXPECT_EQ(GetFolderPart(QStringLiteral("b.png")), QString());
    EXPECT_EQ(GetFolderPart(QStringLiteral("/a/b/")), QStringLiteral("/a/"));
    EXPECT_EQ(GetFolderPart(QStringLiteral("/a/b//")), QStringLiteral("/a/"));
    EXPECT_EQ(GetFolderPart(QStringLiteral("/")), QString());

    EXPECT_EQ(GetFileTitlePart(QStringLiteral("/a/b.c.png")), QStringLiteral("b.c"));
    EXPECT_EQ(GetFileTitlePart(QStringLiteral("/a/readme")), QStringLiteral("readme"));
    EXPECT_EQ(GetFileTitlePart(QStringLiteral("/a/x.my file")), QStringLiteral("x.my file"));
    EXPECT_EQ(GetFileTitlePart(QStringLiteral("/a.d/readme")), QStringLiteral("readme"));
    EXPECT_EQ(GetFileTitlePart(QStringLiteral("ページ.jpg")), QStringLiteral("ページ"));

    EXPECT_EQ(GetExtensionPart(QStringLiteral("/a/b.c.JPG")), QStringLiteral(".JPG"));
    EXPECT_EQ(GetExtensionPart(QStringLiteral("/a.d/readme")), QString());
    EXPECT_EQ(GetExtensionPart(QStringLiteral("/a/x.my file")), QString());
}

TEST(Paths, ValidFileNames)
{
    EXPECT_TRUE(IsValidFileName(QStringLiteral("adj")));
    EXPECT_TRUE(IsValidFileName(QString()));
    EXPECT_TRUE(IsValidFileName(QStringLiteral("調整 済み.1")));
    EXPECT_TRUE(IsValidFileName(QStringLiteral("...")));
    for (const char* bad : {"a/b", "a:b", "a?", "a\tb", "a\\b", "<", ">", "\"", "|", "*", ".", ".."}) {
        EXPECT_FALSE(IsValidFileName(QString::fromLatin1(bad))) << bad;
    }
}

TEST(Paths, CreateFolderPath)
{
    QTemporaryDir root;
    const QString base = root.path() + QLatin1Char('/');
    EXPECT_EQ(CreateFolderPath(root.path()), 0);

    EXPECT_EQ(CreateFolderPath(base + QStringLiteral("x/y/z/")), 0);
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("x/y/z")).isDir());
    EXPECT_EQ(CreateFolderPath(base + QStringLiteral("x/y/z")), 0);

    WriteFile(base + QStringLiteral("file"));
    EXPECT_EQ(CreateFolderPath(base + QStringLiteral("file")), ENOTDIR);
    EXPECT_EQ(CreateFolderPath(base + QStringLiteral("file/sub/deeper")), ENOTDIR);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("file/sub")));

    EXPECT_EQ(CreateFolderPath(QStringLiteral("relative-name-only")), ENOENT);
}

TEST(Paths, CreateFolderPathReportsTheFailingCreationAndKeepsParents)
{
    QTemporaryDir root;
    const QString parent = root.path() + QStringLiteral("/made");
    EXPECT_EQ(CreateFolderPath(parent + QLatin1Char('/') + QString(300, QLatin1Char('n')) + QStringLiteral("/x")),
              ENAMETOOLONG);
    EXPECT_TRUE(QFileInfo(parent).isDir());
}

TEST(Paths, DeleteFolderTree)
{
    QTemporaryDir root;
    const QString tree = root.path() + QStringLiteral("/tree");
    EXPECT_EQ(DeleteFolderTree(tree), 0);  // missing

    ASSERT_EQ(CreateFolderPath(tree + QStringLiteral("/s/t/u")), 0);
    WriteFile(tree + QStringLiteral("/a"));
    WriteFile(tree + QStringLiteral("/.hidden"));
    WriteFile(tree + QStringLiteral("/s/t/u/deep"));
    EXPECT_EQ(DeleteFolderTree(tree), 0);
    EXPECT_FALSE(QFileInfo::exists(tree));

    EXPECT_EQ(DeleteFolderTree(root.path() + QStringLiteral("/") + QString(5000, QLatin1Char('n'))), 0);
}

TEST(Paths, DeleteFolderTreeLeavesLinkTargetsAlone)
{
    QTemporaryDir root;
    const QString outside = root.path() + QStringLiteral("/outside");
    const QString tree = root.path() + QStringLiteral("/tree");
    ASSERT_EQ(CreateFolderPath(outside), 0);
    ASSERT_EQ(CreateFolderPath(tree), 0);
    WriteFile(outside + QStringLiteral("/keep"));
    ASSERT_TRUE(QFile::link(outside, tree + QStringLiteral("/link")));

    EXPECT_EQ(DeleteFolderTree(tree), 0);
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep")));

    const QString linkRoot = root.path() + QStringLiteral("/linkroot");
    ASSERT_TRUE(QFile::link(outside, linkRoot));
    // Also when named as a folder, as the callers do.
    for (const char* ending : {"", "/", "//"}) {
        EXPECT_EQ(DeleteFolderTree(linkRoot + QLatin1String(ending)), ENOTDIR);
    }
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep")));
}

TEST(Paths, DeleteFolderTreeNeverFollowsAFolderSwappedForALinkWhileItWalks)
{
    QTemporaryDir root;
    const QString outside = root.path() + QStringLiteral("/outside");
    const QString tree = root.path() + QStringLiteral("/tree");
    ASSERT_EQ(CreateFolderPath(outside), 0);
    WriteFile(outside + QStringLiteral("/keep"));
    ASSERT_EQ(CreateFolderPath(tree + QStringLiteral("/a")), 0);
    ASSERT_EQ(CreateFolderPath(tree + QStringLiteral("/b")), 0);
    WriteFile(tree + QStringLiteral("/a/1"));
    WriteFile(tree + QStringLiteral("/a/2"));
    const QString link = root.path() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(outside, link));

    // While the walk deletes in "a", after it has seen "b" as a folder, "b"
    // becomes a link to the outside folder in one step: the kernel signals
    // this thread as it deletes in "a", between two steps of the walk.
    g_swap = {QFile::encodeName(link), QFile::encodeName(tree + QStringLiteral("/b")), 0};
    struct sigaction swap {};
    struct sigaction previous {};
    swap.sa_handler = SwapOnce;
    ASSERT_EQ(sigaction(SIGIO, &swap, &previous), 0);
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(tree + QStringLiteral("/a")).constData(), IN_DELETE), 0);
    const f_owner_ex self{F_OWNER_TID, gettid()};
    ASSERT_EQ(fcntl(watch, F_SETOWN_EX, &self), 0);
    ASSERT_EQ(fcntl(watch, F_SETFL, O_ASYNC), 0);
    DeleteFolderTree(tree);
    close(watch);
    sigaction(SIGIO, &previous, nullptr);
    EXPECT_TRUE(g_swap.done);
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep")));
}

TEST(Paths, DeleteFolderTreeStaysOnItsOwnFileSystem)
{
    QTemporaryDir root;
    const QString outside = root.path() + QStringLiteral("/outside");
    const QString tree = root.path() + QStringLiteral("/tree");
    const QByteArray bound = QFile::encodeName(tree + QStringLiteral("/a/bound"));
    const QByteArray memory = QFile::encodeName(tree + QStringLiteral("/b/memory"));
    ASSERT_EQ(CreateFolderPath(outside), 0);
    ASSERT_EQ(CreateFolderPath(QFile::decodeName(bound)), 0);
    ASSERT_EQ(CreateFolderPath(QFile::decodeName(memory)), 0);
    WriteFile(outside + QStringLiteral("/keep"));
    WriteFile(tree + QStringLiteral("/a/own"));
    WriteFile(tree + QStringLiteral("/c"));
    // A bind mount of a folder on the same file system, and a file system of its own.
    if (mount(QFile::encodeName(outside).constData(), bound.constData(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "needs to mount";
    const auto unmount = qScopeGuard([&] {
        umount2(bound.constData(), MNT_DETACH);
        umount2(memory.constData(), MNT_DETACH);
    });
    ASSERT_EQ(mount("none", memory.constData(), "tmpfs", 0, nullptr), 0);
    WriteFile(QFile::decodeName(memory) + QStringLiteral("/kept"));

    // Neither mount is entered or removed; all else goes, the folders that hold them stay.
    EXPECT_EQ(DeleteFolderTree(tree), ENOTEMPTY);
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep")));
    EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(memory) + QStringLiteral("/kept")));
    EXPECT_FALSE(QFileInfo::exists(tree + QStringLiteral("/a/own")));
    EXPECT_FALSE(QFileInfo::exists(tree + QStringLiteral("/c")));
}

TEST(Paths, ListFilesRecursiveListsOwnFilesFirst)
{
    QTemporaryDir root;
    const QString base = root.path() + QLatin1Char('/');
    ASSERT_EQ(CreateFolderPath(base + QStringLiteral("s/r")), 0);
    WriteFile(base + QStringLiteral("b"));
    WriteFile(base + QStringLiteral("a"));
    WriteFile(base + QStringLiteral("s/c"));
    WriteFile(base + QStringLiteral("s/r/d"));
    ASSERT_TRUE(QFile::link(base + QStringLiteral("s"), base + QStringLiteral("s/r/loop")));

    QStringList list{QStringLiteral("kept")};
    ListFilesRecursive(base, list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("kept"), base + QStringLiteral("a"), base + QStringLiteral("b"),
                                 base + QStringLiteral("s/c"), base + QStringLiteral("s/r/d")}));

    QStringList none;
    ListFilesRecursive(base + QStringLiteral("missing/"), none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Paths, ListFolderGivesLinksAsNoFolders)
{
    QTemporaryDir root;
    const QString base = root.path() + QLatin1Char('/');
    ASSERT_EQ(CreateFolderPath(base + QStringLiteral("s")), 0);
    WriteFile(base + QStringLiteral("b"));
    ASSERT_TRUE(QFile::link(base, base + QStringLiteral("a")));

    const std::vector<FolderItem> items = ListFolder(base);
    ASSERT_EQ(items.size(), 3U);
    EXPECT_EQ(items[0].path, base + QStringLiteral("a"));
    EXPECT_FALSE(items[0].isFolder);
    EXPECT_FALSE(items[1].isFolder);
    EXPECT_EQ(items[2].path, base + QStringLiteral("s"));
    EXPECT_TRUE(items[2].isFolder);
    EXPECT_TRUE(ListFolder(base + QStringLiteral("missing")).empty());
}
