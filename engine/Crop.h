#pragma once

#include <QImage>

#include "platform/WinTypes.h"

// Cuts the page to its content and adds margins of its own: cut holds the
// pixels to remove on each side, added the margins to add in percent of the
// content's width (left, right) or height (top, bottom). Returns a new 32-bit
// ARGB image; the added margins are transparent, so that the canvas colour
// shows through them later.
//
// A cut whose left and right (or top and bottom) would leave no content is
// not applied on that axis: the page keeps its whole width (or height) there
// rather than vanishing. Cuts below 0 count as 0; added margins count within
// 0 to 100 percent.
// Null when the source is null or the result cannot be allocated.
QImage CropWithAddedMargin(const QImage& image, const RECT& cut, const RECT& added);
