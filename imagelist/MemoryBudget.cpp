#include "imagelist/MemoryBudget.h"

#include "imagelist/MemoryLimit.h"

CMemoryBudget::CMemoryBudget(qint64 limit) : m_nLimit(limit) {}

qint64 CMemoryBudget::DefaultLimit()
{
    // Half, whichever limit binds: the rest of the program, the file cache
    // and, under an address-space limit, the room reserved for threads and
    // heaps need their share too.
    const qint64 limit = ProcessMemoryLimit();
    return limit > 0 ? limit / 2 : qint64(4) << 30;  // unknown: a modest machine's share
}

void CMemoryBudget::SetLimit(qint64 limit)
{
    {
        std::lock_guard lock(m_lock);
        m_nLimit = limit;
    }
    m_changed.notify_all();
}

void CMemoryBudget::Reserve(qint64 bytes)
{
    std::unique_lock lock(m_lock);
    const quint64 ticket = m_nNextTicket++;
    m_changed.wait(lock, [&] { return ticket == m_nServing && (m_nReserved == 0 || m_nReserved + bytes <= m_nLimit); });
    ++m_nServing;
    m_nReserved += bytes;
    lock.unlock();
    m_changed.notify_all();  // the next in line may fit as well
}

void CMemoryBudget::Release(qint64 bytes)
{
    {
        std::lock_guard lock(m_lock);
        m_nReserved -= bytes;
    }
    m_changed.notify_all();
}

CMemoryReservation::CMemoryReservation(CMemoryBudget& budget, qint64 bytes) : m_budget(budget), m_nBytes(bytes)
{
    if (m_nBytes > 0) {
        m_budget.Reserve(m_nBytes);
    }
}

CMemoryReservation::~CMemoryReservation()
{
    if (m_nBytes > 0) {
        m_budget.Release(m_nBytes);
    }
}
