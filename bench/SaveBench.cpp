#include <benchmark/benchmark.h>

#include "ScannedPage.h"
#include "engine/SaveAdjusted.h"

#include <QTemporaryDir>

namespace {

void BM_SaveAdjustedBitmap(benchmark::State& state, const char* name, int depth, int palette)
{
    QImage page = ScannedA4Page(false).convertToFormat(QImage::Format_BGR888);
    QTemporaryDir dir;
    CAdjustOption option;
    option.SaveDepth = depth;
    option.SavePalette = palette;
    option.SaveQuality = 70;
    const QString path = dir.filePath(QLatin1String(name));
    QString message;
    for (auto _ : state) {
        if (!SaveAdjustedBitmap(page, QString(), QString(), path, option, nullptr, message))
            state.SkipWithError(message.toStdString().c_str());
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_SaveAdjustedBitmap, PNG_24bpp, "page.png", 4, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveAdjustedBitmap, PNG_8bpp_standard, "page.png", 3, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveAdjustedBitmap, JPEG_q70, "page.jpg", 4, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveAdjustedBitmap, BMP_24bpp, "page.bmp", 4, 1)->Unit(benchmark::kMillisecond);
