#include "imagelist/PageMemory.h"

#include "engine/ImageHeader.h"

namespace {

// What a page's work holds at its peak beside the decoded image, per pixel:
// the 24-bit working page, the turned and adjusted pages and the savers'
// copies. Measured: an execute job with the default options over one
// 16384 x 16384 RGB page peaks at 3.8 GB, about 14 bytes per pixel.
constexpr qint64 kWorkingBytesPerPixel = 10;

}  // namespace

qint64 EstimatePagePeak(const QString& path)
{
    const CDecodedImage decoded = PeekDecodedImage(path);
    if (decoded.size.width() <= 0 || decoded.size.height() <= 0) {
        return 0;
    }
    return qint64(decoded.size.width()) * decoded.size.height() * (decoded.bytesPerPixel + kWorkingBytesPerPixel);
}
