#pragma once

#include <QIODevice>

#include "platform/EncoderImage.h"

// Writes image as a JPEG of the given quality (0 to 100) with its
// resolution; palette images are written in their palette's colours (as a
// grey JPEG when every palette colour is grey).
// Returns a status of GdiplusStatus.h.
int WriteJpeg(const EncoderImage& image, int quality, QIODevice& device);
