#include "engine/Thumbnail.h"

#include "engine/Resize.h"
#include "engine/ResizeBlend.h"

#include <QPixmap>

namespace {

constexpr int kThumbnailSize = 192;

}  // namespace

QImage MakeThumbnail(const QImage& image)
{
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    int tw = 0, th = 0;
    FitSizeKeepingRatio(width, height, kThumbnailSize, kThumbnailSize, true, tw, th);
    // A very long strip would round its short side to 0.
    tw = qMax(tw, 1);
    th = qMax(th, 1);
    if (tw == width && th == height)
        return FlattenOntoColour(image, qRgb(0, 0, 0));
    return FlattenOntoColour(image.scaled(tw, th, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), qRgb(0, 0, 0));
}

QIcon RecolorIcon(const QIcon& icon, COLORREF colour)
{
    const QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty())
        return {};
    const uchar r = static_cast<uchar>(GetRValue(colour));
    const uchar g = static_cast<uchar>(GetGValue(colour));
    const uchar b = static_cast<uchar>(GetBValue(colour));
    QIcon recoloured;
    for (const QSize& size : sizes) {
        QImage pixels = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            uchar* p = pixels.scanLine(y);
            for (int x = 0; x < pixels.width(); ++x, p += 4) {
                p[0] = b;
                p[1] = g;
                p[2] = r;
            }
        }
        recoloured.addPixmap(QPixmap::fromImage(pixels));
    }
    return recoloured;
}
