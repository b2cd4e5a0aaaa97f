#include "engine/Margins.h"

#include "engine/PageGeometry.h"
#include "engine/PageRecord.h"
#include "platform/PixelFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The part of the page inside the maximum margins; null when they overlap.
QRect InnerRect(const RECT& max, int width, int height)
{
    const QRect inner(QPoint(max.left, max.top), QPoint(width - 1 - max.right, height - 1 - max.bottom));
    return inner.isValid() ? inner : QRect();
}

int ToPercent(int pixels, int size)
{
    return static_cast<int>(std::lround(pixels * 100.0 / size));
}

// The marks: queued in the running fill, or part of a region that the shadow
// fill found reaching into the page's inner rectangle.
constexpr unsigned char kQueued = 1;
constexpr unsigned char kPageRegion = FillScratch::kPageRegion;

// The locked 32-bit ARGB pixels with the dark-pixel rule and the fill marks.
class CPixelView {
public:
    CPixelView(const CBitmapLock& lock, int backBorder)
        : m_lock(lock),
          m_width(static_cast<int>(lock.m_data.Width)),
          m_height(static_cast<int>(lock.m_data.Height)),
          m_limit(3 * backBorder)
    {
    }

    const CBitmapLock& m_lock;
    const int m_width;
    const int m_height;
    const int m_limit;

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    uchar* At(int x, int y) const { return m_lock.Row(y) + static_cast<qptrdiff>(x) * 4; }
    bool IsDark(const uchar* p) const { return p[3] != 0 && p[0] + p[1] + p[2] < m_limit; }
    bool IsDark(int x, int y) const { return IsDark(At(x, y)); }
    size_t Index(int x, int y) const
    {
        return static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x);
    }

    void PrepareMarks(FillScratch& scratch) const
    {
        const size_t pixels = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
        if (scratch.marks.size() != pixels)
            scratch.marks.assign(pixels, 0);
        scratch.queue.clear();
    }

    // Queues (x, y) when it lies inside, is not queued yet and is dark.
    bool TryQueue(int x, int y, FillScratch& scratch) const
    {
        if (!Inside(x, y))
            return false;
        unsigned char& mark = scratch.marks[Index(x, y)];
        if (mark != 0 || !IsDark(x, y))
            return false;
        mark = kQueued;
        scratch.queue.emplace_back(x, y);
        return true;
    }

    // Sets the marks of all queue entries to value.
    void SetMarks(FillScratch& scratch, unsigned char value) const
    {
        for (const QPoint& at : scratch.queue)
            scratch.marks[Index(at.x(), at.y())] = value;
    }
    void ClearAllMarks(FillScratch& scratch) const { SetMarks(scratch, 0); }

    // Makes the queued pixels transparent, noting them when they are to be put back.
    void EraseQueued(FillScratch& scratch) const
    {
        for (const QPoint& at : scratch.queue) {
            uchar* p = At(at.x(), at.y());
            if (scratch.keepErased) {
                quint32 value;
                std::memcpy(&value, p, 4);
                scratch.erased.emplace_back(at, value);
            }
            std::memset(p, 0, 4);
        }
    }

    void PutBackErased(FillScratch& scratch) const
    {
        for (const auto& [at, value] : scratch.erased)
            std::memcpy(At(at.x(), at.y()), &value, 4);
        scratch.erased.clear();
    }
};

// Which pixels of up to 64 neighbouring columns were dark, one bit per column
// in each row, read row by row: a walk down a column of the image itself
// touches another memory page at every pixel. Fills only ever clear pixels, so
// a pixel not dark when read stays so.
class CColumnBand {
public:
    // The bit of column x in Row(), with the band holding x read for rows y0..y1.
    quint64 Bit(const CPixelView& view, int x, int y0, int y1)
    {
        const int first = x & ~63;
        if (first != m_first || y0 != m_y0 || y1 != m_y1)
            Read(view, first, y0, y1);
        return quint64(1) << (x - first);
    }
    quint64 Row(int y) const { return m_rows[static_cast<size_t>(y - m_y0)]; }
    // The bits of the columns with any dark pixel.
    quint64 AnyRow() const { return m_any; }

private:
    static constexpr int kAheadRows = 8;  // rows fetched into the cache ahead of the reading

