#pragma once

#include <QString>
#include <QtGlobal>

// The smallest of the limits on the memory this process can have, in bytes:
// the machine's physical memory, the address-space limit and the memory
// limits (cgroup v2 "memory.max", cgroup v1 "memory.limit_in_bytes") of the
// process's control groups and of the groups above them. cgroupList is the
// process's list of groups (/proc/self/cgroup), mountInfo its mount table
// (/proc/self/mountinfo), which tells where the v1 memory hierarchy is
// mounted, cgroupRoot where the groups are mounted (/sys/fs/cgroup; the v1
// memory hierarchy in its "memory" folder unless the table says otherwise).
// A value of 0 or less, a missing file and "max" stand for no limit; 0 when
// none is known.
qint64 SmallestMemoryLimit(qint64 physical, qint64 addressSpace, const QString& cgroupList, const QString& mountInfo,
                           const QString& cgroupRoot);

// The same for this process on this machine.
qint64 ProcessMemoryLimit();
