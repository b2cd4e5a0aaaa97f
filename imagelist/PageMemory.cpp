#include "imagelist/PageMemory.h"

#include <QImage>
#include <QImageReader>

namespace {

// What a page's work holds beside the decoded image, per pixel: the 24-bit
// working page, the turned page, the adjusted page and the saver's copy.
// Measured on large pages, not derived.
constexpr qint64 kWorkingBytesPerPixel = 12;

}  // namespace

qint64 EstimatePagePeak(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.width() <= 0 || size.height() <= 0) {
        return 0;
    }
    const int bits = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    const qint64 decoded = bits > 0 ? (bits + 7) / 8 : 4;
    return qint64(size.width()) * size.height() * (decoded + kWorkingBytesPerPixel);
}
