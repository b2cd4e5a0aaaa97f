#pragma once

#include <QtGlobal>

// Index of the palette entry (0xAARRGGBB) nearest to colour by the squared
// distance over red, green and blue, the lowest index among equals; 0 when
// count < 1. hint names an entry likely to be near, such as the answer for a
// neighbouring colour: starting from it lets most entries be dismissed after
// one channel, and never changes the answer.
int NearestPaletteIndex(const quint32* palette, int count, quint32 colour, int hint);
