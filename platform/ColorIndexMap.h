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
    int* Find(quint32 key)
    {
        Slot& slot = Probe(key);
        return slot.key == key ? &slot.value : nullptr;
    }

    // The value of key, inserted with initialValue when absent; added tells which.
    int& FindOrInsert(quint32 key, int initialValue, bool& added)
    {
        Slot* slot = &Probe(key);
        added = slot->key != key;
        if (added) {
            if ((m_count + 1) * 2 > m_slots.size()) {
                Grow();
                slot = &Probe(key);
            }
            slot->key = key;
            slot->value = initialValue;
            ++m_count;
        }
        return slot->value;
    }

    size_t Count() const { return m_count; }

private:
    struct Slot {
        quint32 key = 0;
        int value = 0;
    };

    Slot& Probe(quint32 key)
    {
        const size_t mask = m_slots.size() - 1;
        size_t i = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (m_slots[i].key != 0 && m_slots[i].key != key)
            i = (i + 1) & mask;
        return m_slots[i];
    }

    void Grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.key != 0)
                Probe(slot.key) = slot;
        }
    }

    std::vector<Slot> m_slots;
    size_t m_count = 0;
};
