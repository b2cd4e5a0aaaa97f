#pragma once

#include <QImage>

// Draws image unscaled at (0, 0) onto a 24-bit RGB canvas (QImage::Format_BGR888),
// blending it by its alpha over the colour the canvas holds, so that
// transparent areas show the canvas and partly transparent ones mix with it.
// The part of the image beyond the canvas is left out.
void DrawOntoCanvas(const QImage& image, QImage& canvas);
