#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>

#include "AppTestSupport.h"
#include "app/MainFrame.h"
#include "app/ProfileFile.h"
#include "app/TerminationSignals.h"
#include "common/ErrorText.h"
#include "platform/GdiplusStatus.h"
#include "platform/ImageEncoder.h"
#include "res/StringTable.h"
#include "settings/OptionFile.h"

namespace {

class FolivaneApp : public ::testing::Test {
protected:
    void SetUp() override { ClearUserSettings(); }
    void TearDown() override
    {
        m_app.m_bOptionFile = 0;
        ClearUserSettings();
    }

    // Runs fn in option-file mode, as the options sheet does around one load or save.
    template <class Fn>
    auto InOptionFileMode(Fn fn)
    {
        m_app.m_bOptionFile = 1;
        auto result = fn();
        m_app.m_bOptionFile = 0;
        return result;
    }

    CTestApp m_app;
};

}  // namespace

TEST_F(FolivaneApp, OptionFileModeReadsAndWritesTheOptionDocument)
{
    EXPECT_EQ(InOptionFileMode([] { return GetProfileInt("OptionInfo", "Missing", 5); }), 5);
    EXPECT_TRUE(InOptionFileMode([] { return WriteProfileInt("OptionInfo", "Lines", 7); }));
    ASSERT_EQ(m_app.m_optionDoc.size(), 1);
    EXPECT_EQ(m_app.m_optionDoc[0].m_strName, QStringLiteral("OptionInfo"));
    EXPECT_TRUE(InOptionFileMode([] { return WriteProfileString("optioninfo", "Text", "12abc"); }));
    EXPECT_EQ(InOptionFileMode([] { return GetProfileInt("OPTIONINFO", "text", 0); }), 12);
    // The user's settings file saw none of it.
    EXPECT_TRUE(UserSettings().allKeys().isEmpty());
    EXPECT_EQ(GetProfileInt("OptionInfo", "Lines", -1), -1);
}

TEST_F(FolivaneApp, ColumnInfoIsReadWhenStored)
{
    QByteArray stream("old");
    EXPECT_FALSE(m_app.LoadColumnInfo(stream));
    EXPECT_TRUE(stream.isEmpty());
    WriteProfileBinary(QString(), "ColumnInfo", QByteArray("\1\0\0\0", 4));
    EXPECT_TRUE(m_app.LoadColumnInfo(stream));
    EXPECT_EQ(stream, QByteArray("\1\0\0\0", 4));
}

TEST_F(FolivaneApp, ClearRecentItemsRemovesTheGroupOnlyWithTheRegistryNamesSet)
{
    WriteProfileString("RecentItems", "0", "/a");
    WriteProfileInt(QString(), "ThumbSize", 1);
    m_app.ClearRecentItems();
    EXPECT_EQ(GetProfileString("RecentItems", "0"), QStringLiteral("/a"));
    m_app.m_pszRegistryKey = QStringLiteral("Quenrick");
    m_app.m_pszProfileName = QStringLiteral("Folivane");
    m_app.ClearRecentItems();
    EXPECT_FALSE(UserSettings().childGroups().contains(QStringLiteral("RecentItems")));
    EXPECT_EQ(GetProfileInt(QString(), "ThumbSize", 0), 1);
    EXPECT_EQ(m_app.GetAppRegistryPath(), QStringLiteral("Software/Quenrick/Folivane"));
}

TEST_F(FolivaneApp, FontsAreMadeOnceAndTheBoldOneIsFourteenPoints)
{
    const QFont& bold = m_app.GetBoldFont();
    EXPECT_EQ(&bold, &m_app.GetBoldFont());
    EXPECT_EQ(bold.pointSize(), 14);
    EXPECT_TRUE(bold.bold());
    EXPECT_EQ(&m_app.GetStatusFont(), &m_app.GetStatusFont());
}

