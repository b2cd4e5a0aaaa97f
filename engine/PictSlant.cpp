#include "engine/PictSlant.h"

#include "engine/DarkScan.h"
#include "engine/PageGeometry.h"
#include "engine/PageRecord.h"
#include "engine/TextSlant.h"

#include <QPoint>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRowPercents[] = {0, 14, 28, 42, 57, 71, 85, 100};
constexpr double kMaxEdgeAngle = 45.0;

struct CVector {
    double dx = 0.0;
    double dy = 0.0;
};

// The first dark pixel of each sample row, top to bottom; false when cancelled.
bool SampleLeftEdge(const QImage& bitmap, int limit, std::vector<QPoint>& points, const CancelFlag* cancel)
{
    QImage image = bitmap;
    CBitmapLock lock;
    const int bpp = LockRgbForReading(image, lock);
    const unsigned width = lock.m_data.Width;
    const unsigned height = lock.m_data.Height;
    for (const int percent : kSampleRowPercents) {
        if (IsCancelled(cancel))
            return false;
        if (bpp == 0)
            continue;
        const auto y = static_cast<unsigned>((height - 1ULL) * static_cast<unsigned>(percent) / 100u);
        const uchar* row = lock.Row(static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            if (IsDarkRgb(row + static_cast<size_t>(x) * bpp, limit)) {
                points.emplace_back(static_cast<int>(x), static_cast<int>(y));
                break;
            }
        }
    }
    return true;
}

// The edges of the hull's left boundary: pairs of points with no sample
// point to the left of the line from the upper one down to the lower one.
bool LeftHullEdges(const std::vector<QPoint>& points, std::vector<CVector>& edges, const CancelFlag* cancel)
{
    const int n = static_cast<int>(points.size());
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (IsCancelled(cancel))
                return false;
            const QPoint& pi = points[static_cast<size_t>(i)];
            const QPoint& pj = points[static_cast<size_t>(j)];
            const long long dx = pj.x() - pi.x();
            const long long dy = pj.y() - pi.y();
            bool edge = true;
            for (int k = 0; k < n && edge; ++k) {
                if (IsCancelled(cancel))
                    return false;
                if (k == i || k == j)
                    continue;
                const QPoint& pk = points[static_cast<size_t>(k)];
                edge = (pk.y() - pi.y()) * dx - (pk.x() - pi.x()) * dy <= 0;
            }
            if (edge)
                edges.push_back({static_cast<double>(dx), static_cast<double>(dy)});
        }
    }
    return true;
}

double EdgeAngle(const CVector& edge)
{
    return FoldAngle(std::atan2(edge.dx, edge.dy) * 180.0 / std::numbers::pi);
}

// The steepest edge (smallest absolute angle) counts, and only when it is
// within 45 degrees of the vertical: a lone edge beyond that is as spurious
// as several, and turning a page by it would wreck it.
double SlantOfEdges(const std::vector<CVector>& edges)
{
    double best = 180.0;
    for (const CVector& edge : edges) {
        const double angle = EdgeAngle(edge);
        if (std::abs(angle) < std::abs(best))
            best = angle;
    }
    return std::abs(best) <= kMaxEdgeAngle ? best : 0.0;
}

}  // namespace

void MeasureSlantAngle(const QImage& bitmap, const CAdjustOption& option, int pageKind, CPageRecord& info,
                       const CancelFlag* cancel)
{
    if (pageKind == kTextPage) {
        if (DetectTextSlant(bitmap, option, info, cancel) == 0)
            info.m_dSlantAngle = 0.0;
        return;
    }
    if (pageKind != kPictPage)
        return;
    std::vector<QPoint> points;
    points.reserve(std::size(kSampleRowPercents));
    std::vector<CVector> edges;
    if (!SampleLeftEdge(bitmap, 3 * option.BackBorder, points, cancel) || !LeftHullEdges(points, edges, cancel))
        return;
    info.m_dSlantAngle = SlantOfEdges(edges);
}
