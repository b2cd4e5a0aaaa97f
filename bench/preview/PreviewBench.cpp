// Repaint, wheel zoom and scroll of one preview view over an A4 300 dpi page.
#include <benchmark/benchmark.h>

#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>

#include "ScannedPage.h"
#include "dialogs/PreviewCtrl.h"

namespace {

// Adds up the area of every paint event the view's viewport receives.
class PaintedArea : public QObject {
public:
    qint64 pixels = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect& rect : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<qint64>(rect.width()) * rect.height();
        }
        return false;
    }
};

// A shown view whose viewport is 1000 x 800 pixels, holding the page.
class ViewOnPage {
public:
    explicit ViewOnPage(int zoom)
    {
        static const QImage page = ScannedA4Page(false);
        view.resize(1000 + view.frameWidth() * 2, 800 + view.frameWidth() * 2);
        view.show();
        (void)QTest::qWaitForWindowExposed(&view);
        view.SetBitmap(page);
        view.SetZoom(zoom, Centre());
        view.viewport()->repaint();
    }
    QPoint Centre() const { return view.viewport()->mapToGlobal(view.viewport()->rect().center()); }

    CPreviewCtrl view;
};

void BM_RepaintAtFit(benchmark::State& state)
{
    ViewOnPage page(0);
    for (auto _ : state)
        page.view.viewport()->repaint();
    state.counters["viewport_px"] = page.view.viewport()->width() * page.view.viewport()->height();
}
BENCHMARK(BM_RepaintAtFit)->Unit(benchmark::kMillisecond);

void BM_RepaintAt100(benchmark::State& state)
{
    ViewOnPage page(100);
    for (auto _ : state)
        page.view.viewport()->repaint();
}
BENCHMARK(BM_RepaintAt100)->Unit(benchmark::kMillisecond);

// One wheel step: the new display size, the bars and the repaint; in and out
// by turns between 100 % and 200 %.
void BM_WheelZoomStep(benchmark::State& state)
{
    ViewOnPage page(100);
    bool in = true;
    for (auto _ : state) {
        if (in)
            page.view.ZoomIn(page.Centre());
        else
            page.view.ZoomOut(page.Centre());
        in = !in;
        page.view.viewport()->repaint();
    }
}
BENCHMARK(BM_WheelZoomStep)->Unit(benchmark::kMillisecond);

// A 20-pixel scroll at 100 %, flushed: the pixels painted per step against
// the whole viewport.
void BM_Scroll20(benchmark::State& state)
{
    ViewOnPage page(100);
    PaintedArea painted;
    page.view.viewport()->installEventFilter(&painted);
    int steps = 0;
    int direction = 20;
    for (auto _ : state) {
        if (page.view.GetScroll().x() + direction > page.view.horizontalScrollBar()->maximum() ||
            page.view.GetScroll().x() + direction < 0)
            direction = -direction;
        page.view.ScrollHorz(direction);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        ++steps;
    }
    state.counters["painted_px_per_step"] = static_cast<double>(painted.pixels) / steps;
    state.counters["viewport_px"] = page.view.viewport()->width() * page.view.viewport()->height();
}
BENCHMARK(BM_Scroll20)->Unit(benchmark::kMillisecond);

}  // namespace
