#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "IntakeTestSupport.h"
#include "ListTestSupport.h"
#include "engine/BitmapConvert.h"
#include "imagelist/MemoryBudget.h"
#include "imagelist/MemoryLimit.h"
#include "imagelist/PageMemory.h"

namespace {

// What is held at once: the most held while only holdings within the limit
// were there, and whether each one over the limit was held alone.
struct CHoldings {
    std::mutex lock;
    qint64 held = 0;
    qint64 most = 0;
    int holders = 0;
    int largeHolders = 0;
    bool largeHeldAlone = true;

    void Take(qint64 bytes, qint64 limit)
    {
        std::lock_guard guard(lock);
        held += bytes;
        ++holders;
        largeHolders += bytes > limit;
        if (largeHolders > 0) {
            largeHeldAlone = largeHeldAlone && holders == 1;
        } else {
            most = std::max(most, held);
        }
    }
    void Give(qint64 bytes, qint64 limit)
    {
        std::lock_guard guard(lock);
        held -= bytes;
        --holders;
        largeHolders -= bytes > limit;
    }
};

}  // namespace

TEST(MemoryBudget, HoldsNoMoreThanItsLimitAndLetsALargerReservationRunAlone)
{
    constexpr qint64 kLimit = 100;
    CMemoryBudget budget(kLimit);
    CHoldings holdings;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 200; ++round) {
                const qint64 bytes = round % 50 == t ? 3 * kLimit : 20 + 10 * t;
                const CMemoryReservation reservation(budget, bytes);
                holdings.Take(bytes, kLimit);
                std::this_thread::yield();
                holdings.Give(bytes, kLimit);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_LE(holdings.most, kLimit);
    EXPECT_TRUE(holdings.largeHeldAlone);
}

TEST(MemoryBudget, ReservationsThatFitAreGrantedAtOnce)
{
    // All on one thread, where any wait would never end: a thread of its own,
    // so that such a wait fails the test rather than stalling the run.
    auto budget = std::make_shared<CMemoryBudget>(100);
    std::promise<void> granted;
    std::future<void> done = granted.get_future();
    std::thread([budget, granted = std::move(granted)]() mutable {
        const CMemoryReservation first(*budget, 30);
        const CMemoryReservation second(*budget, 30);
        const CMemoryReservation third(*budget, 40);
        const CMemoryReservation none(*budget, 0);
        granted.set_value();
    }).detach();
    EXPECT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

namespace {

// The files the limits are read from, made by each test in a folder of its own.
class MemoryLimit : public ::testing::Test {
protected:
    static constexpr qint64 kGiB = qint64(1) << 30;
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("cgroup"));
    const QString mounts = dir.filePath(QStringLiteral("mountinfo"));
    const QString root = dir.filePath(QStringLiteral("fs"));
    const QString missing = dir.filePath(QStringLiteral("missing"));
};

}  // namespace

