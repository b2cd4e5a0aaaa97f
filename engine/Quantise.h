#pragma once

#include <QImage>

#include "engine/QuantiseHistogram.h"
#include "platform/CancelFlag.h"
#include "platform/IndexedImage.h"
#include "platform/WinTypes.h"

// Fills an indexed target of the source's size from a full-colour source.
// Mode 0: the image layer draws the source into the target's own palette.
// Mode 1: an optimised palette (the exact colours when they fit, else median
// cut over the histogram) is installed and the image layer draws. Any other
// mode: the same palette, and every pixel takes the nearest of the computed
// entries, searched once per distinct colour. Palette entries beyond those
// computed are opaque black. FALSE when cancelled.
BOOL QuantiseToPalette(const QImage& source, CIndexedImage& target, int mode, const CancelFlag* cancel);

// Index of the entry nearest to colour (squared distance over R, G, B) among
// the first count entries; the first of equals wins. 0 when count < 1.
int FindNearestPaletteIndex(const quint32* palette, int count, quint32 colour);

// Orders of colour pairs by the red, green or blue byte: first minus second.
// Inline, as the median cut sorts hundreds of thousands of pairs with them.
inline int CompareColourRed(const ColourPair& first, const ColourPair& second)
{
    return static_cast<int>(first.colour >> 16 & 0xFF) - static_cast<int>(second.colour >> 16 & 0xFF);
}

inline int CompareColourGreen(const ColourPair& first, const ColourPair& second)
{
    return static_cast<int>(first.colour >> 8 & 0xFF) - static_cast<int>(second.colour >> 8 & 0xFF);
}

inline int CompareColourBlue(const ColourPair& first, const ColourPair& second)
{
    return static_cast<int>(first.colour & 0xFF) - static_cast<int>(second.colour & 0xFF);
}
