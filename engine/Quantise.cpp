#include "engine/Quantise.h"

#include "engine/QuantiseMedianCut.h"
#include "platform/BitmapLock.h"
#include "platform/NearestColor.h"

namespace {

constexpr quint32 kOpaqueBlack = 0xFF000000u;
constexpr int kPrefetchAhead = 8;  // pixels

inline quint32 ColourKey(const uchar* bgr)
{
    return kOpaqueBlack | static_cast<quint32>(bgr[2]) << 16 | static_cast<quint32>(bgr[1]) << 8 | bgr[0];
}

// Calls visit(x, y, key) for every pixel of the locked source, polling the
// cancel flag before each row and each pixel; false when cancelled. The slot
// of a colour a few pixels ahead is loaded meanwhile, as every pixel looks up
// its colour in the histogram.
template <typename Visit>
bool ForEachPixel(const CBitmapLock& lock, int width, int height, const CColourHistogram& histogram,
                  const CancelFlag* cancel, Visit visit)
{
    for (int y = 0; y < height; ++y) {
        if (IsCancelled(cancel))
            return false;
        const uchar* p = lock.Row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            if (IsCancelled(cancel))
                return false;
            if (x + kPrefetchAhead < width)
                histogram.Prefetch(ColourKey(p + 3 * kPrefetchAhead));
            visit(x, y, ColourKey(p));
        }
    }
    return true;
}

// Counts the colours of the locked source; false when cancelled.
bool CountColours(const CBitmapLock& lock, const CancelFlag* cancel, CColourHistogram& histogram)
{
    return ForEachPixel(lock, static_cast<int>(lock.m_data.Width), static_cast<int>(lock.m_data.Height), histogram,
                        cancel, [&histogram](int, int, quint32 key) { histogram.Add(key); });
}

// The computed palette entries of the source's colours; false when cancelled.
bool ComputePalette(CColourHistogram& histogram, int paletteSize, const CancelFlag* cancel, QList<quint32>& entries)
{
    std::vector<ColourPair> pairs = histogram.TakePairs();
    if (pairs.size() <= static_cast<size_t>(paletteSize)) {
        for (const ColourPair& pair : pairs) {
            if (IsCancelled(cancel))
                return false;
            entries.append(pair.colour);
        }
        return true;
    }
    std::vector<ColourBox> boxes;
    if (!MedianCut(pairs, paletteSize, cancel, boxes))
        return false;
    for (const ColourBox& box : boxes) {
        if (IsCancelled(cancel))
            return false;
        entries.append(BoxColour(pairs, box));
    }
    return true;
}

// Writes the nearest of the used entries for every pixel; false when
// cancelled. The nearest entry is searched once per distinct colour and kept
// by the colour's place in the histogram.
bool MapToNearest(const CBitmapLock& lock, const CColourHistogram& histogram, CIndexedImage& target,
                  const QList<quint32>& entries, int used, const CancelFlag* cancel)
{
    BitmapData data;
    target.LockBits(data);
    const int width = qMin(static_cast<int>(lock.m_data.Width), static_cast<int>(data.Width));
    const int height = qMin(static_cast<int>(lock.m_data.Height), static_cast<int>(data.Height));
    std::vector<int> nearest(histogram.Distinct(), -1);
    quint32 lastKey = 0;
    int lastIndex = 0;
    const bool mapped = ForEachPixel(lock, width, height, histogram, cancel, [&](int x, int y, quint32 key) {
        if (key != lastKey) {
            const int place = histogram.IndexOf(key);
            if (place < 0)
                return;  // every pixel was counted; kept for safety
            int& index = nearest[static_cast<size_t>(place)];
            if (index < 0)
                index = NearestPaletteIndex(entries.constData(), used, key, lastIndex);
            lastKey = key;
            lastIndex = index;
        }
        SetIndexedPixel(data, x, y, lastIndex);
    });
    return mapped && !IsCancelled(cancel);
}

}  // namespace

int FindNearestPaletteIndex(const quint32* palette, int count, quint32 colour)
{
    return NearestPaletteIndex(palette, count, colour, 0);
}

BOOL QuantiseToPalette(const QImage& source, CIndexedImage& target, int mode, const CancelFlag* cancel)
{
    if (mode == 0) {
        target.DrawImage(source);
        return true;
    }
    QImage pixels = source;  // shares the data; a read lock does not detach it
    CBitmapLock lock;
    lock.Lock(&pixels, 1, 0, PixelFormat24bppRGB);  // a failed lock reads as an empty image
    ColorPalette palette = target.GetPalette();
    const int paletteSize = static_cast<int>(palette.Entries.size());

    CColourHistogram histogram(static_cast<qint64>(lock.m_data.Width) * lock.m_data.Height);
    QList<quint32> entries;
    if (!CountColours(lock, cancel, histogram) || !ComputePalette(histogram, paletteSize, cancel, entries))
        return false;
    const int used = static_cast<int>(entries.size());
    while (entries.size() < paletteSize)
        entries.append(kOpaqueBlack);
    palette.Entries = entries;
    palette.Flags = 0;
    target.SetPalette(palette);

    if (mode == 1) {
        lock.Unlock();
        target.DrawImage(source);
        return true;
    }
    if (IsCancelled(cancel))
        return false;
    return MapToNearest(lock, histogram, target, entries, used, cancel);
}
