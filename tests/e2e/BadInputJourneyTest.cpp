#include "Journey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "Pages.h"
#include "app/CommandIds.h"
#include "common/Paths.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/ImageListCtrl.h"

#include <fcntl.h>
#include <unistd.h>

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
    void TearDown() override
    {
        CJourney::TearDown();
        DeleteFolderTree(m_work.path());  // names QTemporaryDir cannot remove
    }
};

// Files under names of bytes, which QFile cannot give.
void WriteRaw(const QByteArray& path, const QByteArray& bytes)
{
    const int file = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(file, 0) << path.toStdString();
    EXPECT_EQ(write(file, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    close(file);
}

QImage ReadRawImage(const QByteArray& path)
{
    QFile file;
    const int descriptor = open(path.constData(), O_RDONLY);
    if (descriptor < 0 || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        return {};
    }
    return QImage::fromData(file.readAll());
}

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

TEST_F(BadInputJourney, PagesWhoseNamesAreNoUtf8AreListedAdjustedAndSaved)
{
    // Shift-JIS and Latin-1 names in a folder, one of them damaged, and such
    // a page dropped by itself.
    WritePage(Work("names/a.png"), SlantedPage(1.0, 1));
    const QByteArray names = QFile::encodeName(Work("names/"));
    const QByteArray work = QFile::encodeName(Work(""));
    const QByteArray page = PngBytes(SlantedPage(-1.0, 2));
    WriteRaw(names + "\x83\x79\x81\x5B\x83\x57.png", page);
    WriteRaw(names + "caf\xe9.png", page);
    WriteRaw(names + "d\xe9g\xe2t.png", page.left(300));
    WriteRaw(work + "alone\xe9.png", page);
    StartProgram();
    DropUrls({QUrl::fromLocalFile(Work("names")),
              QUrl::fromEncoded("file://" + (work + "alone\xe9.png").toPercentEncoding("/"))});
    ASSERT_TRUE(QTest::qWaitFor([this] { return List().GetItemCount() == 5; }, 20000));
    WaitForJobEnd();
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, QStringLiteral("画像をロードできませんでした。\n") + Work("names/d\uFFFDg\uFFFDt.png"));
    RunJob(ID_EXECUTE_ALL);
    EXPECT_EQ(m_boxes.size(), 1u);
    for (const QByteArray& output :
         {names + "adj/\x83\x79\x81\x5B\x83\x57.png", names + "adj/caf\xe9.png", work + "adj/alone\xe9.png"}) {
        EXPECT_FALSE(ReadRawImage(output).isNull()) << output.toStdString();
    }
    Shot(QStringLiteral("7-names"));
}
