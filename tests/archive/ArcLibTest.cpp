#include <gtest/gtest.h>

#include "archive/ArcLib.h"

TEST(ArcLib, ErrorMessages)
{
    EXPECT_EQ(CArcLib::GetErrorMessage(0x800A), QStringLiteral("[書庫]格納ファイルにパスワードがかかっています。"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x8005), QStringLiteral("[書庫]解凍する為のディスクの空きが足りません。"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x8012), QStringLiteral("[書庫]ディレクトリが作成できません。"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x801F), QStringLiteral("[書庫]既に別のプロセスからこのDLLが呼ばれています。"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x1234), QStringLiteral("[書庫]その他のエラーです。(0x1234)"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x8004), QStringLiteral("[書庫]その他のエラーです。(0x8004)"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x8020), QStringLiteral("[書庫]その他のエラーです。(0x8020)"));
    EXPECT_EQ(CArcLib::GetErrorMessage(0x801e), QStringLiteral("[書庫]グローバルメモリが不足しています。"));
}

TEST(ArcLib, LibraryWithoutVersionExportIsNotAvailable)
{
    // The test build writes such a library beside the test program.
    CArcLib library(QString::fromLatin1(kUnzipLibraryName), kUnzipCommandName);
    ASSERT_TRUE(library.Load());
    EXPECT_NE(library.GetProcs(), 0);
    EXPECT_NE(library.m_pfnCommand, nullptr);
    EXPECT_EQ(library.m_pfnGetVersion, nullptr);
    EXPECT_TRUE(library.GetModulePath().endsWith(QStringLiteral("/libunzip32.so")));
}

TEST(ArcLib, MissingLibraryIsNotAvailable)
{
    CArcLib library(QStringLiteral("libnothing-here32.so"), "Nothing");
    EXPECT_FALSE(library.Load());
    EXPECT_NE(library.GetProcs(), 0);
    EXPECT_TRUE(library.GetModulePath().isEmpty());
}

TEST(ArcLib, LoadsTheRarStandIn)
{
    CArcLib library(QStringLiteral(FOLIVANE_UNRAR_PATH), kUnrarCommandName);
    ASSERT_TRUE(library.Load());
    ASSERT_EQ(library.GetProcs(), 0);
    EXPECT_EQ(library.m_pfnGetVersion(), 100);
    EXPECT_EQ(library.GetModulePath(), QStringLiteral(FOLIVANE_UNRAR_PATH));
    EXPECT_EQ(library.m_pfnCommand(nullptr, "no command", nullptr, 0), 0x801C);
}