    void Read(const CPixelView& view, int first, int y0, int y1)
    {
        m_first = first;
        m_y0 = y0;
        m_y1 = y1;
        const int bytes = 4 * std::min(64, view.m_width - first);
        m_rows.assign(static_cast<size_t>(std::max(0, y1 - y0 + 1)), 0);
        m_any = 0;
        for (int y = y0; y <= y1; ++y) {
            if (y + kAheadRows <= y1) {
                const uchar* ahead = view.At(first, y + kAheadRows);
                for (int b = 0; b < bytes; b += 64)
                    __builtin_prefetch(ahead + b);
            }
            const uchar* p = view.At(first, y);
            quint64 dark = 0;
            for (int c = 0; c < bytes / 4; ++c, p += 4)
                dark |= static_cast<quint64>(view.IsDark(p)) << c;
            m_rows[static_cast<size_t>(y - y0)] = dark;
            m_any |= dark;
        }
    }

    int m_first = -1;
    int m_y0 = 0;
    int m_y1 = -1;
    std::vector<quint64> m_rows;
    quint64 m_any = 0;
};

constexpr QPoint kNeighbours[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};  // left, up, right, down

enum class RimFill { Rim, Page, Cancelled };

// Queues the whole dark region of the queue's first entry, unless it reaches
// into inner or joins a region found to do so before: an edge shadow is a rim
// along the edges, never the page itself (tinted paper, a grid of lines).
RimFill GatherRim(const CPixelView& view, const QRect& inner, FillScratch& scratch, const CancelFlag* cancel)
{
    for (size_t i = 0; i < scratch.queue.size(); ++i) {
        if (IsCancelled(cancel))
            return RimFill::Cancelled;
        const QPoint at = scratch.queue[i];
        if (inner.contains(at))
            return RimFill::Page;
        for (const QPoint& step : kNeighbours) {
            const int nx = at.x() + step.x();
            const int ny = at.y() + step.y();
            if (view.Inside(nx, ny) && scratch.marks[view.Index(nx, ny)] == kPageRegion)
                return RimFill::Page;
            view.TryQueue(nx, ny, scratch);
        }
    }
    return RimFill::Rim;
}

// The side searches walk lines inward from the minimum to the maximum margin,
// each line across the rows or columns between the other minimum margins. A
// line or pixel outside the image is never visited.
struct SideSearch {
    const CPixelView& view;
    const CAdjustOption& option;
    int spotSize;
    FillScratch& scratch;
    CBitmapLock& lock;
    const CancelFlag* cancel;
    CColumnBand& band;

    bool IsContent(int x, int y) const
    {
        return view.IsDark(x, y) && IsLargerThanSpot(lock, x, y, option, spotSize, scratch, cancel) == 1;
    }

    // Column x from y0 to y1 (inclusive), or row y from x0 to x1.
    bool ColumnHasContent(int x, int y0, int y1) const
    {
        y0 = std::max(y0, 0);
        y1 = std::min(y1, view.m_height - 1);
        const quint64 bit = band.Bit(view, x, y0, y1);
        if ((band.AnyRow() & bit) == 0)
            return false;  // a blank column
        for (int y = y0; y <= y1 && !IsCancelled(cancel); ++y)
            if ((band.Row(y) & bit) != 0 && IsContent(x, y))
                return true;
        return false;
    }
    bool RowHasContent(int y, int x0, int x1) const
    {
        for (int x = std::max(x0, 0); x <= std::min(x1, view.m_width - 1) && !IsCancelled(cancel); ++x)
            if (IsContent(x, y))
                return true;
        return false;
    }
};

