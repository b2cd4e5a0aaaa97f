#include "platform/SaveFile.h"

#include "platform/FileName.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const int error = CreateTemporary(0600);
    if (error == 0) {
        fchmod(m_descriptor, target.st_mode & 07777);
    }
    return error;
}

int CSaveFile::CreateTemporary(mode_t mode)
{
    for (int i = 0; i < kNameTries && m_descriptor < 0; ++i) {
        m_temporary = TemporaryName(m_path);
        m_descriptor = open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (m_descriptor < 0 && errno != EEXIST) {
            return errno;
        }
    }
    if (m_descriptor < 0) {
        return EEXIST;
    }
    if (!m_file.open(m_descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        Discard();
        return EIO;
    }
    return 0;
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
