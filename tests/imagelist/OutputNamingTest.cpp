#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "ListTestSupport.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "platform/FileName.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kQuestion = QStringLiteral("\r\nはすでに存在しています。上書きしてもよろしいですか？");

class OutputNamingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        out = dir.filePath(QStringLiteral("out"));
        option.SaveDirType = 2;
        option.SaveAnyDir = out;
        option.OwPrompt = 0;
    }

    // Entries need no files for naming.
    CImageInfo& Entry(const QString& path)
    {
        CImageInfo& info = AddEntry(list, dir.filePath(path));
        info.m_bPending = 1;
        return info;
    }

    QString Name(int index) const { return list.GetImageInfo(static_cast<size_t>(index))->m_strOutputName; }

    // Entries p0..p2 whose output files already exist.
    void ThreeExistingOutputs()
    {
        QDir().mkpath(out);
        for (int i = 0; i < 3; ++i) {
            Entry(QStringLiteral("p%1.png").arg(i));
            WritePage(out + QStringLiteral("/p%1.png").arg(i));
        }
        option.OwPrompt = 1;
    }

    QTemporaryDir dir;
    QString out;
    CAdjustOption option;
    CTestListCtrl list{option};
};

TEST_F(OutputNamingTest, OwnTitlesFirstThenNumbersFromTwo)
{
    Entry("x/a.jpg");
    Entry("y/a.jpg");
    Entry("z/a(2).jpg");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(0), "a.jpg");
    EXPECT_EQ(Name(1), "a(3).jpg");
    EXPECT_EQ(Name(2), "a(2).jpg");

    // The names stay for the next job; a new entry is numbered after them.
    Entry("w/a.jpg");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(1), "a(3).jpg");
    EXPECT_EQ(Name(3), "a(4).jpg");
}

TEST_F(OutputNamingTest, NamesAndFoldersClashIgnoringCase)
{
    option.SaveDirType = 1;
    option.SaveSubDir = QStringLiteral("adj");
    Entry("one/A.png");
    Entry("one/a.png");
    // Subfolders next to sources whose folders differ only in case share a list.
    Entry("Dir/p.png");
    Entry("DIR/P.png");
    Entry("other/p.png");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(0), "A.png");
    EXPECT_EQ(Name(1), "a(2).png");
    EXPECT_EQ(Name(2), "p.png");
    EXPECT_EQ(Name(3), "P(2).png");
    EXPECT_EQ(Name(4), "p.png");
}

TEST_F(OutputNamingTest, ExtensionFollowsTheSaveFormat)
{
    const CImageInfo& photo = Entry("Photo.JPG");
    const CImageInfo& scan = Entry("scan.tif");
    const CImageInfo& plain = Entry("noext");
    QString title;
    QString extension;
    list.MakeOutputFileName(photo, title, extension);
    EXPECT_EQ(title + extension, "Photo.JPG");
    list.MakeOutputFileName(scan, title, extension);
    EXPECT_EQ(title + extension, "scan.png");
    list.MakeOutputFileName(plain, title, extension);
    EXPECT_EQ(title + extension, "noext.png");

    option.SaveFormat = 1;
    list.MakeOutputFileName(photo, title, extension);
    EXPECT_EQ(title + extension, "Photo.jpg");
    list.MakeOutputFileName(scan, title, extension);
    EXPECT_EQ(title + extension, "scan.jpg");
    option.SaveFormat = 3;
    list.MakeOutputFileName(scan, title, extension);
    EXPECT_EQ(extension, ".bmp");
    option.SaveFormat = 9;
    list.MakeOutputFileName(scan, title, extension);
    EXPECT_TRUE(title.isEmpty() && extension.isEmpty());
}

TEST_F(OutputNamingTest, PercentSignsInTitlesAreKept)
{
    Entry("a/%1%2.png");
    Entry("b/%1%2.png");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(1), "%1%2(2).png");
}

TEST_F(OutputNamingTest, LongTitlesAreShortenedToFitAFileNameKeepingNumberAndExtension)
{
    // A file name takes at most 255 bytes of UTF-8; titles are cut at whole characters.
    const QString ascii(251, QLatin1Char('t'));
    const QString kana(85, QChar(0x30DA));                                     // 3 bytes each
    const QString faces = QString::fromUtf8("\xf0\x9f\x98\x80").repeated(63);  // 4 bytes, a surrogate pair each
    for (const QString& title : {ascii, ascii, QString(252, QLatin1Char('u')), kana, kana, faces, faces}) {
        Entry(QStringLiteral("%1/%2.png").arg(list.GetItemCount()).arg(title));
    }
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(0), ascii + ".png");
    EXPECT_EQ(Name(1), QString(248, QLatin1Char('t')) + "(2).png");
    EXPECT_EQ(Name(2), QString(251, QLatin1Char('u')) + ".png");
    EXPECT_EQ(Name(3), kana.left(83) + ".png");
    EXPECT_EQ(Name(4), kana.left(82) + "(2).png");
    EXPECT_EQ(Name(5), faces.left(2 * 62) + ".png");
    EXPECT_EQ(Name(6), faces.left(2 * 62) + "(2).png");
}

