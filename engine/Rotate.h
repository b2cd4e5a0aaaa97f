#pragma once

#include <QImage>

// The image turned by angle degrees (positive = clockwise on screen) onto a
// transparent 32-bit ARGB canvas just large enough to hold it; a copy in that
// format for 0.0. A null image when the canvas cannot be made.
QImage RotateBitmap(const QImage& bitmap, double angle);
