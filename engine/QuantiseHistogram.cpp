#include "engine/QuantiseHistogram.h"

namespace {

constexpr int kBuckets = 10007;

}  // namespace

int HistogramBucket(quint32 key)
{
    const qint64 k = static_cast<qint32>(key);
    const qint64 q = k / 127773;  // truncates toward zero, as the rule asks
    const qint64 r = k % 127773;
    qint64 h = 16807 * r - 2836 * q;
    if (h < 0)
        h += 2147483647;
    return static_cast<int>(h % kBuckets);
}

std::vector<ColourPair> CColourHistogram::TakePairs()
{
    // A counting sort by bucket; walking the colours from the last added to
    // the first puts the most recently added first within each bucket.
    const size_t distinct = m_keys.size();
    std::vector<int> buckets(distinct);
    std::vector<size_t> start(kBuckets + 1, 0);
    for (size_t i = 0; i < distinct; ++i) {
        buckets[i] = HistogramBucket(m_keys[i]);
        ++start[static_cast<size_t>(buckets[i]) + 1];
    }
    for (size_t b = 1; b <= kBuckets; ++b)
        start[b] += start[b - 1];
    std::vector<ColourPair> pairs(distinct);
    bool added = false;
    for (size_t i = distinct; i-- > 0;) {
        int& value = m_counts.FindOrInsert(m_keys[i], 0, added);
        pairs[start[static_cast<size_t>(buckets[i])]++] = {m_keys[i], value};
        value = static_cast<int>(i);
    }
    m_lastKey = 0;
    m_lastCount = nullptr;
    return pairs;
}
