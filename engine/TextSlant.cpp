#include "engine/TextSlant.h"

#include "engine/DarkScan.h"
#include "engine/PageGeometry.h"
#include "engine/PageRecord.h"
#include "engine/ShellSort.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kDefaultGridCells = 164;
constexpr int kMaxLineWidth = 28;       // cells across a line-shaped group
constexpr int kMaxMeasuredWidth = 8;    // cells across a measurable line
constexpr int kMinMeasuredLength = 28;  // lines along a measurable line
constexpr int kMeanWindow = 12;         // lines averaged at each end
constexpr double kMaxLineAngle = 45.0;

// Marks every cell that holds a dark pixel. The image is walked row by row in
// memory; a cell already known to be dark is skipped, which gives the same
// grid as scanning each cell up to its first dark pixel.
template <int Bpp>
bool MarkDarkCells(const CBitmapLock& lock, int limit, const std::vector<int>& xb, const std::vector<int>& yb,
                   std::vector<int>& grid, const CancelFlag* cancel)
{
    const int cols = static_cast<int>(xb.size()) - 1;
    const int rows = static_cast<int>(yb.size()) - 1;
    for (int r = 0; r < rows; ++r) {
        int* cells = grid.data() + static_cast<qptrdiff>(r) * cols;
        int open = cols;
        for (int y = yb[r]; y < yb[r + 1] && open > 0; ++y) {
            if (IsCancelled(cancel))
                return false;
            const uchar* row = lock.Row(y);
            for (int c = 0; c < cols; ++c) {
                if (cells[c] != 0)
                    continue;
                const uchar* p = row + static_cast<qptrdiff>(xb[c]) * Bpp;
                const uchar* end = row + static_cast<qptrdiff>(xb[c + 1]) * Bpp;
                for (; p < end; p += Bpp) {
                    if (IsDarkRgb(p, limit)) {
                        cells[c] = 1;
                        --open;
                        break;
                    }
                }
            }
        }
    }
    return true;
}

// Pixel bounds of the cells along one axis: cell i covers [b[i], b[i + 1]).
std::vector<int> CellBounds(int cells, int pixels)
{
    std::vector<int> bounds(static_cast<size_t>(cells) + 1);
    for (int i = 0; i <= cells; ++i)
        bounds[static_cast<size_t>(i)] = static_cast<int>(static_cast<double>(i) * pixels / cells);
    return bounds;
}

bool BuildCellGrid(const QImage& bitmap, int limit, int cols, int rows, std::vector<int>& grid,
                   const CancelFlag* cancel)
{
    QImage image = bitmap;  // shared handle; read locks do not detach it
    CBitmapLock lock;
    const int bpp = LockRgbForReading(image, lock);
    grid.assign(static_cast<size_t>(cols) * rows, 0);
    const std::vector<int> xb = CellBounds(cols, static_cast<int>(lock.m_data.Width));
    const std::vector<int> yb = CellBounds(rows, static_cast<int>(lock.m_data.Height));
    if (bpp == 4)
        return MarkDarkCells<4>(lock, limit, xb, yb, grid, cancel);
    if (bpp == 3)
        return MarkDarkCells<3>(lock, limit, xb, yb, grid, cancel);
    return !IsCancelled(cancel);
}

// One pass over the labelled grid, in the direction of the lines it looks
// for: the vertical pass takes grid rows as the steps along a line and grid
// columns across it, the horizontal pass the other way round.
struct PassAxes {
    bool vertical;
    int steps;   // grid rows (vertical) or columns (horizontal)
    int across;  // grid columns (vertical) or rows (horizontal)
    int cols;
    int Index(int step, int pos) const { return vertical ? step * cols + pos : pos * cols + step; }

    // Calls visit(step, pos, label) for every labelled cell in the pass's
    // order, polling the cancel flag at every step; false when cancelled.
    template <typename Visit>
    bool ForEachLabelled(const std::vector<int>& grid, const CancelFlag* cancel, Visit&& visit) const
    {
        for (int step = 0; step < steps; ++step) {
            if (IsCancelled(cancel))
                return false;
            for (int pos = 0; pos < across; ++pos) {
                const int label = grid[static_cast<size_t>(Index(step, pos))];
                if (label >= 2)
                    visit(step, pos, label);
            }
        }
        return true;
    }
};

struct GroupStats {
    int firstStep = -1;
    int lastStep = -1;
    int width = 0;  // greatest span across in one step
    int cells = 0;
    int curFirst = 0;  // span of the step being read
    int curLast = 0;
    bool centre = false;
    bool border = false;
    int offset = 0;  // first entry in the means buffer; -1 when not measured
};

struct PassResult {
    long long total = 0;
    long long lineCells = 0;
    std::vector<USLANTDATA> list;
};

bool InWindow(int r, int c, int rows, int cols)
{
    return rows / 4 <= r && r <= 3 * rows / 4 && cols / 4 <= c && c <= 3 * cols / 4;
}

