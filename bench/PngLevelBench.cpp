#include <benchmark/benchmark.h>

#include "ScannedPage.h"
#include "platform/PngFilter.h"

#include <libdeflate.h>
#include <zlib.h>

#include <memory>
#include <vector>

// The compression of a page's filtered PNG rows alone, by libdeflate at each
// level and by zlib at level 3 for comparison: the table the PNG writer's
// level was chosen from. "ratio" is the compressed size over the rows' size.
namespace {

struct Pages {
    QImage grainyText = ScannedA4Page(false).convertToFormat(QImage::Format_BGR888);
    QImage grainyPicture = ScannedA4Page(true).convertToFormat(QImage::Format_BGR888);
    QImage cleanText = GeneratePage(A4TextPage(false, 0.0)).image.convertToFormat(QImage::Format_BGR888);
    QImage cleanPicture = GeneratePage(A4PicturePage(0.5)).image.convertToFormat(QImage::Format_BGR888);
};

const QImage& Page(int which)
{
    static const Pages pages;
    const QImage* all[] = {&pages.grainyText, &pages.grainyPicture, &pages.cleanText, &pages.cleanPicture};
    return *all[which];
}

PngRows Filtered(const QImage& page)
{
    EncoderImage image;
    image.width = page.width();
    image.height = page.height();
    image.bitsPerPixel = 24;
    image.scan0 = page.constBits();
    image.stride = page.bytesPerLine();
    return FilterPngRows(image);
}

void BM_PngFilterRows(benchmark::State& state)
{
    const QImage& page = Page(static_cast<int>(state.range(0)));
    double residue = 0.0;
    for (auto _ : state) {
        PngRows rows = Filtered(page);
        residue = static_cast<double>(rows.residue) / static_cast<double>(rows.size);
    }
    state.counters["residue_per_byte"] = residue;
}

void BM_Libdeflate(benchmark::State& state)
{
    const PngRows rows = Filtered(Page(static_cast<int>(state.range(0))));
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(static_cast<int>(state.range(1)));
    const size_t bound = libdeflate_zlib_compress_bound(compressor, rows.size);
    std::vector<unsigned char> out(bound);
    size_t size = 0;
    for (auto _ : state)
        size = libdeflate_zlib_compress(compressor, rows.bytes.get(), rows.size, out.data(), bound);
    libdeflate_free_compressor(compressor);
    state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(rows.size);
}

void BM_Zlib(benchmark::State& state)
{
    const PngRows rows = Filtered(Page(static_cast<int>(state.range(0))));
    uLongf size = compressBound(static_cast<uLong>(rows.size));
    std::vector<Bytef> out(size);
    for (auto _ : state) {
        size = static_cast<uLongf>(out.size());
        compress2(out.data(), &size, rows.bytes.get(), static_cast<uLong>(rows.size), static_cast<int>(state.range(1)));
    }
    state.counters["ratio"] = static_cast<double>(size) / static_cast<double>(rows.size);
}

}  // namespace

// Pages: 0 grainy text, 1 grainy picture, 2 clean text, 3 clean picture (the job benchmark's pages).
BENCHMARK(BM_PngFilterRows)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libdeflate)->ArgsProduct({{0, 1, 2, 3}, {1, 2, 3, 4, 6}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib)->ArgsProduct({{0, 1, 2, 3}, {3}})->Unit(benchmark::kMillisecond);
