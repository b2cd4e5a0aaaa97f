#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "ScannedPage.h"
#include "archive/ZipTestArchive.h"
#include "common/Paths.h"
#include "common/TempRoot.h"
#include "imagelist/IntakeAsker.h"
#include "imagelist/IntakeWalker.h"
#include "msgbox/ExtMsgBoxDefs.h"

namespace {

struct CQuietAsker : IIntakeAsker {
    int AskSubfolders() override { return IDYES; }
    void ShowIntakeMessage(const QString&) override {}
    bool AskArchivePassword(const QString&, QString&) override { return false; }
};

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 75);
    return bytes;
}

// Takes the folder or archive into an empty list; the entries are freed
// outside the timing.
void Intake(benchmark::State& state, const QString& path, const QString& tempRoot)
{
    std::vector<std::unique_ptr<CImageInfo>> images;
    std::vector<int> rows;
    QHash<QString, QString> archives;
    CQuietAsker asker;
    CIntakeWalker walker(images, rows, archives, asker);
    benchmark::DoNotOptimize(walker.AddPath(path));
    state.PauseTiming();
    if (rows.empty()) {
        state.SkipWithError("nothing added");
    }
    images.clear();
    DeleteFolderTree(tempRoot);
    CreateFolderPath(tempRoot);
    state.ResumeTiming();
}

// A folder of 3000 small page files; the load job that follows is not part of it.
void BM_IntakeFolder3000(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("pages"));
    CreateFolderPath(folder);
    QImage page(48, 64, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QByteArray bytes = Encode(page, "PNG");
    for (int i = 0; i < 3000; ++i) {
        WriteFile(folder + QStringLiteral("/page%1.png").arg(i, 4, 10, QLatin1Char('0')), bytes);
    }
    const QString temp = dir.filePath(QStringLiteral("tmp/"));
    SetTempRoot(temp);
    for (auto _ : state) {
        Intake(state, folder, temp);
    }
}
BENCHMARK(BM_IntakeFolder3000)->Unit(benchmark::kMillisecond);

constexpr int kZipPages = 200;

// The bytes of 200 scanned A4 pages as JPEG files, as a scanner writes them.
const std::vector<QByteArray>& A4Pages()
{
    static const std::vector<QByteArray> pages = [] {
        const QByteArray text = Encode(ScannedA4Page(false), "JPEG");
        const QByteArray picture = Encode(ScannedA4Page(true), "JPEG");
        std::vector<QByteArray> all;
        for (int i = 0; i < kZipPages; ++i) {
            all.push_back(i % 4 == 0 ? picture : text);
        }
        return all;
    }();
    return pages;
}

qint64 TotalBytes(const std::vector<QByteArray>& pages)
{
    qint64 total = 0;
    for (const QByteArray& page : pages) {
        total += page.size();
    }
    return total;
}

// A zip of 200 A4 pages extracted and taken in; MB/s of page bytes written.
void BM_IntakeZipA4(benchmark::State& state)
{
    QTemporaryDir dir;
    std::vector<ZipTestEntry> entries;
    for (int i = 0; i < kZipPages; ++i) {
        entries.push_back({QByteArray("book/page") + QByteArray::number(i) + ".jpg", A4Pages()[static_cast<size_t>(i)],
                           static_cast<int>(state.range(0))});
    }
    const QString archive = dir.filePath(QStringLiteral("book.zip"));
    WriteTestZip(archive, entries);
    const QString temp = dir.filePath(QStringLiteral("tmp/"));
    SetTempRoot(temp);
    for (auto _ : state) {
        Intake(state, archive, temp);
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(A4Pages()));
}
BENCHMARK(BM_IntakeZipA4)->Arg(0)->Arg(Z_DEFLATED)->Unit(benchmark::kMillisecond);

// The same page bytes written as 200 files: what the disk allows.
void BM_PlainCopyA4(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("copy/"));
    for (auto _ : state) {
        CreateFolderPath(folder);
        for (int i = 0; i < kZipPages; ++i) {
            WriteFile(folder + QStringLiteral("page%1.jpg").arg(i), A4Pages()[static_cast<size_t>(i)]);
        }
        state.PauseTiming();
        DeleteFolderTree(folder);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(A4Pages()));
}
BENCHMARK(BM_PlainCopyA4)->Unit(benchmark::kMillisecond);

// A zip of ten copies of a zip of ten copies ... five levels below the one
// the user adds, a text file at the bottom and one page beside the copies:
// 111,111 archives if nothing bounded the intake.
void BM_IntakeNestedFanOut(benchmark::State& state)
{
    QTemporaryDir dir;
    QByteArray archive = "not a page";
    QByteArray name = "x.txt";
    for (int level = 0; level <= 5; ++level) {
        std::vector<ZipTestEntry> entries;
        for (int copy = 0; copy < 10; ++copy) {
            entries.push_back({QByteArray::number(copy) + "_" + name, archive});
        }
        if (level == 5) {
            QImage page(48, 64, QImage::Format_RGB32);
            page.fill(Qt::white);
            entries.push_back({"cover.png", Encode(page, "PNG")});
        }
        const QString path = dir.filePath(QStringLiteral("level%1.zip").arg(level));
        WriteTestZip(path, entries);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        archive = file.readAll();
        name = "n.zip";
    }
    const QString outer = dir.filePath(QStringLiteral("level5.zip"));
    const QString temp = dir.filePath(QStringLiteral("tmp/"));
    SetTempRoot(temp);
    for (auto _ : state) {
        Intake(state, outer, temp);
    }
}
BENCHMARK(BM_IntakeNestedFanOut)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