// For each column x0..x1, the first row from y on in steps of dy (1 or -1)
// whose pixel is not transparent, or the row just outside the image (also for
// columns outside it). Read row
// by row over the columns still open, as a walk down a column touches another
// memory page at every pixel. Fills only ever make pixels transparent, so the
// rows before stay transparent and a walk down the column may start there.
std::vector<int> FirstVisibleRows(const CPixelView& view, int x0, int x1, int y, int dy)
{
    const int outside = dy > 0 ? view.m_height : -1;
    std::vector<int> rows(static_cast<size_t>(std::max(0, x1 - x0 + 1)), outside);
    std::vector<int> open;
    for (int x = std::max(x0, 0); x <= std::min(x1, view.m_width - 1); ++x)
        open.push_back(x);
    for (; y >= 0 && y < view.m_height && !open.empty(); y += dy) {
        for (size_t k = 0; k < open.size();) {
            const int x = open[k];
            if (view.At(x, y)[3] == 0) {
                ++k;
                continue;
            }
            rows[static_cast<size_t>(x - x0)] = y;
            open[k] = open.back();
            open.pop_back();
        }
    }
    return rows;
}

int SearchSide(int from, int to, int size, const CancelFlag* cancel, const auto& lineHasContent)
{
    for (int m = std::max(from, 0); m <= std::min(to, size - 1); ++m) {
        if (IsCancelled(cancel))
            return -1;
        if (lineHasContent(m))
            return m;
    }
    return -1;
}

}  // namespace

void ClearEdgeShadow(CBitmapLock& lock, int x, int y, int dx, int dy, const QRect& inner, const CAdjustOption& option,
                     FillScratch& scratch, const CancelFlag* cancel)
{
    const CPixelView view(lock, option.BackBorder);
    bool brightSeen = false;
    for (;;) {
        if (IsCancelled(cancel) || !view.Inside(x, y))
            return;
        const uchar* p = view.At(x, y);
        if (p[3] != 0) {
            if (view.IsDark(p))
                break;
            if (brightSeen)
                return;
            brightSeen = true;
        }
        x += dx;
        y += dy;
    }
    view.PrepareMarks(scratch);
    if (!view.TryQueue(x, y, scratch))
        return;  // part of a region already found to reach inside
    const RimFill fill = GatherRim(view, inner, scratch, cancel);
    if (fill == RimFill::Rim)
        view.EraseQueued(scratch);
    view.SetMarks(scratch, fill == RimFill::Page ? kPageRegion : 0);
    scratch.queue.clear();
}

int IsLargerThanSpot(CBitmapLock& lock, int x, int y, const CAdjustOption& option, int spotSize, FillScratch& scratch,
                     const CancelFlag* cancel)
{
    const CPixelView view(lock, option.BackBorder);
    if (!view.Inside(x, y) || !view.IsDark(x, y))
        return 0;
    if (spotSize < 1)
        return 1;
    view.PrepareMarks(scratch);
    view.TryQueue(x, y, scratch);
    int minX = x, maxX = x, minY = y, maxY = y;
    for (size_t i = 0; i < scratch.queue.size() && !IsCancelled(cancel); ++i) {
        const QPoint at = scratch.queue[i];
        for (const QPoint& step : kNeighbours) {
            const int nx = at.x() + step.x();
            const int ny = at.y() + step.y();
            if (!view.TryQueue(nx, ny, scratch))
                continue;
            minX = std::min(minX, nx);
            maxX = std::max(maxX, nx);
            minY = std::min(minY, ny);
            maxY = std::max(maxY, ny);
            if (maxX - minX + 1 > spotSize || maxY - minY + 1 > spotSize) {
                view.ClearAllMarks(scratch);  // the region stays as it is
                scratch.queue.clear();
                return 1;
            }
        }
    }
    view.EraseQueued(scratch);
    view.ClearAllMarks(scratch);
    scratch.queue.clear();
    return 0;
}

