#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/AdjustOption.h"
#include "settings/OptionFile.h"
#include "settings/OptionProfile.h"

namespace {

// Runs the profile functions on the test's option document, as the options
// sheet does around one save or load.
class OptionFileMode : public ::testing::Test {
protected:
    void SetUp() override { theProfileRoute.m_pOptionDoc = &m_profile; }
    void TearDown() override
    {
        theProfileRoute.m_bOptionFile = 0;
        theProfileRoute.m_pOptionDoc = nullptr;
    }

    void SaveToFile(const CAdjustOption& option, const QString& path)
    {
        m_doc.clear();
        theProfileRoute.m_bOptionFile = 1;
        option.Save();
        theProfileRoute.m_bOptionFile = 0;
        ASSERT_TRUE(SaveOptionFile(m_doc, path, m_error)) << m_error.toStdString();
    }

    CAdjustOption LoadFromFile(const QString& path, CAdjustOption option = CAdjustOption())
    {
        EXPECT_TRUE(LoadOptionFile(m_doc, path, m_error)) << m_error.toStdString();
        theProfileRoute.m_bOptionFile = 1;
        option.Load();
        theProfileRoute.m_bOptionFile = 0;
        m_doc.clear();
        return option;
    }

    QString WriteText(const QString& text)
    {
        const QString path = m_dir.filePath("hand.adjopt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("\xff\xfe");
        file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        return path;
    }

    QTemporaryDir m_dir;
    CSectionArray m_doc;
    COptionProfile m_profile{m_doc};
    QString m_error;
};

QString DefaultFileText()
{
    QString kinds[2];
    for (int k = 0; k < 2; ++k) {
        const QString n = QString::number(k);
        kinds[k] = "CutMargin" + n + "=0\r\nMgnCutRect" + n + "=05000000050000000500000005000000\r\n" + "MgnMinRect" +
                   n + "=00000000000000000000000000000000\r\n" + "MgnMaxRect" + n +
                   "=1e0000001e0000001e0000001e000000\r\n" + "MgnDefRect" + n +
                   "=0a0000000a0000000a0000000a000000\r\n" + "MgnAddRect" + n +
                   "=05000000050000000500000005000000\r\n" + "SpotDot" + n + "=5\r\nIgnoreShadow" + n +
                   "=0\r\nShadowClear" + n + "=0\r\n";
    }
    return "[OptionInfo]\r\nTextPage=1\r\nPictPage=1\r\nWritingDir=0\r\nLinePerPage=0\r\n"
           "BackBorder=230\r\nBackColor=16777215\r\nSlant0=0\r\nRotateAngle0=0000000000000000\r\n"
           "Slant1=0\r\nRotateAngle1=0000000000000000\r\n" +
           kinds[0] + kinds[1] +
           "Resize=0\r\nFixSize=2003000000050000\r\nKeepRate=1\r\nOnlySmall=1\r\nAdjustTextColor=0\r\n"
           "BrightText=0\r\nGrayText=0\r\nBackUnify=1\r\nAdjustPictColor=0\r\nBrightPict=100\r\n"
           "GrayPict=0\r\nSaveFormat=0\r\nSaveDepth=4\r\nSavePalette=1\r\nSaveQuality=70\r\n"
           "SaveDirType=1\r\nSaveSubDir=adj\r\nSaveAnyDir=\r\nOwPrompt=1\r\n\r\n";
}

}  // namespace

TEST_F(OptionFileMode, DefaultRecordFileHasTheKnownBytes)
{
    const QString path = m_dir.filePath("default.adjopt");
    SaveToFile(CAdjustOption(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xff\xfe"));
    const QString text(reinterpret_cast<const QChar*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    EXPECT_EQ(text, DefaultFileText());
    EXPECT_EQ(LoadFromFile(path).Compare(CAdjustOption()), 0);
}

TEST_F(OptionFileMode, FolderWithBackslashAndLineBreakRoundTrips)
{
    CAdjustOption option;
    option.SaveDirType = 2;
    option.SaveAnyDir = "/data/a\\b\nc\r\\n";
    option.SaveSubDir = "sub\\";
    option.RotateAngle[0] = 1.5;
    option.MgnMaxRect[1] = {40, 41, 42, 43};
    option.BackColor = 0x00ABCDEF;
    const QString path = m_dir.filePath("f.adjopt");
    SaveToFile(option, path);
    EXPECT_EQ(GetOptionString(m_doc, "OptionInfo", "SaveAnyDir", {}), option.SaveAnyDir);
    EXPECT_EQ(GetOptionString(m_doc, "OptionInfo", "SaveSubDir", {}), option.SaveSubDir);
    EXPECT_EQ(FindEntry(m_doc[0], "RotateAngle0", 0)->m_strValue, "000000000000f83f");

    const CAdjustOption loaded = LoadFromFile(path);
    EXPECT_EQ(loaded.SaveSubDir, "adj");  // a separator in a subfolder is refused on loading
    option.SaveSubDir = loaded.SaveSubDir;
    EXPECT_EQ(loaded.Compare(option), 0);
    EXPECT_EQ(loaded.SaveAnyDir, option.SaveAnyDir);
    EXPECT_EQ(loaded.RotateAngle[0], 1.5);
}

TEST_F(OptionFileMode, HandWrittenValuesAreCheckedLikeStoredOnes)
{
    CAdjustOption start;
    start.SaveQuality = 55;
    const CAdjustOption option =
        LoadFromFile(WriteText("[optioninfo]\r\nbackborder=x\r\nSaveDepth=abc\r\ntextpage=\r\nPictPage=12abc\r\n"
                               "SpotDot0= 7\r\nMgnCutRect0=050000000500000005000000\r\nLinePerPage =9\r\n"),
                     start);
    EXPECT_EQ(option.BackBorder, 0);
    EXPECT_EQ(option.SaveDepth, 4);
    EXPECT_EQ(option.TextPage, 0);
    EXPECT_EQ(option.PictPage, 12);
    EXPECT_EQ(option.SpotDot[0], 7);
    EXPECT_EQ(option.MgnCutRect[0].left, 5);  // 12 bytes: kept
    EXPECT_EQ(option.LinePerPage, 0);         // "LinePerPage " is another key
    EXPECT_EQ(option.SaveQuality, 55);        // missing: kept
}

TEST_F(OptionFileMode, FileWithOnlyTheMarkChangesNothing)
{
    CAdjustOption start;
    start.BrightPict = 250;
    EXPECT_EQ(LoadFromFile(WriteText(""), start).Compare(start), 0);
}

TEST_F(OptionFileMode, SubfolderTheSavePageRefusesIsIgnored)
{
    CAdjustOption start;
    start.SaveSubDir = QStringLiteral("mine");
    for (const QString& refused :
         {QStringLiteral("."), QStringLiteral(" .. "), QStringLiteral("../../x"), QStringLiteral("a/b"),
          QStringLiteral("/tmp/out"), QStringLiteral(" "), QStringLiteral("   "), QStringLiteral("\t")}) {
        const CAdjustOption option = LoadFromFile(WriteText("[OptionInfo]\r\nSaveSubDir=" + refused + "\r\n"), start);
        EXPECT_EQ(option.SaveSubDir, start.SaveSubDir) << refused.toStdString();
    }
}