TEST_F(OutputNamingTest, FailedEntriesGetNoNameAndRemovalFreesOne)
{
    Entry("a/p.png").m_bLoadFailed = 1;
    Entry("b/p.png");
    Entry("c/p.png");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_TRUE(Name(0).isEmpty());
    EXPECT_EQ(Name(1), "p.png");
    EXPECT_EQ(Name(2), "p(2).png");

    Entry("e/p.png");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(3), "p(3).png");
    list.UpdateFileCount();
    list.RemoveItem(2);  // p(2).png
    list.RemoveItem(1);
    Entry("d/P.png");
    Entry("f/p.png");
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(2), "P.png");
    EXPECT_EQ(Name(3), "p(2).png");

    list.ClearOutputNames();
    EXPECT_TRUE(Name(1).isEmpty());
    // The names given are forgotten too: the first entry takes "p.png" again.
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(Name(1), "p.png");
}

TEST_F(OutputNamingTest, QuestionOffersAllButtonsWhileALaterEntryIsToDo)
{
    ThreeExistingOutputs();
    Entry("new.png");  // to do, but its file does not exist
    EXPECT_TRUE(list.PrepareSave());
    ASSERT_EQ(list.overwriteQuestions.size(), 3u);
    EXPECT_EQ(list.overwriteQuestions[0].first, out + "/p0.png" + kQuestion);
    EXPECT_EQ(list.overwriteQuestions[0].second, 0x18000023u);
    EXPECT_EQ(list.overwriteQuestions[2].second, 0x18000023u);

    list.overwriteQuestions.clear();
    list.GetImageInfo(list.GetItemCount() - 1)->m_bPending = 0;
    EXPECT_TRUE(list.PrepareSave());
    ASSERT_EQ(list.overwriteQuestions.size(), 3u);
    EXPECT_EQ(list.overwriteQuestions[1].second, 0x18000023u);
    EXPECT_EQ(list.overwriteQuestions[2].second, 0x23u);
}

TEST_F(OutputNamingTest, AnOutputWhoseNameIsNoUtf8IsAskedAboutBeforeItIsOverwritten)
{
    const QString title = DecodeFileName("caf\xe9.png");
    Entry(title);
    option.OwPrompt = 1;
    QDir().mkpath(out);
    const QByteArray output = EncodeFileName(out + QLatin1Char('/') + title);
    const int file = open(output.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(file, 0);
    close(file);
    list.overwriteAnswers = {IDNO};
    EXPECT_TRUE(list.PrepareSave());
    ASSERT_EQ(list.overwriteQuestions.size(), 1u);
    EXPECT_EQ(list.overwriteQuestions[0].first, out + QLatin1Char('/') + title + kQuestion);
    EXPECT_FALSE(list.GetImageInfo(0)->m_bPending);
    unlink(output.constData());  // a name QTemporaryDir cannot remove
}

TEST_F(OutputNamingTest, AnswersYesAndNo)
{
    ThreeExistingOutputs();
    list.overwriteAnswers = {IDYES, IDNO, 42};
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(list.overwriteQuestions.size(), 3u);
    EXPECT_TRUE(list.GetImageInfo(0)->m_bPending);
    EXPECT_FALSE(list.GetImageInfo(1)->m_bPending);
    EXPECT_TRUE(list.GetImageInfo(2)->m_bPending);  // an unknown answer counts as Yes
}

TEST_F(OutputNamingTest, YesToAllAsksNoMore)
{
    ThreeExistingOutputs();
    list.overwriteAnswers = {IDNO, IDYESTOALL};
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(list.overwriteQuestions.size(), 2u);
    EXPECT_FALSE(list.GetImageInfo(0)->m_bPending);
    EXPECT_TRUE(list.GetImageInfo(1)->m_bPending);
    EXPECT_TRUE(list.GetImageInfo(2)->m_bPending);
}

TEST_F(OutputNamingTest, NoToAllClearsEveryExistingOneWithoutAsking)
{
    ThreeExistingOutputs();
    Entry("new.png");
    list.overwriteAnswers = {IDNOTOALL};
    EXPECT_TRUE(list.PrepareSave());
    EXPECT_EQ(list.overwriteQuestions.size(), 1u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(list.GetImageInfo(static_cast<size_t>(i))->m_bPending) << i;
    }
    EXPECT_TRUE(list.GetImageInfo(3)->m_bPending);
}

TEST_F(OutputNamingTest, CancelKeepsEarlierAnswers)
{
    ThreeExistingOutputs();
    list.overwriteAnswers = {IDNO, IDCANCEL};
    EXPECT_FALSE(list.PrepareSave());
    EXPECT_EQ(list.overwriteQuestions.size(), 2u);
    EXPECT_FALSE(list.GetImageInfo(0)->m_bPending);
    EXPECT_TRUE(list.GetImageInfo(1)->m_bPending);
    EXPECT_TRUE(list.GetImageInfo(2)->m_bPending);
}

}  // namespace
