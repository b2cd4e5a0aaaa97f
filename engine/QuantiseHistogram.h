#pragma once

#include <QtGlobal>

#include <vector>

#include "platform/ColorIndexMap.h"

// A colour (key 0xFF000000 | R << 16 | G << 8 | B) with its pixel count.
struct ColourPair {
    quint32 colour;
    qint32 count;
};

// The bucket, of 10007, that orders a colour key in the histogram: the key
// taken as a signed 32-bit number goes through one step of the minimal
// standard generator (Schrage's method, 16807 modulo 2^31 - 1).
int HistogramBucket(quint32 key);

// Pixel counts per colour. Its iteration order (TakePairs) is part of the
// result, since it orders the palette of an image with few colours: buckets
// in ascending order, and within a bucket the most recently added colour
// first. Counting goes through a fast map that holds the counts in its
// slots; the order is rebuilt from the buckets and the order of first
// appearance.
class CColourHistogram {
public:
    // pixels: the number of pixels to be counted, which sizes the map.
    explicit CColourHistogram(qint64 pixels)
        : m_counts(static_cast<int>(qBound(qint64{1024}, pixels / 64, qint64{1} << 18)))
    {
    }

    void Add(quint32 key)
    {
        if (key == m_lastKey) {  // neighbouring pixels mostly share their colour
            ++*m_lastCount;      // the slot stays in place until the next new colour
            return;
        }
        bool added = false;
        int& count = m_counts.FindOrInsert(key, 0, added);
        if (added)
            m_keys.push_back(key);
        ++count;
        m_lastKey = key;
        m_lastCount = &count;
    }

    size_t Distinct() const { return m_keys.size(); }

    // Starts loading what Add or IndexOf will need for key.
    void Prefetch(quint32 key) const { m_counts.Prefetch(key); }

    // Every colour with its count, in iteration order. Counting ends here:
    // from then on IndexOf answers.
    std::vector<ColourPair> TakePairs();

    // After TakePairs: the place of a counted colour in order of first
    // appearance, -1 for another colour.
    int IndexOf(quint32 key) const
    {
        const int* index = m_counts.Find(key);
        return index != nullptr ? *index : -1;
    }

private:
    CColorIndexMap m_counts;      // colour -> count, then colour -> place
    std::vector<quint32> m_keys;  // in order of first appearance
    quint32 m_lastKey = 0;
    int* m_lastCount = nullptr;
};
