#pragma once

#include <QIcon>
#include <QImage>

#include "platform/WinTypes.h"

// The list's thumbnail: a 24-bit image of at most 192 x 192 pixels with the
// image's ratio (each side at least 1 pixel), black where the image is
// transparent. Small images are not enlarged. Null for a null image.
QImage MakeThumbnail(const QImage& image);

// A copy of the icon in which every pixel of every size takes the colour
// (0x00BBGGRR) and keeps its alpha. A null icon when the icon has no sizes.
QIcon RecolorIcon(const QIcon& icon, COLORREF colour);
