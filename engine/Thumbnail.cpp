#include "engine/Thumbnail.h"

#include "engine/ResizeBlend.h"
#include "platform/PixelFormat.h"

#include <QPixmap>

#include <cmath>

namespace {

constexpr int kThumbnailSize = 192;

int Scaled(int value, int numerator, int denominator)
{
    return qMax(1, static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator)));
}

}  // namespace

QImage MakeThumbnail(const QImage& image)
{
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    int tw = width, th = height;
    if (width > kThumbnailSize) {
        tw = kThumbnailSize;
        th = Scaled(height, kThumbnailSize, width);
    }
    if (th > kThumbnailSize) {
        th = kThumbnailSize;
        tw = Scaled(width, kThumbnailSize, height);
    }
    QImage thumbnail = CreateBitmap(tw, th, PixelFormat24bppRGB);
    if (thumbnail.isNull())
        return thumbnail;
    if (tw == width && th == height)
        DrawOntoCanvas(image, thumbnail);
    else
        DrawOntoCanvas(image.scaled(tw, th, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), thumbnail);
    return thumbnail;
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
