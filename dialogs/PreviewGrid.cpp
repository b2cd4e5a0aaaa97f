#include "dialogs/PreviewGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// Display position of image pixel i at a zoom.
int ZoomedPosition(int origin, int zoom, qint64 i)
{
    return origin + static_cast<int>(zoom * i / 100);
}

// The first multiple of step, at least step, whose display position may reach
// lowest: lines before it would be drawn outside the client anyway.
qint64 FirstGridIndex(int step, int zoom, int origin, int lowest)
{
    const qint64 skipped = (static_cast<qint64>(lowest - origin) * 100 / zoom) / step - 1;
    return std::max<qint64>(skipped, 1) * step;
}

// Lines across one axis: position along the axis from the image index, the
// line runs over the other axis from `from` to `to`.
void AddZoomLines(QList<GridLine>& lines, bool vertical, int length, int zoom, int origin, int low, int high, int from,
                  int to)
{
    const int step = GetGridStep(zoom);
    for (qint64 i = FirstGridIndex(step, zoom, origin, low); i < length; i += step) {
        const int at = ZoomedPosition(origin, zoom, i);
        if (at >= high)
            break;
        if (at < low)
            continue;
        const bool solid = i % (5 * step) == 0;
        lines.append({vertical ? QLine(at, from, at, to) : QLine(from, at, to, at), solid});
    }
}

int Percent(int p, int length)
{
    return static_cast<int>(std::lround(p * static_cast<double>(length) / 100));
}

}  // namespace

int GetGridStep(int zoom)
{
    if (zoom <= 100)
        return 100;
    return zoom < 1000 ? 10 : 1;
}

QList<GridLine> ZoomGridLines(QSize imageSize, int zoom, QPoint origin, QSize displaySize, const QRect& client)
{
    QList<GridLine> lines;
    if (zoom < 1)
        return lines;
    AddZoomLines(lines, true, imageSize.width(), zoom, origin.x(), client.left(), client.left() + client.width(),
                 origin.y(), origin.y() + displaySize.height());
    AddZoomLines(lines, false, imageSize.height(), zoom, origin.y(), client.top(), client.top() + client.height(),
                 origin.x(), origin.x() + displaySize.width());
    return lines;
}

QList<GridLine> FitGridLines(QPoint origin, QSize displaySize)
{
    const int left = origin.x(), top = origin.y();
    const int right = left + displaySize.width(), bottom = top + displaySize.height();
    QList<GridLine> lines;
    for (int p = 5; p <= 50; p += 5) {
        const int x = left + Percent(p, displaySize.width()), y = top + Percent(p, displaySize.height());
        lines.append({QLine(x, top, x, bottom), p % 10 == 0});
        lines.append({QLine(left, y, right, y), p % 10 == 0});
    }
    for (int p = 5; p <= 45; p += 5) {
        const int x = right - Percent(p, displaySize.width()), y = bottom - Percent(p, displaySize.height());
        lines.append({QLine(x, top, x, bottom), p % 10 == 0});
        lines.append({QLine(left, y, right, y), p % 10 == 0});
    }
    return lines;
}

std::array<QRect, 4> BackgroundMargins(const QRect& client, const QRect& image)
{
    const int left = client.left(), top = client.top();
    const int right = left + client.width(), bottom = top + client.height();
    const int ox = image.left(), oy = image.top();
    const int ix = ox + image.width(), iy = oy + image.height();
    // Each from its edges, end exclusive; a negative extent means empty.
    const auto span = [](int l, int t, int r, int b) { return r > l && b > t ? QRect(l, t, r - l, b - t) : QRect(); };
    return {span(left, top, ox, bottom), span(ix, top, right, bottom), span(left, top, right, oy),
            span(left, iy, right, bottom)};
}
