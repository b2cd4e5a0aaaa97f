#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "app/AboutDlg.h"
#include "app/AboutText.h"
#include "msgbox/ApplicationHelp.h"
#include "support/DialogFrame.h"

TEST(About, VersionLinesShowTheMinorPartWithTwoDigits)
{
    EXPECT_EQ(FormatArcLibLine("libunrar32.so", 512, "/opt/f/libunrar32.so"),
              QStringLiteral("libunrar32.so：Ver5.12 /opt/f/libunrar32.so\n"));
    EXPECT_EQ(FormatArcLibLine("libunzip32.so", 1005, "/x"), QStringLiteral("libunzip32.so：Ver10.05 /x\n"));
    EXPECT_EQ(GetArcLibLine("libnothing-here.so", "Nothing"), QStringLiteral("libnothing-here.so：なし\n"));
}

TEST(About, LongPathsWrapAfterTheirSeparatorsAndALongNameWithinItself)
{
    const auto chars = [](const QString& text) { return static_cast<int>(text.size()); };
    EXPECT_EQ(WrapAtSeparators("/opt/f/lib.so", 13, chars), QStringList{"/opt/f/lib.so"});
    EXPECT_EQ(WrapAtSeparators("/opt/folivane/lib/libunrar32.so", 14, chars),
              (QStringList{"/opt/folivane/", "lib/", "libunrar32.so"}));
    EXPECT_EQ(WrapAtSeparators("/a/abcdefghij", 4, chars), (QStringList{"/a/", "abcd", "efgh", "ij"}));
}

TEST(About, TheBoxShowsVersionFolderAndOneLinePerLibraryUnderACloseButtonOnly)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_TRUE(dialog.findChild<QLabel*>("1141")->text().startsWith(QStringLiteral("Folivane Ver ")));
    EXPECT_TRUE(dialog.findChild<QLabel*>("1004")->text().contains(GetProgramFolder()));
    EXPECT_TRUE(GetProgramFolder().endsWith(QLatin1Char('/')));
    const QStringList lines = dialog.findChild<QPlainTextEdit*>("1139")->toPlainText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("libunzip32.so：")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("libunrar32.so：")));
    EXPECT_TRUE(HasCloseButtonOnly(dialog));
}

TEST(About, TheFolderLinkOpensThroughTheProgramsOpener)
{
    QList<QUrl> opened;
    SetHelpOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    CAboutDlg dialog;
    dialog.show();
    QLabel* folder = dialog.m_btnInstallFolder;
    QTest::mouseClick(folder, Qt::LeftButton, {}, QPoint(3, folder->height() / 2));
    SetHelpOpener([](const QUrl&) { return true; });
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(GetProgramFolder())});
}
