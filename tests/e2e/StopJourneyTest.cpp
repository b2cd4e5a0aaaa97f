#include "Journey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>
#include <QTest>

#include "Pages.h"
#include "app/CommandIds.h"
#include "app/FolivaneApp.h"
#include "app/MainFrame.h"
#include "app/StatusPane.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"
#include "res/StringTable.h"

namespace {

constexpr int kPages = 48;

int ThreadCount()
{
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// A long book: many slanted pages in one folder, loaded and ready.
class LongJobJourney : public CJourney {
protected:
    void SetUp() override
    {
        CJourney::SetUp();
        WritePage(Work("book/p001.png"), SlantedPage(1.0));
        for (int page = 2; page <= kPages; ++page) {
            QFile::copy(Work("book/p001.png"), Work(QStringLiteral("book/p%1.png").arg(page, 3, 10, QLatin1Char('0'))));
        }
        QSettings settings = Settings();
        WriteStraightenAndCut(settings);
    }

    void LoadBook()
    {
        Drop({Work("book")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == kPages; }, 20000));
        WaitForJobEnd();
    }

    // The execute job has saved a few pages and goes on.
    void ExecuteUntilMidway()
    {
        Post(ID_EXECUTE_ALL);
        WaitForJobStart();
        ASSERT_TRUE(QTest::qWaitFor([this] { return Pane(ID_INDICATOR_PROGRESS).GetProgress() >= 2; }, 60000));
        ASSERT_TRUE(List().IsJobRunning()) << "the job ended before it could be stopped";
    }

    QStringList OutputFiles() const { return QDir(Work("book/adj")).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

}  // namespace

TEST_F(LongJobJourney, StopButtonEndsTheJobKeepingFinishedPagesAndNoHalfFiles)
{
    StartProgram();
    LoadBook();
    const size_t boxes = m_boxes.size();
    ExecuteUntilMidway();
    Shot(QStringLiteral("5-running"));
    ASSERT_NE(StopButton(), nullptr);
    QTest::mouseClick(StopButton(), Qt::LeftButton);
    WaitForJobEnd();
    Shot(QStringLiteral("5-stopped"));

    EXPECT_EQ(m_boxes.size(), boxes) << "a stop is no error";
    EXPECT_EQ(List().GetItemCount(), kPages);
    const QStringList outputs = OutputFiles();
    EXPECT_GT(outputs.size(), 0);
    EXPECT_LT(outputs.size(), kPages);
    for (const QString& name : outputs) {
        EXPECT_FALSE(QImageReader(Work("book/adj/") + name).read().isNull()) << "half-written: " << name.toStdString();
    }
    for (int row = 0; row < List().GetItemCount(); ++row) {
        if (outputs.contains(Row(row).m_strOutputName)) {
            EXPECT_GT(Row(row).m_nAdjWidth, 0) << row;
            EXPECT_NE(Row(row).GetAdjThumb(), nullptr) << row;
        }
    }
    EXPECT_FALSE(Pane(ID_INDICATOR_PROGRESS).HasProgressBar());
}

TEST_F(LongJobJourney, ClosingTheWindowDuringAJobSavesEverythingAndLeavesNoThread)
{
    const int threadsBefore = ThreadCount();
    StartProgram();
    LoadBook();
    Settings().remove(QStringLiteral("OptionInfo"));  // the program writes them back when it closes
    ExecuteUntilMidway();
    const QString tempRoot = theApp.m_strTempRoot;
    ASSERT_TRUE(QDir(tempRoot + QStringLiteral("Adj")).exists());

    CloseProgram();
    EXPECT_EQ(Settings().value(QStringLiteral("OptionInfo/Slant0")).toInt(), 2);
    EXPECT_EQ(Settings().value(QStringLiteral("OptionInfo/CutMargin0")).toInt(), 2);
    EXPECT_EQ(Settings().value(QStringLiteral("RecentItems/0")).toString(), Work("book"));
    EXPECT_FALSE(QDir(tempRoot).exists());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() <= threadsBefore; }, 5000))
        << ThreadCount() << " threads, " << threadsBefore << " before";
}
