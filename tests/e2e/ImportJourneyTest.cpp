#include "Journey.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>

#include "Pages.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/StatusPane.h"
#include "archive/RarTestArchive.h"
#include "archive/ZipTestArchive.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "res/StringTable.h"

namespace {

// A folder with a subfolder, a zip with an encrypted page and a rar, each
// page slanted by its own angle; the user straightens and cuts text pages.
class ImportJourney : public CJourney {
protected:
    void SetUp() override
    {
        CJourney::SetUp();
        WritePage(Work("in/a.png"), SlantedPage(2.0, 1));
        WritePage(Work("in/sub/b.png"), SlantedPage(-3.0, 2));
        QDir().mkpath(Work("arc"));
        ZipTestEntry zipped{"z1.png", PngBytes(SlantedPage(1.5, 3)), 0};
        zipped.password = "secret";
        ASSERT_TRUE(WriteTestZip(Work("arc/book.zip"), {zipped}));
        ASSERT_TRUE(WriteTestRar(Work("arc/pages.rar"), {{"r1.png", PngBytes(SlantedPage(-2.0, 4))}}));
        QSettings settings = Settings();
        WriteStraightenAndCut(settings);
    }

    // Dropped together; the subfolders are wanted, the zip's password is
    // mistyped once.
    void DropAll()
    {
        m_answers = {IDYES, IDOK};
        m_passwords.answers = {QStringLiteral("wrong"), QStringLiteral("secret")};
        Drop({Work("in"), Work("arc/pages.rar"), Work("arc/book.zip")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == 4; }, 20000));
        WaitForJobEnd();
    }

    QStringList Outputs() const
    {
        return {Work("in/adj/a.png"), Work("in/sub/adj/b.png"), Work("arc/adj/r1.png"), Work("arc/adj/z1.png")};
    }
};

}  // namespace

TEST_F(ImportJourney, DroppedFolderZipAndRarComeOutStraightAndCutBesideTheirSources)
{
    StartProgram();
    DropAll();
    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].text, QStringLiteral("サブフォルダも追加しますか？"));
    EXPECT_EQ(m_boxes[1].text, QStringLiteral("パスワードが違います。"));
    EXPECT_EQ(m_passwords.asked.size(), 2);
    EXPECT_EQ(RowNames(), QStringList({"a.png", "b.png", "r1.png", "z1.png"}));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Row(row).m_nSrcWidth, 620) << row;
        EXPECT_GT(Row(row).m_dwFileSize, 0u) << row;
        EXPECT_NE(Row(row).GetSrcThumb(), nullptr) << row;
    }
    EXPECT_EQ(PaneText(ID_INDICATOR_ALLFILES), QStringLiteral("全ファイル : 4 個"));
    Shot(QStringLiteral("1-loaded"));

    RunJob(ID_EXECUTE_ALL);
    Shot(QStringLiteral("1-executed"));
    EXPECT_EQ(m_boxes.size(), 2u) << "no error after the execute job";
    for (const QString& output : Outputs()) {
        const QImage page = QImageReader(output).read();
        ASSERT_FALSE(page.isNull()) << output.toStdString();
        EXPECT_NEAR(MeasureSlant(output), 0.0, 0.5) << output.toStdString();
        EXPECT_TRUE(IsCutToContent(page)) << output.toStdString() << " " << page.width() << " x " << page.height();
    }
    EXPECT_EQ(PaneText(ID_INDICATOR_ALLFILES), QStringLiteral("全ファイル : 4 個"));
    EXPECT_FALSE(Pane(ID_INDICATOR_PROGRESS).HasProgressBar());
    EXPECT_FALSE(StopButton() != nullptr && StopButton()->isVisible());
}

TEST_F(ImportJourney, ExecutingAgainAsksAndNoToAllKeepsWhileYesToAllRewrites)
{
    StartProgram();
    DropAll();
    RunJob(ID_EXECUTE_ALL);
    const QDateTime before(QDate(2020, 1, 1), QTime(12, 0));
    for (const QString& output : Outputs()) {
        SetModifiedAt(output, before);
    }
    const size_t asked = m_boxes.size();

    m_answers = {IDNOTOALL};
    RunJob(ID_EXECUTE_ALL);
    ASSERT_EQ(m_boxes.size(), asked + 1) << "one question, no more after no to all";
    EXPECT_TRUE(
        m_boxes.back().text.endsWith(QStringLiteral("\r\nはすでに存在しています。上書きしてもよろしいですか？")));
    EXPECT_EQ(m_boxes.back().style, 0x18000023u);
    for (const QString& output : Outputs()) {
        EXPECT_EQ(ModifiedAt(output), before) << output.toStdString();
    }

    m_answers = {IDYESTOALL};
    RunJob(ID_EXECUTE_ALL);
    ASSERT_EQ(m_boxes.size(), asked + 2);
    for (const QString& output : Outputs()) {
        EXPECT_GT(ModifiedAt(output), before) << output.toStdString();
    }
}
