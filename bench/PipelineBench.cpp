#include <benchmark/benchmark.h>

#include "ScannedPage.h"
#include "engine/AdjustImage.h"
#include "engine/BitmapConvert.h"
#include "engine/PageRecord.h"
#include "engine/SaveAdjusted.h"
#include "platform/MemoryReuse.h"
#include "support/PageGenerator.h"

#include <QFile>
#include <QTemporaryDir>

// The whole road of one A4 300 dpi page: load, adjust, save.
namespace {

struct ScanFiles {
    ScanFiles()
    {
        PageSpec spec = A4TextPage(false, 1.5);
        spec.rimEdges = EdgeLeft | EdgeBottom;
        spec.rimWidth = 60;
        spec.spots = {{QPoint(150, 1700), QSize(4, 4)}, {QPoint(2350, 600), QSize(5, 3)}};
        const QImage page = GeneratePage(spec).image.convertToFormat(QImage::Format_RGB32);
        png = dir.filePath(QStringLiteral("scan.png"));
        jpeg = dir.filePath(QStringLiteral("scan.jpg"));
        page.save(png, "PNG");
        page.save(jpeg, "JPEG", 90);
        // The same page with a scanner's grain, which changes what the
        // saver's compression costs on either side of the adjustment.
        QImage grainy = page.convertToFormat(QImage::Format_ARGB32);
        AddScanGrain(grainy);
        grainyPng = dir.filePath(QStringLiteral("grainy.png"));
        grainy.save(grainyPng, "PNG");
    }
    QTemporaryDir dir;
    QString png;
    QString jpeg;
    QString grainyPng;
};

const ScanFiles& Files()
{
    static const ScanFiles files;
    return files;
}

enum class Scan { Png, Jpeg, GrainyPng };

const QString& ScanFile(Scan scan)
{
    return scan == Scan::Png ? Files().png : scan == Scan::Jpeg ? Files().jpeg : Files().grainyPng;
}

// Both page kinds, automatic slant and margins: what a user of the program
// switches on first.
CAdjustOption Defaults()
{
    CAdjustOption option;
    option.Slant[0] = option.Slant[1] = 2;
    option.CutMargin[0] = option.CutMargin[1] = 2;
    return option;
}

CAdjustOption EverythingOn()
{
    CAdjustOption option = Defaults();
    option.IgnoreShadow[0] = option.IgnoreShadow[1] = 1;
    option.ShadowClear[0] = option.ShadowClear[1] = 1;
    option.AdjustTextColor = 1;
    option.BrightText = 20;
    option.GrayText = 1;
    option.AdjustPictColor = 1;
    option.BrightPict = 120;
    option.Resize = 2;
    option.FixSize = {1600, 2263};
    return option;
}

QImage LoadSource(const QString& path)
{
    QImage source = LoadImageFileCopy(path);
    QImage flat = FlattenAlphaOnWhite(source);
    return flat.isNull() ? source : flat;
}

// One page as a job worker treats it; adjust = false only loads and saves.
bool RunPath(const QString& input, const QString& output, const CAdjustOption& option, bool adjust)
{
    QImage source = LoadSource(input);
    QString message;
    if (!adjust)
        return SaveAdjustedBitmap(source, QString(), QString(), output, option, nullptr, message);
    CPageRecord info;
    info.m_nSrcWidth = source.width();
    info.m_nSrcHeight = source.height();
    QImage result = AdjustImage(source, option, info, nullptr, message);
    return !result.isNull() && SaveAdjustedBitmap(result, QString(), QString(), output, option, nullptr, message);
}

void BM_AdjustImage(benchmark::State& state, bool everything)
{
    const QImage source = LoadSource(Files().png);
    const CAdjustOption option = everything ? EverythingOn() : Defaults();
    for (auto _ : state) {
        CPageRecord info;
        info.m_nSrcWidth = source.width();
        info.m_nSrcHeight = source.height();
        QString message;
        QImage result = AdjustImage(source, option, info, nullptr, message);
        benchmark::DoNotOptimize(result.constBits());
    }
}

void BM_WholePath(benchmark::State& state, Scan scan, const char* outputName, bool adjust)
{
    const QString& input = ScanFile(scan);
    const QString output = Files().dir.filePath(QString::fromLatin1(outputName));
    const CAdjustOption option = Defaults();
    for (auto _ : state) {
        if (!RunPath(input, output, option, adjust))
            state.SkipWithError("the page was not saved");
    }
}

// Resident memory figures of this process from the kernel, in KiB.
long StatusKiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts a new peak: the kernel resets the high-water mark to the current size.
bool ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// Peak resident memory that one page's path adds to the process, beside the
// size of the page's 32-bit form.
void BM_PeakMemory(benchmark::State& state)
{
    const QString output = Files().dir.filePath(QStringLiteral("peak.png"));
    long added = -1;
    for (auto _ : state) {
        ReleaseFreedMemory();  // the buffers kept for reuse would hide the path's own
        const long before = StatusKiB("VmRSS");
        if (!ResetPeak() || before < 0 || !RunPath(Files().png, output, EverythingOn(), true)) {
            state.SkipWithError("peak memory cannot be measured here");
            return;
        }
        added = StatusKiB("VmHWM") - before;
    }
    const double pageMiB = 2480.0 * 3508.0 * 4.0 / (1024.0 * 1024.0);
    state.counters["path_MiB"] = static_cast<double>(added) / 1024.0;
    state.counters["pages_32bit"] = static_cast<double>(added) / 1024.0 / pageMiB;
}

}  // namespace

BENCHMARK_CAPTURE(BM_AdjustImage, A4_defaults, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdjustImage, A4_everything_on, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, PNG_to_PNG_adjusted, Scan::Png, "out.png", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, PNG_to_PNG_unadjusted, Scan::Png, "out.png", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, grainy_PNG_to_PNG_adjusted, Scan::GrainyPng, "out.png", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, grainy_PNG_to_PNG_unadjusted, Scan::GrainyPng, "out.png", false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, JPEG_to_JPEG_adjusted, Scan::Jpeg, "out.jpg", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WholePath, JPEG_to_JPEG_unadjusted, Scan::Jpeg, "out.jpg", false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