TEST_F(FolivaneApp, StartUpLoadsTheSettingsAndShowsTheFrame)
{
    WriteProfileInt("OptionInfo", "SaveQuality", 44);
    WriteProfileInt(QString(), "DebugOn", 1);
    QTemporaryDir instance;
    m_app.m_strInstanceFolder = instance.path();
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_TRUE(m_app.m_messages.isEmpty());
    EXPECT_EQ(m_app.m_option.SaveQuality, 44);
    EXPECT_EQ(m_app.m_bDebugOn, 1);
    EXPECT_TRUE(m_app.m_strTempRoot.endsWith(QLatin1Char('/')));
    ASSERT_TRUE(m_app.m_pMainWnd);
    EXPECT_TRUE(m_app.m_pMainWnd->isVisible());
    EXPECT_EQ(m_app.m_pMainWnd->windowTitle(), QStringLiteral("Folivane"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("Quenrick.Folivane.NoVersion"));
    EXPECT_TRUE(m_app.OnCmdMsg(ID_APP_ABOUT));
    EXPECT_EQ(m_app.m_nAboutRuns, 1);
    EXPECT_EQ(m_app.ExitInstance(), 0);
    EXPECT_FALSE(m_app.m_hMutex);
}

TEST_F(FolivaneApp, OnAJapaneseDesktopTheToolkitsOwnButtonsAreJapanese)
{
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTemporaryDir instance;
    m_app.m_strInstanceFolder = instance.path();
    ASSERT_TRUE(m_app.InitInstance());
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    EXPECT_TRUE(yes.contains(QStringLiteral("はい"))) << yes.toStdString();
    m_app.ExitInstance();
    QLocale::setDefault(system);
}

TEST_F(FolivaneApp, AMalformedSettingsFileIsSetAsideAndTheDefaultsAreUsed)
{
    const QString name = GetProfileFileName();
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[OptionInfo]\nSaveQuality=5\n[broken\n\x01\x02=\xff\n");
    file.close();
    EXPECT_EQ(SetAsideBrokenProfile(name), name + QStringLiteral(".broken"));
    EXPECT_FALSE(QFile::exists(name));
    CAdjustOption option;
    option.Load();
    EXPECT_EQ(option.SaveQuality, CAdjustOption().SaveQuality);
    QFile::remove(name + QStringLiteral(".broken"));
    EXPECT_EQ(SetAsideBrokenProfile(name), QString());  // absent: nothing to do
}

TEST_F(FolivaneApp, BrokenSettingsFilesKeepEarlierBackupsAndABinaryOneIsBrokenToo)
{
    const QString name = GetProfileFileName();
    QDir().mkpath(QFileInfo(name).path());
    const auto write = [&name](const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const QByteArray binary("\x00\x01\xff\xfe binary\x00", 13);
    QStringList asides;
    for (const QByteArray& bytes : {QByteArray("[broken\n"), binary}) {
        write(bytes);
        asides.append(SetAsideBrokenProfile(name));
        EXPECT_FALSE(QFile::exists(name));
    }
    ASSERT_EQ(asides.size(), 2);
    EXPECT_NE(asides[0], asides[1]);
    for (const QString& aside : asides) {
        EXPECT_TRUE(aside.startsWith(name + QStringLiteral(".broken"))) << aside.toStdString();
        EXPECT_TRUE(QFile::remove(aside));
    }

    // Written over, it is no failure to write.
    write(binary);
    const int before = GetProfileWriteFailures();
    EXPECT_TRUE(WriteProfileInt(QString(), "ThumbSize", 1));
    EXPECT_EQ(GetProfileWriteFailures(), before);
    EXPECT_EQ(GetProfileInt(QString(), "ThumbSize", 0), 1);
    QFile::remove(name);
}

TEST_F(FolivaneApp, AnUnreadableSettingsFileIsSetAside)
{
    const QString name = GetProfileFileName();
    ASSERT_TRUE(QDir().mkpath(name));  // a folder where the file should be
    EXPECT_EQ(SetAsideBrokenProfile(name), name + QStringLiteral(".broken"));
    QDir(name + QStringLiteral(".broken")).removeRecursively();
}

TEST_F(FolivaneApp, SettingsThatCannotBeWrittenAreCountedAndTheProgramGoesOn)
{
    const QString original = QFileInfo(QFileInfo(GetProfileFileName()).path()).path();
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker.fileName());
    const int before = GetProfileWriteFailures();
    CAdjustOption().Save();
    EXPECT_GT(GetProfileWriteFailures(), before);
    ReportUnsavedProfile(before);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, original);
}

TEST_F(FolivaneApp, AFifoIsSetAsideUnreadAndAFileWithAByteOrderMarkIsRead)
{
    const QString name = GetProfileFileName();
    const QString aside = name + QStringLiteral(".broken");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(name).path()));
    ASSERT_EQ(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    // Opened for reading, the FIFO would wait for a writer for good.
    const int status = RunInChild([&] {
        const bool setAside = SetAsideBrokenProfile(GetProfileFileName()) == aside;
        CAdjustOption().Load();
        return setAside ? 0 : 1;
    });
    EXPECT_TRUE(ExitedWithZero(status)) << status;
    EXPECT_FALSE(QFileInfo::exists(name));
    EXPECT_TRUE(QFileInfo(aside).exists() && !QFileInfo(aside).isFile());
    QFile::remove(name);
    QFile::remove(aside);

    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF[OptionInfo]\nSaveQuality=5\n");
    file.close();
    EXPECT_EQ(SetAsideBrokenProfile(name), QString());
    CAdjustOption option;
    option.Load();
    EXPECT_EQ(option.SaveQuality, 5);
    QFile::remove(aside);
}

