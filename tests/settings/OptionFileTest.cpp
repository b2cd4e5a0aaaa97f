#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <cerrno>

#include "settings/OptionFile.h"

namespace {

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

class OptionFile : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    QString WriteRaw(const QByteArray& bytes)
    {
        const QString path = PathOf("in.adjopt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // Loads the text written as UTF-16LE after the mark.
    BOOL Load(const QString& text) { return LoadOptionFile(m_doc, WriteRaw("\xff\xfe" + Utf16(text)), m_error); }

    QTemporaryDir m_dir;
    CSectionArray m_doc;
    QString m_error;
};

}  // namespace

TEST_F(OptionFile, MarkAloneGivesAnEmptyDocument)
{
    m_doc.append(CSection{"old", {}});
    EXPECT_TRUE(LoadOptionFile(m_doc, WriteRaw("\xff\xfe"), m_error));
    EXPECT_TRUE(m_doc.isEmpty());
}

TEST_F(OptionFile, WithoutTheMarkFailsWithTheBomText)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\xff"), QByteArray("\xfe\xff[a]\r\n"),
                                    QByteArray("\xef\xbb\xbf[OptionInfo]\r\nTextPage=1\r\n")}) {
        m_doc.append(CSection{"old", {}});
        m_error.clear();
        EXPECT_FALSE(LoadOptionFile(m_doc, WriteRaw(bytes), m_error));
        EXPECT_EQ(m_error, "ファイル内容が正しくありません(bom)");
        EXPECT_TRUE(m_doc.isEmpty());
    }
}

TEST_F(OptionFile, LayoutIsForgivingButKeysAreTakenAsWritten)
{
    ASSERT_TRUE(Load("\r\n  [OptionInfo]\rBackBorder =7\n\t  TextPage= 0 \r\n\r\n[B]\nx=\n"));
    ASSERT_EQ(m_doc.size(), 2);
    ASSERT_EQ(m_doc[0].m_entries.size(), 2);
    EXPECT_EQ(m_doc[0].m_entries[0].m_strKey, "BackBorder ");
    EXPECT_EQ(m_doc[0].m_entries[1].m_strKey, "TextPage");
    EXPECT_EQ(m_doc[0].m_entries[1].m_strValue, " 0 ");
    EXPECT_EQ(m_doc[1].m_entries[0].m_strValue, "");
}

TEST_F(OptionFile, FaultsGiveTheirTextsAndKeepCompletedSections)
{
    EXPECT_FALSE(Load("[A]\r\nk=v\r\n[B]\r\nno equals\r\n"));
    EXPECT_EQ(m_error, "ファイル内容が正しくありません(entry)");
    ASSERT_EQ(m_doc.size(), 1);
    EXPECT_EQ(m_doc[0].m_strName, "A");

    EXPECT_FALSE(Load("k=v\r\n"));
    EXPECT_EQ(m_error, "ファイル内容が正しくありません(section)");
    EXPECT_FALSE(Load("[A]\r\nk=v\r\n[B\r\nx=y\r\n"));
    EXPECT_EQ(m_error, "ファイル内容が正しくありません(section)");
    EXPECT_EQ(m_doc.size(), 1);
    EXPECT_FALSE(Load("[A] junk\r\n"));
    EXPECT_EQ(m_error, "ファイル内容が正しくありません(entry)");
}

TEST_F(OptionFile, SectionEndsAndNamesAcrossLines)
{
    // "=value" ends the section; the next line must then be a header.
    ASSERT_TRUE(Load("[A]\r\na=1\r\n=dropped\r\n[B]\r\nb=2\r\n"));
    ASSERT_EQ(m_doc.size(), 2);
    EXPECT_EQ(m_doc[0].m_entries.size(), 1);

    // "[]" ends the document; its own entries are still parsed.
    ASSERT_TRUE(Load("[A]\r\n[]\r\nx=1\r\n[C]\r\n"));
    EXPECT_EQ(m_doc.size(), 1);
    EXPECT_FALSE(Load("[A]\r\n[]\r\nbad\r\n"));

    ASSERT_TRUE(Load("[two\r\nlines]\r\nk=v\r\n"));
    EXPECT_EQ(m_doc[0].m_strName, "two\r\nlines");
}

TEST_F(OptionFile, NulEndsTheText)
{
    ASSERT_TRUE(Load(QString("[A]\r\nk=v") + QChar(0) + "garbage without equals"));
    ASSERT_EQ(m_doc.size(), 1);
    EXPECT_EQ(m_doc[0].m_entries[0].m_strValue, "v");
}

