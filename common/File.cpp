#include "common/File.h"

#include "common/FileException.h"

#include "platform/FileName.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CFile::CFile(const QString& path) : m_strPath(path)
{
    // A link at the path is refused, never followed to overwrite its target.
    m_hFile = open(EncodeFileName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (m_hFile < 0) {
        Fail(errno);
    }
}

CFile::~CFile()
{
    if (m_hFile >= 0) {
        close(m_hFile);
    }
}

void CFile::Write(const void* data, qint64 size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(m_hFile, bytes, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            Fail(written < 0 ? errno : ENOSPC);
        }
        bytes += written;
        size -= written;
    }
}

void CFile::Close()
{
    const int file = m_hFile;
    m_hFile = -1;
    if (file >= 0 && close(file) != 0) {
        Fail(errno);
    }
}

void CFile::Fail(int error) const
{
    throw CFileException(error, m_strPath + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(error)));
}
