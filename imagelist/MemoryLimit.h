#pragma once

#include <QString>
#include <QtGlobal>

// The smallest of the limits on the memory this process can have, in bytes:
// the machine's physical memory, the address-space limit and the memory
// limit (cgroup v2 "memory.max") of the process's control group and of the
// groups above it. cgroupList is the process's list of groups
// (/proc/self/cgroup), cgroupRoot where the groups are mounted
// (/sys/fs/cgroup). A value of 0 or less, a missing file and "max" stand for
// no limit; 0 when none is known.
qint64 SmallestMemoryLimit(qint64 physical, qint64 addressSpace, const QString& cgroupList,
                           const QString& cgroupRoot);

// The same for this process on this machine.
qint64 ProcessMemoryLimit();