TEST_F(OptionFile, OddLengthLongLinesAndUnreadableFiles)
{
    QByteArray bytes = "\xff\xfe" + Utf16("[A]\r\nk=" + QString(100000, u'x'));
    bytes.append('\x41');  // half a character
    ASSERT_TRUE(LoadOptionFile(m_doc, WriteRaw(bytes), m_error));
    EXPECT_EQ(m_doc[0].m_entries[0].m_strValue.size(), 100000);

    EXPECT_FALSE(LoadOptionFile(m_doc, PathOf("missing.adjopt"), m_error));
    EXPECT_TRUE(m_error.startsWith("load error\n")) << m_error.toStdString();
    EXPECT_TRUE(m_error.endsWith("(2)")) << m_error.toStdString();
    // Far larger than any option file: refused before anything is read. Up
    // to a megabyte is read (the padding NULs end the text).
    const QString huge = WriteRaw("\xff\xfe" + Utf16("[A]\r\nk=v\r\n"));
    ASSERT_TRUE(QFile::resize(huge, 1024 * 1024));
    ASSERT_TRUE(LoadOptionFile(m_doc, huge, m_error));
    EXPECT_EQ(m_doc.size(), 1);
    ASSERT_TRUE(QFile::resize(huge, 1024 * 1024 + 1));
    EXPECT_FALSE(LoadOptionFile(m_doc, huge, m_error));
    EXPECT_TRUE(m_error.startsWith("load error\n"));
    EXPECT_TRUE(m_error.endsWith(QString("(%1)").arg(EFBIG))) << m_error.toStdString();

    EXPECT_FALSE(LoadOptionFile(m_doc, m_dir.path(), m_error));
    EXPECT_TRUE(m_error.startsWith("load error\n"));
    EXPECT_TRUE(m_doc.isEmpty());
}

TEST_F(OptionFile, SaveWritesTheFormatAndReadsBack)
{
    CSectionArray doc{{"S1", {{"a", "1"}, {"b", ""}}}, {"Empty", {}}};
    const QString path = PathOf("new/sub/out.adjopt");  // folders made on the way
    ASSERT_TRUE(SaveOptionFile(doc, path, m_error)) << m_error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\xff\xfe" + Utf16("[S1]\r\na=1\r\nb=\r\n\r\n[Empty]\r\n\r\n"));
    file.close();

    ASSERT_TRUE(LoadOptionFile(m_doc, path, m_error));
    ASSERT_EQ(m_doc.size(), 2);
    EXPECT_EQ(m_doc[0].m_entries[1].m_strKey, "b");
    EXPECT_EQ(m_doc[1].m_strName, "Empty");

    // Saving again replaces the file.
    ASSERT_TRUE(SaveOptionFile(CSectionArray{{"X", {}}}, path, m_error));
    ASSERT_TRUE(LoadOptionFile(m_doc, path, m_error));
    EXPECT_EQ(m_doc.size(), 1);
}

TEST_F(OptionFile, SaveFailures)
{
    const QString readOnly = PathOf("ro.adjopt");
    ASSERT_TRUE(SaveOptionFile({}, readOnly, m_error));
    ASSERT_EQ(chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    EXPECT_FALSE(SaveOptionFile({}, readOnly, m_error));
    EXPECT_TRUE(m_error.startsWith("del file error\n")) << m_error.toStdString();
    EXPECT_TRUE(m_error.endsWith("(13)\n" + readOnly)) << m_error.toStdString();
    EXPECT_TRUE(QFile::exists(readOnly));

    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
    EXPECT_FALSE(SaveOptionFile({}, PathOf("folder"), m_error));
    EXPECT_TRUE(m_error.startsWith("del file error\n")) << m_error.toStdString();
    EXPECT_TRUE(QDir(PathOf("folder")).exists());

    // A file stands where a folder of the path should be.
    EXPECT_FALSE(SaveOptionFile({}, readOnly + "/sub/x.adjopt", m_error));
    EXPECT_EQ(m_error, "create dir error\n" + m_error.section('\n', 1, 1) + '\n' + readOnly + "/sub/");
}

TEST(OptionFileWriter, FailedWriteThrows)
{
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_ANY_THROW(WriteEntry(CEntry{"k", "v"}, buffer));
}

TEST_F(OptionFile, FailedSaveLeavesNoHalfFileAndKeepsTheOldOne)
{
    const QString path = PathOf("big.adjopt");
    ASSERT_TRUE(SaveOptionFile({{"Old", {}}}, path, m_error));
    CSectionArray doc{CSection{"OptionInfo", {CEntry{"SaveAnyDir", QString(4096, u'x')}}}};
    // A file size limit makes the write fail part way, as a full disk does.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL saved = SaveOptionFile(doc, path, m_error);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(m_error.startsWith("save error\n" + path + ": ")) << m_error.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"big.adjopt"});
    ASSERT_TRUE(LoadOptionFile(m_doc, path, m_error));
    ASSERT_EQ(m_doc.size(), 1);
    EXPECT_EQ(m_doc[0].m_strName, "Old");
}
