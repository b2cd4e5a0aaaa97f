#include "Journey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "Pages.h"
#include "app/CommandIds.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"

namespace {

class BadInputJourney : public CJourney {
protected:
    void SetUp() override
    {
        CJourney::SetUp();
        WritePage(Work("in/a.png"), SlantedPage(1.0, 1));
        WritePage(Work("in/c.png"), SlantedPage(-1.0, 2));
        QFile damaged(Work("in/b.png"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(PngBytes(SlantedPage(0.5, 3)).left(300));  // a header and then nothing
    }
};

}  // namespace

TEST_F(BadInputJourney, DamagedPageFailsAloneAndAnUnwritableFolderIsReportedOnce)
{
    StartProgram();
    Drop({Work("in")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == 3; }, 20000));
    WaitForJobEnd();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, QStringLiteral("画像をロードできませんでした。\n") + Work("in/b.png"));
    ASSERT_EQ(RowNames(), QStringList({"a.png", "b.png", "c.png"}));
    EXPECT_TRUE(Row(1).m_bLoadFailed);
    EXPECT_NE(Row(1).GetSrcThumb(), nullptr) << "the placeholder";
    Shot(QStringLiteral("7-damaged"));

    RunJob(ID_EXECUTE_ALL);
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_FALSE(QImageReader(Work("in/adj/a.png")).read().isNull());
    EXPECT_FALSE(QImageReader(Work("in/adj/c.png")).read().isNull());
    EXPECT_FALSE(QFile::exists(Work("in/adj/b.png")));

    // The output folder's name is taken by a file: no page can be saved.
    ASSERT_TRUE(QDir(Work("in/adj")).removeRecursively());
    QFile blocker(Work("in/adj"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RunJob(ID_EXECUTE_ALL);
    ASSERT_EQ(m_boxes.size(), 2u) << "the first error, once";
    EXPECT_TRUE(m_boxes[1].text.contains(Work("in/adj"))) << m_boxes[1].text.toStdString();
    EXPECT_EQ(QFileInfo(Work("in/adj")).size(), 0) << "nothing written over the blocking file";
    Shot(QStringLiteral("7-unwritable"));
}
