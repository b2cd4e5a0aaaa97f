#include "archive/ZipEntryCheck.h"

#include <zlib.h>

void ZipEntryCheck::Start(quint32 expectedCrc, quint64 expectedSize)
{
    m_nExpectedCrc = expectedCrc;
    m_nExpectedSize = expectedSize;
    m_nCrc = 0;
    m_nDelivered = 0;
}

void ZipEntryCheck::Add(const void* data, unsigned count)
{
    m_nCrc = static_cast<quint32>(crc32(m_nCrc, static_cast<const Bytef*>(data), count));
    m_nDelivered += count;
}

bool ZipEntryCheck::Matches() const
{
    return m_nCrc == m_nExpectedCrc && m_nDelivered == m_nExpectedSize;
}
