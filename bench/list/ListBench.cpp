// Measures the list on the user-interface thread: sorting 3000 entries by
// file name and by the automatic-adjustment column, painting one screen of
// about 20 rows with 96 px thumbnails and every column shown, and naming the
// outputs of 3000 entries that share one title and one output folder.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QRandomGenerator>

#include "imagelist/ColumnTable.h"
#include "imagelist/ImageListCtrl.h"

namespace {

constexpr int kEntries = 3000;

// A list filled with analysed entries in a shuffled order.
class CBenchList {
public:
    CBenchList() : m_list(m_option)
    {
        QRandomGenerator random(15);
        const QImage thumb = Thumb();
        for (int i = 0; i < kEntries; ++i) {
            auto info = std::make_unique<CImageInfo>();
            info->m_strPath = QStringLiteral("/scans/book/page%1.jpg").arg(random.bounded(kEntries));
            info->m_strOrigin = info->m_strPath;
            info->m_nPageKind = 1 + random.bounded(2);
            info->m_dSlantAngle = random.bounded(8) * 0.25 - 1.0;
            if (random.bounded(2) == 0)
                info->m_rcMarginPx = {1, 2, 3, 4};
            info->m_pSrcThumb = new QImage(thumb);
            info->m_pAdjThumb = new QImage(thumb);
            m_list.AppendEntry(std::move(info));
        }
        m_list.UpdateFileCount();
    }

    static QImage Thumb()
    {
        QImage thumb(136, 192, QImage::Format_RGB32);  // a page thumbnail as stored
        thumb.fill(QColor(230, 225, 210));
        return thumb;
    }

    CAdjustOption m_option;
    CImageListCtrl m_list;
};

void SortBy(benchmark::State& state, int controlColumn)
{
    CBenchList bench;
    BOOL ascending = 1;
    for (auto _ : state) {
        bench.m_list.Sort(controlColumn, ascending, 0);
        ascending = !ascending;
    }
}

void BM_SortByFileName(benchmark::State& state)
{
    SortBy(state, ColumnTable.ControlIndexOf(COLUMN_FILE_NAME));
}
BENCHMARK(BM_SortByFileName)->Unit(benchmark::kMillisecond);

void BM_SortByAutomaticAdjustment(benchmark::State& state)
{
    SortBy(state, ColumnTable.ControlIndexOf(COLUMN_AUTO));
}
BENCHMARK(BM_SortByAutomaticAdjustment)->Unit(benchmark::kMillisecond);

void BM_PaintOneScreen(benchmark::State& state)
{
    CBenchList bench;
    bench.m_list.ShowColumn(COLUMN_FILE_PATH, 1);
    bench.m_list.ShowColumn(COLUMN_MODIFIED, 1);
    bench.m_list.SetThumbSize(1);
    bench.m_list.resize(1400, 20 * bench.m_list.MeasureItem() + 30);
    bench.m_list.show();
    QImage screen(bench.m_list.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        bench.m_list.viewport()->render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMillisecond);

// Every entry but the first gets a numbered name; this runs before each
// execute job after an intake or removal.
void BM_PrepareSaveSameTitles(benchmark::State& state)
{
    CAdjustOption option;
    option.SaveDirType = 2;
    option.SaveAnyDir = QStringLiteral("/out");
    option.OwPrompt = 0;
    CImageListCtrl list(option);
    for (int i = 0; i < kEntries; ++i) {
        auto info = std::make_unique<CImageInfo>();
        info->m_strPath = QStringLiteral("/scans/d%1/scan.png").arg(i);
        info->m_strOrigin = info->m_strPath;
        list.AppendEntry(std::move(info));
    }
    for (auto _ : state) {
        list.ClearOutputNames();
        benchmark::DoNotOptimize(list.PrepareSave());
    }
}
BENCHMARK(BM_PrepareSaveSameTitles)->Unit(benchmark::kMillisecond);

}  // namespace
