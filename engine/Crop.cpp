#include "engine/Crop.h"

#include "engine/PageGeometry.h"
#include "platform/PixelFormat.h"

#include <cstring>

namespace {

// The part of [0, size) that remains after cutting low and high pixels; the
// whole range when the cut would leave nothing.
void ContentSpan(int size, int low, int high, int& begin, int& end)
{
    low = qMax(low, 0);
    high = qMax(high, 0);
    if (static_cast<qint64>(low) + high >= size) {
        begin = 0;
        end = size;
        return;
    }
    begin = low;
    end = size - high;
}

// One output row: rowBytes of content (none when null) at offset left, the
// added margins around it transparent. Only the margins are cleared, as the
// content is copied over the rest.
void WriteRow(uchar* out, size_t bytes, size_t left, const uchar* content, size_t rowBytes)
{
    if (content == nullptr) {
        std::memset(out, 0, bytes);
        return;
    }
    std::memset(out, 0, left);
    std::memcpy(out + left, content, rowBytes);
    std::memset(out + left + rowBytes, 0, bytes - left - rowBytes);
}

}  // namespace

QImage CropWithAddedMargin(const QImage& image, const RECT& cut, const RECT& added)
{
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    QRect content(0, 0, width, height);
    if (cut != RECT{}) {
        int left = 0, right = 0, top = 0, bottom = 0;
        ContentSpan(width, cut.left, cut.right, left, right);
        ContentSpan(height, cut.top, cut.bottom, top, bottom);
        content.setCoords(left, top, right - 1, bottom - 1);
    }
    QRect output = content;
    if (added != RECT{}) {
        const int cw = content.width();
        const int ch = content.height();
        output.setCoords(
            content.left() - PercentToPixels(cw, added.left), content.top() - PercentToPixels(ch, added.top),
            content.right() + PercentToPixels(cw, added.right), content.bottom() + PercentToPixels(ch, added.bottom));
    }
    const QImage source =
        image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    if (source.isNull() || !IsAdmittedBitmapSize(output.width(), output.height(), 4))
        return {};
    QImage result(output.size(), QImage::Format_ARGB32);
    if (result.isNull())
        return {};
    const int dx = content.left() - output.left();
    const int dy = content.top() - output.top();
    const size_t rowBytes = static_cast<size_t>(content.width()) * 4;
    for (int y = 0; y < result.height(); ++y) {
        const int from = y - dy + content.top();
        const bool inside = from >= content.top() && from <= content.bottom();
        const uchar* row = inside ? source.constScanLine(from) + static_cast<qsizetype>(content.left()) * 4 : nullptr;
        WriteRow(result.scanLine(y), static_cast<size_t>(result.bytesPerLine()), static_cast<size_t>(dx) * 4, row,
                 rowBytes);
    }
    return result;
}
