#include <gtest/gtest.h>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "IntakeTestSupport.h"
#include "ListTestSupport.h"
#include "engine/ImageHeader.h"

namespace {

const QString kLoadFailed = QStringLiteral("画像をロードできませんでした。\n");

class UnreadablePageTest : public CListFixture {
protected:
    void SetUp() override
    {
        CListFixture::SetUp();
        list.SetProcessorCount(1);
    }

    // A load pass over a newly added entry: it fails with the load message.
    void ExpectLoadFails(const QString& path)
    {
        CImageInfo& info = AddEntry(list, path);
        list.UpdateFileCount();
        list.messages.clear();
        list.StartNextJob();
        ASSERT_TRUE(WaitIdle(list));
        EXPECT_TRUE(info.m_bLoadFailed) << path.toStdString();
        EXPECT_EQ(list.messages, std::vector<QString>{kLoadFailed + path});
    }
};

// Lets a reader that waits in opening the pipe go on: a writer that opens and
// closes it ends the wait with an empty read.
void ReleasePipeReader(const QString& pipe)
{
    const int writer = open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) {
        close(writer);
    }
}

}  // namespace

TEST_F(UnreadablePageTest, JpegWhoseHeaderCannotBeReadGivesNoSizeAndFailsToLoad)
{
    const QByteArray whole = PageBytes("JPEG");
    const qsizetype scan = whole.indexOf("\xff\xda");
    ASSERT_GT(scan, 100);
    // Start of image, a frame header of 65500 x 65500 with three components, end of image.
    const QByteArray frameOnly = QByteArray::fromHex("ffd8ffc0001108ffdcffdc03012200021101031101ffd9");
    const std::vector<std::pair<QString, QByteArray>> files = {{QStringLiteral("marker.jpg"), "\xff\xd8\xff"},
                                                               {QStringLiteral("cut.jpg"), whole.left(100)},
                                                               {QStringLiteral("noscan.jpg"), whole.left(scan)},
                                                               {QStringLiteral("frame.jpg"), frameOnly}};
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(name);
        WriteBytes(path, bytes);
        const CDecodedImage decoded = PeekDecodedImage(path);
        EXPECT_FALSE(decoded.size.isValid()) << name.toStdString();
        EXPECT_EQ(decoded.bytesPerPixel, 0) << name.toStdString();
        ExpectLoadFails(path);
    }
}

TEST_F(UnreadablePageTest, PageThatIsANamedPipeFailsWithoutBlockingTheJob)
{
    const QString pipe = dir.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    CImageInfo& info = AddEntry(list, pipe);
    list.UpdateFileCount();
    list.StartNextJob();
    const bool ended = WaitIdle(list, 30000);
    // A worker stuck on the pipe is let go, so that the hang fails this test
    // instead of blocking it for good.
    for (int round = 0; round < 1000 && !WaitIdle(list, 100); ++round) {
        ReleasePipeReader(pipe);
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(info.m_bLoadFailed);
    EXPECT_EQ(list.messages, std::vector<QString>{kLoadFailed + pipe});
}