void DetectMargins(QImage& image, const CAdjustOption& option, int pageKind, CPageRecord& info,
                   const CancelFlag* cancel)
{
    if (image.isNull())
        return;
    const int k = pageKind == kPictPage ? 1 : 0;
    const int width = image.width();
    const int height = image.height();
    const RECT min = PercentRectToPixels(option.MgnMinRect[k], width, height);
    const RECT max = PercentRectToPixels(option.MgnMaxRect[k], width, height);
    const RECT def = PercentRectToPixels(option.MgnDefRect[k], width, height);

    // Without ShadowClear the search's erasures are put back afterwards, which
    // costs far less than a copy of the page. An image of another format is
    // searched in a converted copy instead.
    const QImage::Format format = QImageFormatOf(PixelFormat32bppARGB);
    QImage copy;
    QImage* target = &image;
    if (!option.ShadowClear[k] && image.format() != format) {
        copy = image.convertToFormat(format);
        target = &copy;
    }
    CBitmapLock lock;
    if (lock.Lock(target, 1, 1, PixelFormat32bppARGB) != Ok)
        return;
    const CPixelView view(lock, option.BackBorder);
    FillScratch scratch;
    scratch.keepErased = !option.ShadowClear[k];
    const int lastRow = height - min.bottom - 1;
    const int lastCol = width - min.right - 1;

    if (option.IgnoreShadow[k]) {
        const QRect inner = InnerRect(max, width, height);
        const auto clear = [&](int x, int y, int dx, int dy) {
            if (!IsCancelled(cancel))
                ClearEdgeShadow(lock, x, y, dx, dy, inner, option, scratch, cancel);
        };
        for (int y = min.top; y <= lastRow; ++y)
            clear(min.left, y, 1, 0);
        const std::vector<int> fromTop = FirstVisibleRows(view, min.left, lastCol, min.top, 1);
        for (int x = min.left; x <= lastCol; ++x)
            clear(x, fromTop[static_cast<size_t>(x - min.left)], 0, 1);
        for (int y = min.top; y <= lastRow; ++y)
            clear(width - min.right - 1, y, -1, 0);
        const std::vector<int> fromBottom = FirstVisibleRows(view, min.left, lastCol, lastRow, -1);
        for (int x = min.left; x <= lastCol; ++x)
            clear(x, fromBottom[static_cast<size_t>(x - min.left)], 0, -1);
        scratch.ForgetPageRegions();
    }

    CColumnBand band;
    const SideSearch search{view, option, option.SpotDot[k], scratch, lock, cancel, band};
    const int left = SearchSide(min.left, max.left, width, cancel,
                                [&](int x) { return search.ColumnHasContent(x, min.top, lastRow); });
    const int top =
        SearchSide(min.top, max.top, height, cancel, [&](int y) { return search.RowHasContent(y, min.left, lastCol); });
    const int right = SearchSide(min.right, max.right, width, cancel,
                                 [&](int m) { return search.ColumnHasContent(width - 1 - m, min.top, lastRow); });
    const int bottom = SearchSide(min.bottom, max.bottom, height, cancel,
                                  [&](int m) { return search.RowHasContent(height - 1 - m, min.left, lastCol); });
    view.PutBackErased(scratch);
    lock.Unlock();
    if (IsCancelled(cancel))
        return;

    info.m_rcMarginPx = {left >= 0 ? left : def.left, top >= 0 ? top : def.top, right >= 0 ? right : def.right,
                         bottom >= 0 ? bottom : def.bottom};
    info.m_rcMarginPct = {ToPercent(info.m_rcMarginPx.left, width), ToPercent(info.m_rcMarginPx.top, height),
                          ToPercent(info.m_rcMarginPx.right, width), ToPercent(info.m_rcMarginPx.bottom, height)};
}
