#include "common/LockFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileIdentity.h"

namespace {

// Tries to open again after clearing the name: twice, for a name that
// something else takes again in the meantime.
constexpr int kAttempts = 3;

// Removes what stands at the name: a link as a link, a folder only when empty.
bool ClearName(int folder, const char* name)
{
    struct stat status {};
    if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    return unlinkat(folder, name, S_ISDIR(status.st_mode) ? AT_REMOVEDIR : 0) == 0 || errno == ENOENT;
}

}  // namespace

int OpenLockFileAt(int folder, const QByteArray& name)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        struct stat status {};
        // Only a regular file is opened: opening a device may act on it.
        const bool other =
            fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(status.st_mode);
        const int file = other ? -1
                               : openat(folder, name.constData(),
                                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
        if (file >= 0 && fstat(file, &status) == 0 && S_ISREG(status.st_mode))
            return file;
        // Out of descriptors or space, say: nothing at the name to blame.
        if (file < 0 && !other && errno != EACCES && errno != EPERM && errno != ELOOP)
            return -1;
        if (file >= 0)
            close(file);
        if (!ClearName(folder, name.constData()))
            return -1;
    }
    return -1;
}

bool IsLockFileNamed(int folder, const QByteArray& name, int file)
{
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           IsSameFile(opened, named);
}
