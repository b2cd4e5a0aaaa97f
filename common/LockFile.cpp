#include "common/LockFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/FileIdentity.h"

namespace {

// Looks again after a name changed under the look: twice, for a name that
// something else takes again in the meantime.
constexpr int kAttempts = 3;

// Removes what stands at the name only while it is still the thing found
// there: a link as a link, a folder only when empty. Whatever took the name
// since (another copy's lock file, say) is left to its maker. False with
// errno where the thing cannot be removed.
bool RemoveFound(int folder, const char* name, const struct stat& found)
{
    struct stat status {};
    if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !IsSameFile(status, found))
        return true;
    return unlinkat(folder, name, S_ISDIR(found.st_mode) ? AT_REMOVEDIR : 0) == 0 || errno == ENOENT;
}

// Opens the regular file at the name, made when missing: its descriptor; -1
// with the thing found there unusable in found (errno 0), or with errno.
int OpenRegular(int folder, const char* name, struct stat& found)
{
    const bool present = fstatat(folder, name, &found, AT_SYMLINK_NOFOLLOW) == 0;
    // Only a regular file is opened: opening a device may act on it.
    if (present && !S_ISREG(found.st_mode)) {
        errno = 0;
        return -1;
    }
    const int file = openat(folder, name, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (file >= 0 && fstat(file, &found) == 0 && S_ISREG(found.st_mode))
        return file;
    if (file >= 0) {
        close(file);  // the name changed between the look and the open
        errno = EAGAIN;
    } else if (errno == EACCES || errno == EPERM) {
        // A file this user cannot open is unusable; with nothing at the
        // name still, it is the folder that refuses.
        const int error = errno;
        errno = present ? 0 : fstatat(folder, name, &found, AT_SYMLINK_NOFOLLOW) != 0 ? error : EAGAIN;
    } else if (errno == ELOOP) {
        errno = EAGAIN;  // a link put there after the look
    }
    return -1;
}

}  // namespace

int OpenLockFileAt(int folder, const QByteArray& name)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        struct stat found {};
        const int file = OpenRegular(folder, name.constData(), found);
        if (file >= 0)
            return file;
        if (errno == EAGAIN)
            continue;
        // Out of descriptors or space, say: nothing at the name to blame.
        if (errno != 0 || !RemoveFound(folder, name.constData(), found))
            return -1;
    }
    errno = EAGAIN;
    return -1;
}

bool IsLockFileNamed(int folder, const QByteArray& name, int file)
{
    struct stat opened {};
    struct stat named {};
    return fstat(file, &opened) == 0 && fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           IsSameFile(opened, named);
}
