#pragma once

#include <QtGlobal>

#include <vector>

// Map from a colour key (0xFF000000 | R << 16 | G << 8 | B) to an int, for
// colour histograms and colour-to-index caches. A scanned page holds hundreds
// of thousands of distinct colours and millions of pixels, so this is an open
// addressing table that doubles before it is half full: one probe per pixel
// in the common case. Key 0 marks a free slot; colour keys always carry the
// alpha byte, so they are never 0.
class CColorIndexMap {
public:
    explicit CColorIndexMap(int expectedKeys = 4096)
    {
        size_t capacity = 1024;
        while (capacity < static_cast<size_t>(qMax(expectedKeys, 1)) * 2)
            capacity *= 2;
        m_slots.resize(capacity);
    }

    // The value stored for key, or nullptr.
    const int* Find(quint32 key) const
    {
        const Slot& slot = m_slots[Probe(key)];
        return slot.key == key ? &slot.value : nullptr;
    }

    // The value of key, inserted with initialValue when absent; added tells which.
    int& FindOrInsert(quint32 key, int initialValue, bool& added)
    {
        Slot* slot = &m_slots[Probe(key)];
        added = slot->key != key;
        if (added) {
            if ((m_count + 1) * 2 > m_slots.size()) {
                Grow();
                slot = &m_slots[Probe(key)];
            }
            slot->key = key;
            slot->value = initialValue;
            ++m_count;
        }
        return slot->value;
    }

    size_t Count() const { return m_count; }

    // Starts loading the slot of a key that will be looked up soon, so that
    // a loop over pixels does not wait for memory at every lookup.
    void Prefetch(quint32 key) const { __builtin_prefetch(&m_slots[Home(key)]); }

private:
    struct Slot {
        quint32 key = 0;
        int value = 0;
    };

    // The slot that holds key, or the free slot where it would go.
    size_t Home(quint32 key) const
    {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (m_slots.size() - 1);
    }

    size_t Probe(quint32 key) const
    {
        const size_t mask = m_slots.size() - 1;
        size_t i = Home(key);
        while (m_slots[i].key != 0 && m_slots[i].key != key)
            i = (i + 1) & mask;
        return i;
    }

    void Grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.key != 0)
                m_slots[Probe(slot.key)] = slot;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
};
