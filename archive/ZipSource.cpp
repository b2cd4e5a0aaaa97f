#include "archive/ZipSource.h"

#include "archive/ZipResult.h"
#include "common/RegularFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

ZipSource::~ZipSource()
{
    if (m_bOwnsHandle && m_hFile >= 0) {
        close(m_hFile);
    }
}

ZipSource* ZipSource::OpenFile(const QString& fileName, quint32* result)
{
    // Only a regular file can be an archive.
    const int file = OpenRegularFile(fileName);
    if (file < 0) {
        *result = kZipCannotOpen;
        return nullptr;
    }
    auto* source = new ZipSource;
    source->m_hFile = file;
    const off_t position = lseek(file, 0, SEEK_CUR);
    source->m_bSeekable = position >= 0;
    source->m_nInitialOffset = position >= 0 ? static_cast<quint64>(position) : 0;
    *result = kZipOk;
    return source;
}

size_t ZipSource::Read(void* buffer, size_t itemSize, size_t itemCount)
{
    if (itemSize == 0 || itemCount > std::numeric_limits<size_t>::max() / itemSize) {
        return 0;
    }
    const size_t wanted = itemSize * itemCount;
    size_t done = 0;
    while (done < wanted) {
        const ssize_t got = read(m_hFile, static_cast<char*>(buffer) + done, wanted - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            m_bReadError = true;
            break;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done / itemSize;
}

bool ZipSource::Seek(quint64 offset, int origin)
{
    constexpr quint64 maxOffset = static_cast<quint64>(std::numeric_limits<off_t>::max());
    if (!m_bSeekable) {
        return false;
    }
    // Relative steps are signed: the unzip layer steps back, after reading a
    // record's extra field, by passing a negative step as its unsigned value.
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        if (offset > maxOffset - m_nInitialOffset) {
            return false;
        }
        return lseek(m_hFile, static_cast<off_t>(m_nInitialOffset + offset), SEEK_SET) >= 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
        return lseek(m_hFile, static_cast<off_t>(offset), SEEK_CUR) >= 0;
    case ZLIB_FILEFUNC_SEEK_END:
        return lseek(m_hFile, static_cast<off_t>(offset), SEEK_END) >= 0;
    default:
        return false;
    }
}

qint64 ZipSource::ReadAt(quint64 offset, void* buffer, size_t size) const
{
    // The whole range must lie where a file offset can reach.
    const quint64 room = static_cast<quint64>(std::numeric_limits<off_t>::max()) - m_nInitialOffset;
    if (!m_bSeekable || size > room || offset > room - size) {
        return -1;
    }
    const auto start = static_cast<off_t>(m_nInitialOffset + offset);
    size_t done = 0;
    while (done < size) {
        const ssize_t got =
            pread(m_hFile, static_cast<char*>(buffer) + done, size - done, start + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<qint64>(done);
}

quint64 ZipSource::Size() const
{
    struct stat status {};
    if (fstat(m_hFile, &status) != 0 || static_cast<quint64>(status.st_size) < m_nInitialOffset) {
        return 0;
    }
    return static_cast<quint64>(status.st_size) - m_nInitialOffset;
}

quint64 ZipSource::Tell() const
{
    const off_t position = lseek(m_hFile, 0, SEEK_CUR);
    if (position < 0 || static_cast<quint64>(position) < m_nInitialOffset) {
        return std::numeric_limits<quint64>::max();
    }
    return static_cast<quint64>(position) - m_nInitialOffset;
}

namespace {

voidpf OpenCallback(voidpf, const void* source, int)
{
    return const_cast<void*>(source);
}

uLong ReadCallback(voidpf, voidpf stream, void* buffer, uLong size)
{
    return static_cast<uLong>(static_cast<ZipSource*>(stream)->Read(buffer, 1, size));
}

uLong WriteCallback(voidpf, voidpf, const void*, uLong)
{
    return 0;  // the source is read-only
}

ZPOS64_T TellCallback(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->Tell();
}

long SeekCallback(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return static_cast<ZipSource*>(stream)->Seek(offset, origin) ? 0 : -1;
}

int CloseCallback(voidpf, voidpf stream)
{
    delete static_cast<ZipSource*>(stream);
    return 0;
}

int ErrorCallback(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->m_bReadError ? 1 : 0;
}

}  // namespace

zlib_filefunc64_def ZipSource::FileFunctions()
{
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenCallback;
    functions.zread_file = ReadCallback;
    functions.zwrite_file = WriteCallback;
    functions.ztell64_file = TellCallback;
    functions.zseek64_file = SeekCallback;
    functions.zclose_file = CloseCallback;
    functions.zerror_file = ErrorCallback;
    functions.opaque = nullptr;
    return functions;
}
