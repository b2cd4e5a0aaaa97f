#include "engine/QuantiseMedianCut.h"

#include "engine/Quantise.h"

#include <algorithm>

namespace {

constexpr size_t kCountingSortMinimum = 1024;

// Index of the box to split next, or -1 when no box has two colours.
int ChooseBox(const std::vector<ColourBox>& boxes)
{
    int chosen = -1;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].colours > 1 && (chosen < 0 || boxes[i].pixels > boxes[static_cast<size_t>(chosen)].pixels))
            chosen = static_cast<int>(i);
    }
    return chosen;
}

// Sorts pairs ascending by one channel byte (shift 16 red, 8 green, 0 blue).
// Large boxes go through a counting sort by that byte, in linear time;
// small ones through the colour comparisons.
template <int Shift>
void SortByChannel(std::vector<ColourPair>::iterator begin, std::vector<ColourPair>::iterator end,
                   int (*compare)(const ColourPair&, const ColourPair&), std::vector<ColourPair>& scratch)
{
    const size_t count = static_cast<size_t>(end - begin);
    if (count < kCountingSortMinimum) {
        std::sort(begin, end, [compare](const ColourPair& a, const ColourPair& b) { return compare(a, b) < 0; });
        return;
    }
    size_t start[257] = {};
    for (auto it = begin; it != end; ++it)
        ++start[(it->colour >> Shift & 0xFF) + 1];
    for (int v = 1; v <= 256; ++v)
        start[v] += start[v - 1];
    scratch.resize(count);
    for (auto it = begin; it != end; ++it)
        scratch[start[it->colour >> Shift & 0xFF]++] = *it;
    std::copy(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(count), begin);
}

void SortByWidestChannel(std::vector<ColourPair>::iterator begin, std::vector<ColourPair>::iterator end,
                         std::vector<ColourPair>& scratch)
{
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (auto it = begin; it != end; ++it) {
        for (int c = 0; c < 3; ++c) {
            const int value = static_cast<int>(it->colour >> (16 - 8 * c) & 0xFF);  // red, green, blue
            low[c] = std::min(low[c], value);
            high[c] = std::max(high[c], value);
        }
    }
    const int red = high[0] - low[0], green = high[1] - low[1], blue = high[2] - low[2];
    if (red >= green && red >= blue)
        SortByChannel<16>(begin, end, CompareColourRed, scratch);
    else if (green >= blue)
        SortByChannel<8>(begin, end, CompareColourGreen, scratch);
    else
        SortByChannel<0>(begin, end, CompareColourBlue, scratch);
}

}  // namespace

bool MedianCut(std::vector<ColourPair>& pairs, int paletteSize, const CancelFlag* cancel, std::vector<ColourBox>& boxes)
{
    qint64 total = 0;
    for (const ColourPair& pair : pairs) {
        if (IsCancelled(cancel))
            return false;
        total += pair.count;
    }
    boxes.assign(1, ColourBox{0, static_cast<int>(pairs.size()), total});
    std::vector<ColourPair> scratch;
    while (static_cast<int>(boxes.size()) < paletteSize) {
        if (IsCancelled(cancel))
            return false;
        const int chosen = ChooseBox(boxes);
        if (chosen < 0)
            break;
        ColourBox& box = boxes[static_cast<size_t>(chosen)];
        const auto begin = pairs.begin() + box.first;
        SortByWidestChannel(begin, begin + box.colours, scratch);
        int i = 1;
        qint64 acc = begin->count;
        while (i < box.colours - 1 && acc < box.pixels / 2) {
            acc += begin[i].count;
            ++i;
        }
        const ColourBox rest{box.first + i, box.colours - i, box.pixels - acc};
        box.colours = i;
        box.pixels = acc;
        boxes.push_back(rest);  // box is not used after this: the vector may move
    }
    return true;
}

quint32 BoxColour(const std::vector<ColourPair>& pairs, const ColourBox& box)
{
    // Counts are scaled down so that the weighted sums stay within 32 bits.
    qint64 divisor = 1;
    while (box.pixels / divisor > 0xFFFFFF)
        divisor *= 2;
    quint64 weights = 0;
    quint64 sum[3] = {0, 0, 0};
    for (int i = box.first; i < box.first + box.colours; ++i) {
        const ColourPair& pair = pairs[static_cast<size_t>(i)];
        const quint64 weight = static_cast<quint64>(pair.count / divisor);
        weights += weight;
        for (int c = 0; c < 3; ++c)
            sum[c] += (pair.colour >> (16 - 8 * c) & 0xFF) * weight;
    }
    if (weights <= 1)
        weights = 1;
    quint32 colour = 0xFF000000u;
    for (int c = 0; c < 3; ++c)
        colour |= static_cast<quint32>(std::min<quint64>(sum[c] / weights, 255)) << (16 - 8 * c);
    return colour;
}
