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
        output.setCoords(content.left() - PercentToPixels(cw, added.left), content.top() - PercentToPixels(ch, added.top),
                         content.right() + PercentToPixels(cw, added.right), content.bottom() + PercentToPixels(ch, added.bottom));
    }
    const QImage source = image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
    QImage result = CreateBitmap(output.width(), output.height(), PixelFormat32bppARGB);
    if (source.isNull() || result.isNull())
        return {};
    // The content lands on a transparent canvas, so it is copied row by row.
    const int dx = content.left() - output.left();
    const int dy = content.top() - output.top();
    const size_t rowBytes = static_cast<size_t>(content.width()) * 4;
    for (int y = content.top(); y <= content.bottom(); ++y)
        std::memcpy(result.scanLine(y - content.top() + dy) + static_cast<qsizetype>(dx) * 4,
                    source.constScanLine(y) + static_cast<qsizetype>(content.left()) * 4, rowBytes);
    return result;
}
