#pragma once

#include <QImage>

#include "settings/AdjustOption.h"

class CPageRecord;

// Gives the page its final size on an opaque 24-bit canvas of the background
// colour (for a text page under GrayText, the grey of BackColor). Resize 0
// keeps the image's size, 1 takes the entry's source size, 2 FixSize; with
// KeepRate the ratio is kept (FitSizeKeepingRatio), otherwise OnlySmall
// limits each side to the image's. Transparent areas show the canvas colour.
// Null when the image is null or the canvas cannot be allocated.
QImage ResizeOntoCanvas(const QImage& image, const CAdjustOption& option, int pageKind, const CPageRecord& entry);

// The largest size of ratio width : height within maxWidth x maxHeight; with
// shrinkOnly it is never larger than width x height. Sizes are rounded half
// away from zero. A width or height below 1 gives 0 x 0.
void FitSizeKeepingRatio(int width, int height, int maxWidth, int maxHeight, bool shrinkOnly, int& outWidth,
                         int& outHeight);
