// Measures execute jobs of the image list: 64 A4 300 dpi pages loaded,
// adjusted with the default options and saved, with 1, 2, 4 and all
// processors. Prints pages per second and the speed-up over one worker.
// The allocator keeps freed page buffers for reuse, as the program does;
// --no-memory-reuse gives them back to the system after every page instead,
// to measure what that costs.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "common/TempRoot.h"
#include "imagelist/ImageListCtrl.h"
#include "platform/MemoryReuse.h"
#include "support/PageGenerator.h"

namespace {

constexpr int kPages = 64;

// Reports a job error on the console instead of in a box.
class CBenchList : public CImageListCtrl {
public:
    using CImageListCtrl::CImageListCtrl;
    using CImageListCtrl::SetProcessorCount;

protected:
    int ShowMessageBox(const QString& text, std::uint32_t) override
    {
        std::fprintf(stderr, "job error: %s\n", qPrintable(text));
        return 1;
    }
};

QStringList WritePages(const QString& folder)
{
    std::vector<QString> distinct;
    for (int i = 0; i < 4; ++i) {
        const QString path = folder + QStringLiteral("/src%1.png").arg(i);
        GeneratePage(i % 2 == 0 ? A4TextPage(i == 2, 0.8 * i) : A4PicturePage(0.5)).image.save(path, "PNG");
        distinct.push_back(path);
    }
    QStringList pages;
    for (int i = 0; i < kPages; ++i) {
        const QString path = folder + QStringLiteral("/page%1.png").arg(i, 2, 10, QLatin1Char('0'));
        QFile::copy(distinct[static_cast<size_t>(i % 4)], path);
        pages.append(path);
    }
    return pages;
}

double PagesPerSecond(const QStringList& pages, int workers)
{
    CAdjustOption option;  // the defaults
    CBenchList list(option);
    list.SetProcessorCount(workers);
    for (const QString& path : pages) {
        auto info = std::make_unique<CImageInfo>();
        info->m_strOrigin = path;
        info->m_strPath = path;
        const QFileInfo status(path);
        info->Reset(status.size(), status.lastModified().toSecsSinceEpoch());
        list.AppendEntry(std::move(info));
    }
    list.UpdateFileCount();
    QElapsedTimer timer;
    timer.start();
    list.StartAdjust(0, 0);
    while (list.IsJobRunning() || list.IsRetryArmed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    QDir(QFileInfo(pages.first()).path() + QStringLiteral("/adj")).removeRecursively();
    return kPages / seconds;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--no-memory-reuse") != 0) {
        KeepFreedMemoryForReuse();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // A root of its own for the cache: the shared one belongs to a copy of
    // the program that may be running, and is emptied when it closes.
    SetTempRoot(MakePrivateTempRoot(dir.path()));
    const QStringList pages = WritePages(dir.path());
    const int all = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    std::vector<int> counts = {1, 2, 4};
    if (all != 1 && all != 2 && all != 4) {
        counts.push_back(all);
    }
    double single = 0.0;
    for (const int workers : counts) {
        const double rate = PagesPerSecond(pages, workers);
        single = workers == 1 ? rate : single;
        std::printf("%2d worker(s): %6.2f pages/s  (x%.2f of one worker)\n", workers, rate, rate / single);
    }
    std::printf("target for %d processors: x%.2f of one worker\n", all, 0.7 * all);
    return 0;
}
