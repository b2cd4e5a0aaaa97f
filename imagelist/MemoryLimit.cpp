#include "imagelist/MemoryLimit.h"

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// The smaller of two limits, where 0 or less means none.
qint64 Smaller(qint64 a, qint64 b)
{
    if (a <= 0) {
        return qMax<qint64>(b, 0);
    }
    return b <= 0 ? a : qMin(a, b);
}

// The process's group in the unified hierarchy ("0::<path>"); empty in none.
QString UnifiedGroup(const QString& cgroupList)
{
    QFile file(cgroupList);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("0::/")) {
            return QString::fromUtf8(line.mid(3));
        }
    }
    return QString();
}

// The limit in a group's "memory.max"; 0 for "max" or none.
qint64 GroupLimit(const QString& folder)
{
    QFile file(folder + QStringLiteral("/memory.max"));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    bool ok = false;
    const qint64 limit = file.readLine(32).trimmed().toLongLong(&ok);
    return ok ? limit : 0;
}

// A group is held to its own limit and to those of the groups above it.
qint64 GroupTreeLimit(const QString& cgroupRoot, QString group)
{
    qint64 limit = 0;
    for (;;) {
        limit = Smaller(limit, GroupLimit(cgroupRoot + group));
        if (group.size() <= 1) {
            return limit;
        }
        group.truncate(qMax(group.lastIndexOf(QLatin1Char('/')), 1));
    }
}

qint64 PhysicalMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
}

qint64 AddressSpaceLimit()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 0;
    }
    return static_cast<qint64>(limit.rlim_cur);
}

}  // namespace

qint64 SmallestMemoryLimit(qint64 physical, qint64 addressSpace, const QString& cgroupList,
                           const QString& cgroupRoot)
{
    qint64 limit = Smaller(physical, addressSpace);
    const QString group = UnifiedGroup(cgroupList);
    if (!group.isEmpty()) {
        limit = Smaller(limit, GroupTreeLimit(cgroupRoot, group));
    }
    return limit;
}

qint64 ProcessMemoryLimit()
{
    return SmallestMemoryLimit(PhysicalMemory(), AddressSpaceLimit(), QStringLiteral("/proc/self/cgroup"),
                               QStringLiteral("/sys/fs/cgroup"));
}
