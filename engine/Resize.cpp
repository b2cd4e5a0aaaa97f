#include "engine/Resize.h"

#include "engine/BitmapConvert.h"
#include "engine/PageRecord.h"
#include "engine/ResizeBlend.h"
#include "platform/PixelFormat.h"

#include <cmath>

namespace {

int RoundedRatio(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

void FitSizeKeepingRatio(int width, int height, int maxWidth, int maxHeight, bool shrinkOnly, int& outWidth,
                         int& outHeight)
{
    if (width < 1 || height < 1) {
        outWidth = outHeight = 0;
        return;
    }
    int cx = width, cy = height;
    if (!shrinkOnly) {
        cx = maxWidth;
        cy = RoundedRatio(height, maxWidth, width);
    }
    if (cx > maxWidth) {
        cx = maxWidth;
        cy = RoundedRatio(height, maxWidth, width);
    }
    if (cy > maxHeight) {
        cy = maxHeight;
        cx = RoundedRatio(width, maxHeight, height);
    }
    outWidth = cx;
    outHeight = cy;
}

QImage ResizeOntoCanvas(const QImage& image, const CAdjustOption& option, int pageKind, const CPageRecord& entry)
{
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    int targetWidth = width, targetHeight = height;
    if (option.Resize == 2) {
        targetWidth = option.FixSize.cx;
        targetHeight = option.FixSize.cy;
    } else if (option.Resize == 1 && entry.m_nSrcWidth > 0 && entry.m_nSrcHeight > 0) {
        // An entry whose source size is not known keeps the image's size.
        targetWidth = entry.m_nSrcWidth;
        targetHeight = entry.m_nSrcHeight;
    }
    if (option.Resize == 1 || option.Resize == 2) {
        if (option.KeepRate) {
            FitSizeKeepingRatio(width, height, targetWidth, targetHeight, option.OnlySmall != 0, targetWidth,
                                targetHeight);
        } else if (option.OnlySmall) {
            targetWidth = qMin(targetWidth, width);
            targetHeight = qMin(targetHeight, height);
        }
    }
    // A ratio far from the target's may round a side to 0; a page keeps a pixel.
    targetWidth = qMax(targetWidth, 1);
    targetHeight = qMax(targetHeight, 1);

    int r = GetRValue(option.BackColor), g = GetGValue(option.BackColor), b = GetBValue(option.BackColor);
    if (pageKind == kTextPage && option.GrayText)
        r = g = b = GrayValue(r, g, b);
    if (!IsAdmittedBitmapSize(targetWidth, targetHeight, 3))
        return {};  // checked before scaling, which would take the memory first
    if (targetWidth == width && targetHeight == height)
        return FlattenOntoColour(image, qRgb(r, g, b));
    const QImage scaled = image.scaled(targetWidth, targetHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return FlattenOntoColour(scaled, qRgb(r, g, b));
}
