#include "dialogs/PreviewGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/Resize.h"

namespace {

constexpr std::array<int, 13> kZoomSteps{25, 50, 75, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};

bool HasImage(QSize image)
{
    return image.width() > 0 && image.height() > 0;
}

}  // namespace

QString GetZoomText(int zoom)
{
    return zoom == 0 ? QStringLiteral("Fit") : QString::asprintf("%d%%", zoom);
}

QSize FitImage(QSize image, QSize client)
{
    int width = 0, height = 0;
    FitSizeKeepingRatio(image.width(), image.height(), client.width(), client.height(), false, width, height);
    return {std::max(width, 1), std::max(height, 1)};
}

int GetFitZoom(QSize image, QSize client)
{
    if (!HasImage(image))
        return 0;
    const int percent = static_cast<int>(static_cast<qint64>(FitImage(image, client).width()) * 100 / image.width());
    return percent <= 100 ? percent : percent / 100 * 100;
}

QSize GetDisplaySize(QSize image, int zoom, QSize client)
{
    if (!HasImage(image))
        return {0, 0};
    if (zoom > 0)
        return {static_cast<int>(static_cast<qint64>(image.width()) * zoom / 100),
                static_cast<int>(static_cast<qint64>(image.height()) * zoom / 100)};
    const QSize fit = FitImage(image, client);
    if (fit.width() <= image.width())
        return fit;
    return {fit.width() / image.width() * image.width(), fit.height() / image.height() * image.height()};
}

std::optional<int> ZoomInStep(int zoom, int fit)
{
    const int cur = zoom < 1 ? fit : zoom;
    const auto step = std::find_if(kZoomSteps.begin(), kZoomSteps.end(), [cur](int s) { return s > cur; });
    if (step == kZoomSteps.end())
        return fit >= cur ? std::optional<int>(0) : std::nullopt;
    return cur < fit && fit < *step ? 0 : *step;
}

std::optional<int> ZoomOutStep(int zoom, int fit)
{
    const int cur = zoom < 1 ? fit : zoom;
    const auto step = std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(), [cur](int s) { return s < cur; });
    if (step == kZoomSteps.rend())
        return fit <= cur ? std::optional<int>(0) : std::nullopt;
    return *step < fit && fit < cur ? 0 : *step;
}

QPoint ScrollKeepingPoint(QPoint scroll, QPoint point, QSize oldSize, QSize newSize)
{
    // Without an image before there is no point to keep.
    if (oldSize.width() < 1 || oldSize.height() < 1)
        return scroll;
    const auto axis = [](int offset, int p, int oldLength, int newLength) {
        return static_cast<int>(std::lround(static_cast<double>(offset + p) / oldLength * newLength)) - p;
    };
    return {axis(scroll.x(), point.x(), oldSize.width(), newSize.width()),
            axis(scroll.y(), point.y(), oldSize.height(), newSize.height())};
}

ScrollBarLayout LayoutScrollBars(QSize display, QSize client, QPoint scroll, QSize barExtent)
{
    ScrollBarLayout bars;
    int cw = client.width(), ch = client.height();
    const int dw = display.width(), dh = display.height();
    // The order matters: a horizontal bar can take the height that makes the
    // vertical one necessary, and the vertical one can then bring the other.
    if (cw < dw) {
        bars.horz = true;
        ch -= barExtent.height();
    }
    if (ch < dh) {
        bars.vert = true;
        cw -= barExtent.width();
        if (!bars.horz && cw < dw) {
            bars.horz = true;
            ch -= barExtent.height();
        }
    }
    bars.page = {cw, ch};
    bars.position = {std::max(std::min(scroll.x(), dw - cw), 0), std::max(std::min(scroll.y(), dh - ch), 0)};
    bars.offset = {cw >= dw ? -((cw - dw) / 2) : bars.position.x(), ch >= dh ? -((ch - dh) / 2) : bars.position.y()};
    return bars;
}

int ScrollPosition(int position, int delta, int maxPosition)
{
    return std::max(std::min(position + delta, maxPosition), 0);
}
