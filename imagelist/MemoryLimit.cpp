#include "imagelist/MemoryLimit.h"

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace {

// The smaller of two limits, where 0 or less means none.
qint64 Smaller(qint64 a, qint64 b)
{
    if (a <= 0) {
        return qMax<qint64>(b, 0);
    }
    return b <= 0 ? a : qMin(a, b);
}

// The process's group in the hierarchy whose controllers include the given
// one ("<id>:<controllers>:<path>"); no controller stands for the unified
// hierarchy ("0::<path>"). Empty in none.
QString GroupOf(const QString& cgroupList, const QByteArray& controller)
{
    QFile file(cgroupList);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype first = line.indexOf(':');
        const qsizetype second = line.indexOf(':', first + 1);
        const QByteArray controllers = line.mid(first + 1, second - first - 1);
        const QByteArray path = line.mid(second + 1);
        const bool named = controller.isEmpty() ? controllers.isEmpty() : controllers.split(',').contains(controller);
        if (second > 0 && named && path.startsWith('/')) {
            return QString::fromUtf8(path);
        }
    }
    return QString();
}

// Where the hierarchy of the memory controller of cgroup v1 is mounted and
// which of its groups is the mount's root, from the mount table
// ("<id> <parent> <device> <root> <mount point> <options> [tags] - <type>
// <source> <super options>"); the usual place when the table names none.
std::pair<QString, QString> MemoryHierarchyMount(const QString& mountInfo, const QString& cgroupRoot)
{
    QFile file(mountInfo);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            const qsizetype separator = fields.indexOf("-");
            if (separator > 4 && separator + 3 < fields.size() && fields[separator + 1] == "cgroup" &&
                fields[separator + 3].split(',').contains("memory")) {
                return {QString::fromUtf8(fields[4]), QString::fromUtf8(fields[3])};
            }
        }
    }
    return {cgroupRoot + QStringLiteral("/memory"), QStringLiteral("/")};
}

// The limit in a group's limit file; 0 for "max" or none.
qint64 GroupLimit(const QString& folder, const QString& limitFile)
{
    QFile file(folder + limitFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    bool ok = false;
    const qint64 limit = file.readLine(32).trimmed().toLongLong(&ok);
    return ok ? limit : 0;
}

// A group is held to its own limit and to those of the groups above it, up
// to the root of the hierarchy as mounted at mountPoint.
qint64 GroupTreeLimit(const QString& mountPoint, QString group, const QString& limitFile)
{
    qint64 limit = 0;
    for (;;) {
        limit = Smaller(limit, GroupLimit(mountPoint + group, limitFile));
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
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 0;
    }
    return static_cast<qint64>(limit.rlim_cur);
}

// The limit of the process's group under cgroup v1's memory controller. The
// group's path starts with the path of the group mounted as the root.
qint64 MemoryHierarchyLimit(const QString& cgroupList, const QString& mountInfo, const QString& cgroupRoot)
{
    const QString group = GroupOf(cgroupList, "memory");
    const auto [mountPoint, mountRoot] = MemoryHierarchyMount(mountInfo, cgroupRoot);
    const QString base = mountRoot == QStringLiteral("/") ? QString() : mountRoot;
    if (group.isEmpty() || (group != base && !group.startsWith(base + QLatin1Char('/')))) {
        return 0;
    }
    const QString below = group.mid(base.size());
    return GroupTreeLimit(mountPoint, below.isEmpty() ? QStringLiteral("/") : below,
                          QStringLiteral("/memory.limit_in_bytes"));
}

}  // namespace

qint64 SmallestMemoryLimit(qint64 physical, qint64 addressSpace, const QString& cgroupList, const QString& mountInfo,
                           const QString& cgroupRoot)
{
    qint64 limit = Smaller(physical, addressSpace);
    const QString group = GroupOf(cgroupList, QByteArray());
    if (!group.isEmpty()) {
        limit = Smaller(limit, GroupTreeLimit(cgroupRoot, group, QStringLiteral("/memory.max")));
    }
    return Smaller(limit, MemoryHierarchyLimit(cgroupList, mountInfo, cgroupRoot));
}

qint64 ProcessMemoryLimit()
{
    return SmallestMemoryLimit(PhysicalMemory(), AddressSpaceLimit(), QStringLiteral("/proc/self/cgroup"),
                               QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/sys/fs/cgroup"));
}
