#include "platform/NearestColor.h"

namespace {

inline int Channel(quint32 colour, int shift)
{
    return static_cast<int>(colour >> shift & 0xFF);
}

}  // namespace

int NearestPaletteIndex(const quint32* palette, int count, quint32 colour, int hint)
{
    if (count < 1)
        return 0;
    const int r = Channel(colour, 16), g = Channel(colour, 8), b = Channel(colour, 0);
    auto distanceTo = [&](quint32 entry) {
        const int dr = Channel(entry, 16) - r, dg = Channel(entry, 8) - g, db = Channel(entry, 0) - b;
        return dr * dr + dg * dg + db * db;
    };
    int best = hint >= 0 && hint < count ? hint : 0;
    int bestDistance = distanceTo(palette[best]);
    for (int i = 0; i < count; ++i) {
        if (bestDistance == 0 && i >= best)
            break;  // nothing later can be nearer or an earlier equal
        // A partial sum beyond the best cannot win; an equal one still may,
        // at a lower index.
        const int dr = Channel(palette[i], 16) - r;
        int distance = dr * dr;
        if (distance > bestDistance)
            continue;
        const int dg = Channel(palette[i], 8) - g;
        distance += dg * dg;
        if (distance > bestDistance)
            continue;
        const int db = Channel(palette[i], 0) - b;
        distance += db * db;
        if (distance < bestDistance || (distance == bestDistance && i < best)) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}
