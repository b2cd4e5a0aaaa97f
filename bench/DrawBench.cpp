#include <benchmark/benchmark.h>

#include "ScannedPage.h"
#include "engine/ColorAdjust.h"
#include "engine/PageRecord.h"
#include "engine/Quantise.h"
#include "engine/Resize.h"

#include <QSet>

namespace {

const QImage& WorkingPage(bool picture)
{
    static const QImage text = ScannedA4Page(false);
    static const QImage pict = ScannedA4Page(true);
    return picture ? pict : text;
}

// The adjusted 24-bit picture page that the saver quantises.
const QImage& AdjustedPage()
{
    static const QImage page = WorkingPage(true).convertToFormat(QImage::Format_BGR888);
    return page;
}

void BM_ResizeOntoCanvas(benchmark::State& state)
{
    CAdjustOption option;
    option.Resize = 2;
    option.FixSize = {1600, 2263};
    option.KeepRate = 1;
    option.OnlySmall = 1;
    CPageRecord entry;
    for (auto _ : state) {
        const QImage canvas = ResizeOntoCanvas(WorkingPage(false), option, 1, entry);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

void BM_AdjustColors(benchmark::State& state, bool picture)
{
    CAdjustOption option;
    option.GrayText = 1;
    option.BrightText = -40;
    option.BackUnify = 1;
    option.GrayPict = 1;
    option.BrightPict = 150;
    for (auto _ : state) {
        state.PauseTiming();
        QImage page = WorkingPage(picture).copy();
        state.ResumeTiming();
        AdjustColors(page, option, picture ? 2 : 1, nullptr);
        benchmark::DoNotOptimize(page.constBits());
    }
}

void BM_QuantiseToPalette(benchmark::State& state, int mode, int pixelFormat)
{
    const QImage& page = AdjustedPage();
    for (auto _ : state) {
        CIndexedImage target(page.width(), page.height(), pixelFormat);
        benchmark::DoNotOptimize(QuantiseToPalette(page, target, mode, nullptr));
    }
    QSet<QRgb> colours;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            colours.insert(page.pixel(x, y));
    state.counters["colours"] = static_cast<double>(colours.size());
}

}  // namespace

BENCHMARK(BM_ResizeOntoCanvas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdjustColors, Text, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AdjustColors, Picture, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode0_8bpp, 0, PixelFormat8bppIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode1_8bpp, 1, PixelFormat8bppIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode2_8bpp, 2, PixelFormat8bppIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode0_4bpp, 0, PixelFormat4bppIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode1_4bpp, 1, PixelFormat4bppIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_QuantiseToPalette, Mode2_4bpp, 2, PixelFormat4bppIndexed)->Unit(benchmark::kMillisecond);