TEST_F(FolivaneApp, AFileSizeLimitFailsTheWritesInsteadOfEndingTheProgram)
{
    QTemporaryDir dir;
    const QString options = dir.filePath(QStringLiteral("options.adjopt"));
    const QString image = dir.filePath(QStringLiteral("page.bmp"));
    CSectionArray doc(1);
    doc[0].m_strName = QStringLiteral("OptionInfo");
    for (int i = 0; i < 100; ++i) {
        doc[0].m_entries.append({QStringLiteral("Key%1").arg(i), QString(100, QLatin1Char('x'))});
    }
    WriteProfileInt(QString(), QStringLiteral("ThumbSize"), 2);
    const int status = RunInChild([&] {
        IgnoreFileSizeSignal();
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool refused = !SaveOptionFile(doc, options, error) && !error.isEmpty();
        QImage page(40, 40, QImage::Format_BGR888);  // written at commit only
        page.fill(Qt::white);
        QUuid bmp;
        GetEncoderClsid(QStringLiteral("image/bmp"), bmp, error);
        const bool unsavedImage = SaveImageToFile(page, image, bmp, nullptr) != Ok;
        // As at close: many settings stored at once.
        const int failures = GetProfileWriteFailures();
        {
            const CProfileBatch batch;
            for (int i = 0; i < 100; ++i) {
                WriteProfileString(QStringLiteral("RecentItems"), QString::number(i), QString(100, QLatin1Char('x')));
            }
        }
        const bool unsaved = GetProfileWriteFailures() > failures;
        return refused && unsavedImage && unsaved ? 0 : 1;
    });
    EXPECT_TRUE(ExitedWithZero(status)) << status;
    // No file cut short and no temporary file is left; the settings are as they were.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(QFileInfo(GetProfileFileName()).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Folivane.ini")});
    EXPECT_EQ(UserSettings().allKeys(), QStringList{QStringLiteral("ThumbSize")});
}

TEST_F(FolivaneApp, ASettingsFileLargerThanTheFileSizeLimitIsKeptWholeWhenItCannotBeWritten)
{
    for (int i = 0; i < 16; ++i) {
        WriteProfileString(QStringLiteral("RecentItems"), QString::number(i), QString(100, QLatin1Char('x')));
    }
    QFile file(GetProfileFileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    ASSERT_GT(before.size(), 1024);
    const int status = RunInChild([] {
        IgnoreFileSizeSignal();
        const rlimit limit{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        const int failures = GetProfileWriteFailures();
        {
            const CProfileBatch batch;
            WriteProfileInt(QString(), QStringLiteral("ThumbSize"), 2);
        }
        return GetProfileWriteFailures() > failures ? 0 : 1;
    });
    EXPECT_TRUE(ExitedWithZero(status)) << status;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), before.toStdString());
    EXPECT_EQ(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{QStringLiteral("Folivane.ini")});
}

TEST_F(FolivaneApp, ASettingsFileReplacedByAFifoWhileRunningIsNeitherReadNorWritten)
{
    WriteProfileInt(QString(), QStringLiteral("ThumbSize"), 2);
    const QString name = GetProfileFileName();
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_EQ(mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    // Opened to be read, the FIFO would wait for a writer for good.
    const int status = RunInChild([] {
        const int failures = GetProfileWriteFailures();
        const bool defaults = GetProfileInt(QString(), QStringLiteral("ThumbSize"), 7) == 7;
        const bool refused = !WriteProfileInt(QString(), QStringLiteral("ThumbSize"), 3);
        {
            const CProfileBatch batch;
            CAdjustOption().Save();
        }
        return defaults && refused && GetProfileWriteFailures() == failures + 2 ? 0 : 1;
    });
    EXPECT_TRUE(ExitedWithZero(status)) << status;
    const QFileInfo info(name);
    EXPECT_TRUE(info.exists() && !info.isFile());
    QFile::remove(name);
}