bool RunPass(const std::vector<int>& grid, int cols, int rows, int labels, bool vertical, double cellAlong,
             double cellAcross, PassResult& result, const CancelFlag* cancel)
{
    const PassAxes axes{vertical, vertical ? rows : cols, vertical ? cols : rows, cols};
    std::vector<GroupStats> groups(static_cast<size_t>(labels));
    const auto closeStep = [](GroupStats& g) { g.width = std::max(g.width, g.curLast - g.curFirst + 1); };
    const bool scanned = axes.ForEachLabelled(grid, cancel, [&](int step, int pos, int label) {
        GroupStats& g = groups[static_cast<size_t>(label - 2)];
        if (g.lastStep != step) {
            if (g.lastStep >= 0)
                closeStep(g);
            if (g.firstStep < 0)
                g.firstStep = step;
            g.lastStep = step;
            g.curFirst = pos;
        }
        g.curLast = pos;
        ++g.cells;
        const int r = vertical ? step : pos;
        const int c = vertical ? pos : step;
        g.centre = g.centre || InWindow(r, c, rows, cols);
        g.border = g.border || r == 0 || r == rows - 1 || c == 0 || c == cols - 1;
    });
    if (!scanned)
        return false;
    // Which groups are line-shaped and long and thin enough to measure.
    int entries = 0;
    for (GroupStats& g : groups) {
        if (g.firstStep < 0)
            continue;
        closeStep(g);
        g.offset = -1;
        if (g.border && !g.centre)
            continue;
        result.total += g.cells;
        const int length = g.lastStep - g.firstStep + 1;
        if (length < 3 * g.width || g.width > kMaxLineWidth)
            continue;
        result.lineCells += g.cells;
        if (length >= kMinMeasuredLength && g.width <= kMaxMeasuredWidth) {
            g.offset = entries;
            entries += length;  // a group is connected, so every step holds cells
        }
    }
    if (entries == 0)
        return !IsCancelled(cancel);
    // The mean position across the line in every step of the measured groups.
    std::vector<double> sums(static_cast<size_t>(entries), 0.0);
    std::vector<int> counts(static_cast<size_t>(entries), 0);
    const bool summed = axes.ForEachLabelled(grid, cancel, [&](int step, int pos, int label) {
        const GroupStats& g = groups[static_cast<size_t>(label - 2)];
        if (g.offset < 0)
            return;
        const size_t at = static_cast<size_t>(g.offset + step - g.firstStep);
        sums[at] += pos;
        ++counts[at];
    });
    if (!summed)
        return false;
    const double sign = vertical ? 1.0 : -1.0;  // rows grow downwards
    for (const GroupStats& g : groups) {
        if (g.firstStep < 0 || g.offset < 0)
            continue;
        const int m = g.lastStep - g.firstStep + 1;
        const auto mean = [&](int from) {
            double sum = 0.0;
            for (int i = from; i < from + kMeanWindow; ++i)
                sum += sign * sums[static_cast<size_t>(g.offset + i)] / counts[static_cast<size_t>(g.offset + i)];
            return sum / kMeanWindow;
        };
        const double a = mean(1);
        const double b = mean(m - 13);
        const double angle =
            FoldAngle(std::atan2((b - a) * cellAcross, (m - 14) * cellAlong) * 180.0 / std::numbers::pi);
        if (-kMaxLineAngle <= angle && angle <= kMaxLineAngle)
            result.list.push_back({static_cast<double>(g.width) / m, angle});
    }
    return true;
}

double MeanOfThinnest(const std::vector<USLANTDATA>& list)
{
    const int n = static_cast<int>(list.size());
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[static_cast<size_t>(i)] = i;
    ShellSort(order.data(), n, [&list](int i, int j) { return CompareSlantRatio(i, j, list); });
    const int k = SlantSampleCount(n);
    double sum = 0.0;
    for (int i = 0; i < k; ++i)
        sum += list[static_cast<size_t>(order[static_cast<size_t>(i)])].angle;
    return sum / k;
}

}  // namespace

