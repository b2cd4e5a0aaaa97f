#pragma once

#include <atomic>

// The caller's stop flag, passed by address to every long operation and
// polled in its loops; set by the user-interface thread while workers read it.
using CancelFlag = std::atomic<int>;

inline bool IsCancelled(const CancelFlag* cancel)
{
    return cancel != nullptr && cancel->load(std::memory_order_relaxed) != 0;
}
