#include <benchmark/benchmark.h>

#include "engine/BitmapConvert.h"
#include "support/PageGenerator.h"

#include <QTemporaryDir>

namespace {

// One A4 300 dpi text page saved once as PNG and as JPEG.
struct A4Files {
    A4Files()
    {
        page = GeneratePage(A4TextPage(false, 1.5)).image.convertToFormat(QImage::Format_RGB32);
        png = dir.filePath(QStringLiteral("page.png"));
        jpeg = dir.filePath(QStringLiteral("page.jpg"));
        page.save(png, "PNG");
        page.save(jpeg, "JPEG", 85);
    }
    QTemporaryDir dir;
    QImage page;
    QString png;
    QString jpeg;
};

const A4Files& Files()
{
    static const A4Files files;
    return files;
}

void BM_LoadImageFileCopy(benchmark::State& state, bool png)
{
    const QString& path = png ? Files().png : Files().jpeg;
    for (auto _ : state) {
        QImage image = LoadImageFileCopy(path);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_CloneBitmap(benchmark::State& state, bool png)
{
    const QImage source = LoadImageFileCopy(png ? Files().png : Files().jpeg);
    for (auto _ : state) {
        QImage copy = CloneBitmap(source);
        benchmark::DoNotOptimize(copy.constBits());
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_LoadImageFileCopy, A4_PNG, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadImageFileCopy, A4_JPEG, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CloneBitmap, A4_PNG, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CloneBitmap, A4_JPEG, false)->Unit(benchmark::kMillisecond);