TEST_F(MemoryLimit, TheSmallestOfMemoryAddressSpaceAndControlGroupLimits)
{
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, missing, missing, root), 8 * kGiB);
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 6 * kGiB, missing, missing, root), 6 * kGiB);
    EXPECT_EQ(SmallestMemoryLimit(0, 6 * kGiB, missing, missing, root), 6 * kGiB);
    EXPECT_EQ(SmallestMemoryLimit(0, 0, missing, missing, root), 0);

    // Only the unified hierarchy's line counts; a group without a limit
    // leaves it to the groups above it.
    WriteBytes(list, "4:memory:/elsewhere\n0::/user.slice/app.scope\n");
    WriteBytes(root + QStringLiteral("/elsewhere/memory.max"), "1000\n");
    WriteBytes(root + QStringLiteral("/user.slice/app.scope/memory.max"), "max\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 6 * kGiB, list, missing, root), 6 * kGiB);
    WriteBytes(root + QStringLiteral("/user.slice/memory.max"), "3000000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 6 * kGiB, list, missing, root), 3000000000);
    WriteBytes(root + QStringLiteral("/user.slice/app.scope/memory.max"), "2000000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, missing, root), 2000000000);

    // In a group's own namespace the group is the root.
    WriteBytes(list, "0::/\n");
    WriteBytes(root + QStringLiteral("/memory.max"), "5000000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, missing, root), 5000000000);
    WriteBytes(root + QStringLiteral("/memory.max"), "garbage\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, missing, root), 8 * kGiB);
}

TEST_F(MemoryLimit, ControlGroupV1MemoryLimitsCountToo)
{
    // Without a mount table the hierarchy is where it is usually mounted;
    // "no limit" is a huge number there.
    WriteBytes(list, "12:cpu,cpuacct:/elsewhere\n4:memory:/user.slice/app.scope\n1:name=systemd:/user.slice\n");
    WriteBytes(root + QStringLiteral("/memory/user.slice/app.scope/memory.limit_in_bytes"), "9223372036854771712\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, mounts, root), 8 * kGiB);
    WriteBytes(root + QStringLiteral("/memory/user.slice/memory.limit_in_bytes"), "3000000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, mounts, root), 3000000000);

    // The mount the table names, here of the group's parent, up to its root.
    const QString mount = dir.filePath(QStringLiteral("v1"));
    WriteBytes(mounts, "25 1 0:22 / /sys rw - sysfs sysfs rw\n30 25 0:26 /user.slice " + QFile::encodeName(mount) +
                           " rw,nosuid shared:13 - cgroup cgroup rw,memory\n");
    WriteBytes(mount + QStringLiteral("/app.scope/memory.limit_in_bytes"), "2000000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 0, list, mounts, root), 2000000000);
    WriteBytes(mount + QStringLiteral("/memory.limit_in_bytes"), "1500000000\n");
    EXPECT_EQ(SmallestMemoryLimit(8 * kGiB, 6 * kGiB, list, mounts, root), 1500000000);
}

TEST(PageMemory, EstimateFollowsTheDecodedFormAndRefusesNothingUnreadable)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small.png"));
    const QString large = dir.filePath(QStringLiteral("large.png"));
    WritePage(small, 100, 100);
    WritePage(large, 200, 100);
    EXPECT_GT(EstimatePagePeak(small), 100 * 100 * 3);
    EXPECT_EQ(EstimatePagePeak(large), 2 * EstimatePagePeak(small));
    WriteDamaged(dir.filePath(QStringLiteral("damaged.png")));
    EXPECT_EQ(EstimatePagePeak(dir.filePath(QStringLiteral("damaged.png"))), 0);
    EXPECT_EQ(EstimatePagePeak(dir.filePath(QStringLiteral("missing.png"))), 0);
}

TEST(PageMemory, SizeIsTheOneTheDecoderMakes)
{
    QTemporaryDir dir;
    // A GIF decodes to its whole 16000 x 16000 logical screen, though its only frame is one pixel.
    const QString gif = dir.filePath(QStringLiteral("screen.gif"));
    WriteBytes(gif, QByteArray::fromHex("474946383961803e803e800000000000ffffff2c00000000010001000002024401003b"));
    EXPECT_GE(EstimatePagePeak(gif), qint64(16000) * 16000 * 4);

    // A top-down BMP (negative height) is as large as its bottom-up twin and loads upright.
    QImage page(8, 6, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setPixel(0, 0, qRgb(0, 0, 0));
    QByteArray bottomUp;
    QBuffer buffer(&bottomUp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(page.save(&buffer, "BMP"));
    const int start = qFromLittleEndian<qint32>(bottomUp.constData() + 10);
    const int rowBytes = static_cast<int>(bottomUp.size() - start) / page.height();
    QByteArray topDown = bottomUp.left(start);
    for (int row = page.height() - 1; row >= 0; --row) {
        topDown += bottomUp.mid(start + row * rowBytes, rowBytes);
    }
    qToLittleEndian<qint32>(-page.height(), topDown.data() + 22);
    const QString up = dir.filePath(QStringLiteral("up.bmp"));
    const QString down = dir.filePath(QStringLiteral("down.bmp"));
    WriteBytes(up, bottomUp);
    WriteBytes(down, topDown);
    const QImage loaded = LoadImageFileCopy(down);
    EXPECT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded, LoadImageFileCopy(up));
    EXPECT_EQ(EstimatePagePeak(down), EstimatePagePeak(up));
}

namespace {

// Execute jobs whose adjustment records how many pages are in work at once.
// Each page stays in work until a third one joins it or a tenth of a second
// passes, so that without the budget the workers would pile up.
class BudgetJobTest : public CListFixture {
protected:
    void SetUp() override
    {
        CListFixture::SetUp();
        list.adjust = [this](const QImage& source, CPageRecord& info, QString& message) {
            const qint64 pages = source.width() > kPageWidth ? 3 : 1;  // the large one counts as three
            holdings.Take(pages, 2);
            {
                std::unique_lock lock(gateLock);
                ++inWork;
                gate.notify_all();
                gate.wait_for(lock, std::chrono::milliseconds(100), [this] { return inWork >= 3; });
            }
            QImage result = QuickAdjust(source, info, message);
            {
                std::lock_guard lock(gateLock);
                --inWork;
            }
            holdings.Give(pages, 2);
            return result;
        };
    }

    static constexpr int kPageWidth = 120;
    CHoldings holdings;
    std::mutex gateLock;
    std::condition_variable gate;
    int inWork = 0;
};

}  // namespace

TEST_F(BudgetJobTest, PagesInWorkStayWithinTheBudgetWhateverTheWorkerCount)
{
    QStringList pages;
    for (int i = 0; i < 8; ++i) {
        pages << dir.filePath(QStringLiteral("p%1.png").arg(i));
        WritePage(pages.back(), kPageWidth, 160);
    }
    // A page over the whole budget, in the middle of the list.
    pages.insert(4, dir.filePath(QStringLiteral("large.png")));
    WritePage(pages[4], 3 * kPageWidth, 3 * 160);
    for (const QString& page : pages) {
        AddEntry(list, page);
    }
    list.UpdateFileCount();
    list.SetMemoryBudget(EstimatePagePeak(pages[0]) * 5 / 2);  // room for two pages
    ASSERT_GT(EstimatePagePeak(pages[4]), EstimatePagePeak(pages[0]) * 5 / 2);
    list.SetProcessorCount(8);

    list.StartAdjust(0, 0);
    ASSERT_TRUE(WaitIdle(list));
    EXPECT_EQ(list.adjustCalls, 9);
    EXPECT_LE(holdings.most, 2);
    EXPECT_TRUE(holdings.largeHeldAlone);
    EXPECT_TRUE(list.messages.empty());
    EXPECT_EQ(QDir(option.SaveAnyDir).entryList(QDir::Files).size(), 9);
}
