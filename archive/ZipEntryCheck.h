#pragma once

#include <QtGlobal>

// Checks the bytes delivered for an entry against its central-directory
// record: at the entry's end their CRC-32 and their number must match the
// record, or the data was damaged or the record lies about it.
class ZipEntryCheck {
public:
    void Start(quint32 expectedCrc, quint64 expectedSize);
    void Add(const void* data, unsigned count);
    bool Matches() const;

private:
    quint32 m_nExpectedCrc = 0;
    quint64 m_nExpectedSize = 0;
    quint32 m_nCrc = 0;
    quint64 m_nDelivered = 0;
};