void GetTextGridSize(int width, int height, const CAdjustOption& option, int& cols, int& rows)
{
    const long long w = std::max(width, 1);
    const long long h = std::max(height, 1);
    long long c = 0;
    long long r = 0;
    if (option.LinePerPage > 0) {
        const long long n = 8LL * option.LinePerPage + 28;
        const int dir = option.WritingDir != 0 ? option.WritingDir : (w < h ? 1 : 2);
        if (dir == 1) {
            c = n;
            r = n * h / w;
        } else {
            r = n;
            c = n * w / h;
        }
    } else if (w < h) {
        c = kDefaultGridCells;
        r = kDefaultGridCells * h / w;
    } else {
        r = kDefaultGridCells;
        c = kDefaultGridCells * w / h;
    }
    // Cells smaller than a pixel only leave empty gaps that split every group,
    // so a grid finer than the image is scaled down to it, keeping its shape.
    const double fit =
        std::min({1.0, static_cast<double>(w) / std::max(c, 1LL), static_cast<double>(h) / std::max(r, 1LL)});
    if (fit < 1.0) {
        c = std::clamp(std::llround(static_cast<double>(c) * fit), 1LL, w);
        r = std::clamp(std::llround(static_cast<double>(r) * fit), 1LL, h);
    }
    c = std::max(c, 1LL);
    r = std::max(r, 1LL);
    if (c * r > kMaxTextCells) {
        const double shrink = std::sqrt(static_cast<double>(kMaxTextCells) / static_cast<double>(c * r));
        c = std::max(1LL, static_cast<long long>(static_cast<double>(c) * shrink));
        r = std::max(1LL, static_cast<long long>(static_cast<double>(r) * shrink));
        // A side held at one cell leaves the whole budget to the other.
        c = std::min(c, kMaxTextCells);
        r = std::min(r, kMaxTextCells / c);
        c = std::min(c, kMaxTextCells / r);
    }
    cols = static_cast<int>(c);
    rows = static_cast<int>(r);
}

void FloodFillCells(std::vector<int>& grid, int cols, int rows, int x, int y, int label)
{
    const int seed = y * cols + x;
    if (grid[static_cast<size_t>(seed)] != 1)
        return;
    std::vector<int> queue{seed};
    grid[static_cast<size_t>(seed)] = label;
    const auto visit = [&](int index) {
        if (grid[static_cast<size_t>(index)] == 1) {
            grid[static_cast<size_t>(index)] = label;
            queue.push_back(index);
        }
    };
    for (size_t i = 0; i < queue.size(); ++i) {
        const int index = queue[i];
        const int r = index / cols;
        const int c = index % cols;
        if (c > 0)
            visit(index - 1);
        if (c < cols - 1)
            visit(index + 1);
        if (r > 0)
            visit(index - cols);
        if (r < rows - 1)
            visit(index + cols);
    }
}

int CompareSlantRatio(int i, int j, const std::vector<USLANTDATA>& list)
{
    const double a = list[static_cast<size_t>(i)].ratio;
    const double b = list[static_cast<size_t>(j)].ratio;
    return a > b ? 1 : (a == b ? 0 : -1);
}

int SlantSampleCount(int n)
{
    const int k = n / 2;
    return k < 3 ? std::min(n, 3) : k;
}

int DetectTextSlant(const QImage& bitmap, const CAdjustOption& option, CPageRecord& info, const CancelFlag* cancel)
{
    if (bitmap.isNull())
        return 0;
    const int width = bitmap.width();
    const int height = bitmap.height();
    int cols = 0;
    int rows = 0;
    GetTextGridSize(width, height, option, cols, rows);
    std::vector<int> grid;
    if (!BuildCellGrid(bitmap, 3 * option.BackBorder, cols, rows, grid, cancel))
        return 0;

    int label = 2;
    for (int r = 0; r < rows; ++r) {
        if (IsCancelled(cancel))
            return 0;
        for (int c = 0; c < cols; ++c) {
            if (grid[static_cast<size_t>(r) * cols + c] == 1)
                FloodFillCells(grid, cols, rows, c, r, label++);
        }
    }
    if (IsCancelled(cancel))
        return 0;

    const double cellW = static_cast<double>(width) / cols;
    const double cellH = static_cast<double>(height) / rows;
    const int labels = label - 2;
    PassResult vert;
    PassResult horz;
    const int dir = option.WritingDir;
    if ((dir == 0 || dir == 1) && !RunPass(grid, cols, rows, labels, true, cellH, cellW, vert, cancel))
        return 0;
    if ((dir == 0 || dir == 2) && !RunPass(grid, cols, rows, labels, false, cellW, cellH, horz, cancel))
        return 0;
    const long long total = std::max(vert.total, horz.total);
    info.m_nTotalCells = static_cast<int>(total);
    info.m_nVertCells = static_cast<int>(vert.lineCells);
    info.m_nHorzCells = static_cast<int>(horz.lineCells);

    if (total < 1)
        return 0;
    const std::vector<USLANTDATA>* list = nullptr;
    switch (dir) {
    case 0:
        if (3 * vert.lineCells < total && 3 * horz.lineCells < total)
            return 0;
        list = vert.lineCells >= horz.lineCells ? &vert.list : &horz.list;
        break;
    case 1:
        if (3 * vert.lineCells < total)
            return 0;
        list = &vert.list;
        break;
    case 2:
        if (3 * horz.lineCells < total)
            return 0;
        list = &horz.list;
        break;
    default:
        return 0;
    }
    info.m_dSlantAngle = list->empty() ? 0.0 : MeanOfThinnest(*list);
    return 1;
}
