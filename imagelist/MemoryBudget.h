#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

// The memory that the pages of a job may hold at once. A worker reserves a
// page's estimated peak before decoding it and waits while the reservation
// would exceed the budget; a page larger than the whole budget waits until
// nothing else is reserved and then runs alone. Reservations are granted in
// the order they were asked for, so a large page is never passed over for
// good by smaller ones.
class CMemoryBudget {
public:
    explicit CMemoryBudget(qint64 limit = DefaultLimit());
    CMemoryBudget(const CMemoryBudget&) = delete;
    CMemoryBudget& operator=(const CMemoryBudget&) = delete;

    // Half of the smallest limit on the process's memory: the machine's
    // physical memory, the address-space limit or the control group's limit.
    static qint64 DefaultLimit();

    void SetLimit(qint64 limit);
    void Reserve(qint64 bytes);
    void Release(qint64 bytes);

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    qint64 m_nLimit;
    qint64 m_nReserved = 0;
    quint64 m_nNextTicket = 0;  // handed to the next caller of Reserve
    quint64 m_nServing = 0;     // the ticket whose turn it is
};

// One page's reservation, held for the life of the object; none for 0 bytes.
class CMemoryReservation {
public:
    CMemoryReservation(CMemoryBudget& budget, qint64 bytes);
    ~CMemoryReservation();
    CMemoryReservation(const CMemoryReservation&) = delete;
    CMemoryReservation& operator=(const CMemoryReservation&) = delete;

private:
    CMemoryBudget& m_budget;
    qint64 m_nBytes;
};
