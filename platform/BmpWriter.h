#pragma once

#include <QIODevice>

#include "platform/EncoderImage.h"

// Writes image as an uncompressed bottom-up BMP (BITMAPINFOHEADER) at 1, 4, 8
// bpp with its palette or at 24 bpp, with the resolution in pixels per metre.
// Returns a status of GdiplusStatus.h.
int WriteBmp(const EncoderImage& image, QIODevice& device);
