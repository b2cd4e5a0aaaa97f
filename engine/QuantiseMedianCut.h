#pragma once

#include <vector>

#include "engine/QuantiseHistogram.h"
#include "platform/CancelFlag.h"

// A run of colours of the pair array: box i gives palette entry i.
struct ColourBox {
    int first;
    int colours;
    qint64 pixels;
};

// Splits the colours of pairs (in histogram order; reordered within boxes as
// they are sorted) into at most paletteSize boxes: each pass splits the box
// with the most pixels among those with more than one colour (the lowest
// index on a tie), sorted by its widest channel (red, then green, then blue
// on equal ranges), where its cumulative count first reaches half its pixels,
// leaving at least one colour on each side. False when cancelled.
bool MedianCut(std::vector<ColourPair>& pairs, int paletteSize, const CancelFlag* cancel,
               std::vector<ColourBox>& boxes);

// The count-weighted mean colour of a box as a colour key.
quint32 BoxColour(const std::vector<ColourPair>& pairs, const ColourBox& box);
