#include <benchmark/benchmark.h>

#include "engine/Margins.h"
#include "engine/PageRecord.h"
#include "engine/PictSlant.h"
#include "engine/Rotate.h"
#include "engine/TextSlant.h"
#include "support/PageGenerator.h"

namespace {

// A4 300 dpi pages, made once: a slanted text page and a picture page, both
// with a dark scanner rim and a few spots for the margin search.
const GeneratedPage& Page(bool text)
{
    const auto make = [](PageSpec spec) {
        spec.rimEdges = EdgeLeft | EdgeBottom;
        spec.rimOffset = 1;
        spec.spots = {{QPoint(120, 700), QSize(4, 4)}, {QPoint(1500, 150), QSize(3, 5)}};
        return GeneratePage(spec);
    };
    static const GeneratedPage textPage = make(A4TextPage(false, 2.0));
    static const GeneratedPage picturePage = make(A4PicturePage(2.0));
    return text ? textPage : picturePage;
}

void BM_DetectTextSlant(benchmark::State& state, bool text)
{
    const QImage& image = Page(text).image;
    const CAdjustOption option;
    for (auto _ : state) {
        CPageRecord info;
        benchmark::DoNotOptimize(DetectTextSlant(image, option, info, nullptr));
    }
}

void BM_MeasureSlantAngle(benchmark::State& state, bool text)
{
    const QImage& image = Page(text).image;
    const CAdjustOption option;
    for (auto _ : state) {
        CPageRecord info;
        MeasureSlantAngle(image, option, text ? 1 : 2, info, nullptr);
        benchmark::DoNotOptimize(info.m_dSlantAngle);
    }
}

void BM_RotateBitmap(benchmark::State& state, bool text)
{
    const QImage& image = Page(text).image;
    for (auto _ : state) {
        QImage turned = RotateBitmap(image, -2.0);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

// A loaded opaque page arrives in 24-bit form.
void BM_RotateBitmap24(benchmark::State& state)
{
    const QImage image = Page(true).image.convertToFormat(QImage::Format_BGR888);
    for (auto _ : state) {
        QImage turned = RotateBitmap(image, -2.0);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

// Margin detection with shadow clearing on the rotated working image; the
// clearing reaches a fresh copy each time, which is made outside the timing.
void BM_DetectMargins(benchmark::State& state, bool text)
{
    const QImage working = RotateBitmap(Page(text).image, -2.0);
    CAdjustOption option;
    const int k = text ? 0 : 1;
    option.IgnoreShadow[k] = 1;
    option.ShadowClear[k] = 1;
    for (auto _ : state) {
        state.PauseTiming();
        QImage image = working.copy();
        state.ResumeTiming();
        CPageRecord info;
        DetectMargins(image, option, text ? 1 : 2, info, nullptr);
        benchmark::DoNotOptimize(info.m_rcMarginPx);
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_DetectTextSlant, A4_text, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetectTextSlant, A4_picture, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureSlantAngle, A4_picture, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RotateBitmap, A4_text, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RotateBitmap, A4_picture, false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateBitmap24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetectMargins, A4_text, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetectMargins, A4_picture, false)->Unit(benchmark::kMillisecond);
