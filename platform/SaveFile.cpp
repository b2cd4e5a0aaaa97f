#include "platform/SaveFile.h"

#include "platform/FileName.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

constexpr int kNameTries = 100;

// A fresh temporary name beside the path; short, so that it fits where the
// path's own name takes all the room a name has.
QByteArray TemporaryName(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    QByteArray name = path.left(slash + 1) + ".folivane-";
    for (int i = 0; i < 8; ++i) {
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[QRandomGenerator::global()->bounded(36)];
    }
    return name;
}

// The folder of the path, where its temporary file is made.
QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
}

// Gives the unnamed file open at the descriptor the name; an errno value.
int LinkUnnamed(int descriptor, const QByteArray& name)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(descriptor);
    if (linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    // Without /proc the descriptor itself is linked, which only some may do.
    if (errno == ENOENT && linkat(descriptor, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    return errno;
}

}  // namespace

CSaveFile::CSaveFile(const QString& path) : m_path(EncodeFileName(path)) {}

CSaveFile::~CSaveFile()
{
    Discard();
}

int CSaveFile::Open()
{
    struct stat target {};
    if (lstat(m_path.constData(), &target) != 0 || S_ISLNK(target.st_mode)) {
        return CreateTemporary(0666);
    }
    if (S_ISDIR(target.st_mode)) {
        return EISDIR;
    }
    if (access(m_path.constData(), W_OK) != 0) {
        return errno;
    }
    // Made private first: the old file's mode may be stricter than the umask's.
    // Its permissions only: set-user-id and set-group-id are not handed on.
    const int error = CreateTemporary(0600);
    if (error == 0) {
        fchmod(m_descriptor, target.st_mode & 0777);
    }
    return error;
}

// Unnamed where the file system allows it, else under a temporary name.
int CSaveFile::CreateTemporary(mode_t mode)
{
    m_descriptor = open(FolderOf(m_path).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (const int error = m_descriptor < 0 ? CreateNamed(mode) : 0) {
        return error;
    }
    if (!m_file.open(m_descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        Discard();
        return EIO;
    }
    return 0;
}

int CSaveFile::CreateNamed(mode_t mode)
{
    for (int i = 0; i < kNameTries && m_descriptor < 0; ++i) {
        m_temporary = TemporaryName(m_path);
        m_descriptor = open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (m_descriptor < 0 && errno != EEXIST) {
            m_temporary.clear();
            return errno;
        }
    }
    if (m_descriptor < 0) {
        m_temporary.clear();
        return EEXIST;
    }
    return 0;
}

// A name for the unnamed file, given just before the rename puts it in place.
int CSaveFile::NameUnnamed()
{
    for (int i = 0; i < kNameTries; ++i) {
        const QByteArray name = TemporaryName(m_path);
        const int error = LinkUnnamed(m_descriptor, name);
        if (error == 0) {
            m_temporary = name;
        }
        if (error != EEXIST) {
            return error;
        }
    }
    return EEXIST;
}

int CSaveFile::Commit()
{
    // A failed last write, a full disk or a file-size limit, is found by the
    // flush or the sync; the old file then stays.
    int error = m_file.flush() && m_file.error() == QFileDevice::NoError ? 0 : EIO;
    m_file.close();
    if (error == 0 && fdatasync(m_descriptor) != 0 && errno != EINVAL) {
        error = errno;
    }
    if (error == 0 && m_temporary.isEmpty()) {
        error = NameUnnamed();
    }
    if (close(std::exchange(m_descriptor, -1)) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(m_temporary.constData(), m_path.constData()) != 0) {
        error = errno;
    }
    if (error == 0) {
        m_temporary.clear();
    }
    Discard();
    return error;
}

void CSaveFile::Discard()
{
    m_file.close();
    if (m_descriptor >= 0) {
        close(std::exchange(m_descriptor, -1));
    }
    if (!m_temporary.isEmpty()) {
        unlink(m_temporary.constData());
        m_temporary.clear();
    }
}
