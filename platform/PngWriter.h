#pragma once

#include <QIODevice>

#include "platform/EncoderImage.h"

// Writes image as PNG: a palette image at 1, 4 or 8 bpp, an RGB image at
// 24 bpp, with the resolution in a pHYs chunk. Returns a status of
// GdiplusStatus.h.
int WritePng(const EncoderImage& image, QIODevice& device);
