#pragma once

#include <QImage>

// The image as an opaque 24-bit RGB page of its own size (QImage::Format_BGR888),
// blended by its alpha over colour: transparent areas show the colour and
// partly transparent ones mix with it. Every pixel is written once, so no
// canvas is filled first. Null when the image is null or memory is short.
QImage FlattenOntoColour(const QImage& image, QRgb colour);
