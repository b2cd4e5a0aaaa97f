#pragma once

#include <QString>
#include <QtGlobal>

#include <minizip/ioapi.h>

#include <cstddef>

// An archive file as the byte source of the unzip layer. Every archive offset
// is taken relative to the file position at opening.
class ZipSource {
public:
    ~ZipSource();
    ZipSource(const ZipSource&) = delete;
    ZipSource& operator=(const ZipSource&) = delete;

    // Opens the file for reading; null with *result = kZipCannotOpen on failure.
    static ZipSource* OpenFile(const QString& fileName, quint32* result);

    // The unzip layer's file functions over a source given to unzOpen2_64 as
    // the file name. The layer owns the source from then on and deletes it
    // when it closes the archive.
    static zlib_filefunc64_def FileFunctions();

    // Reads itemSize * itemCount bytes at the current position; returns the
    // number of whole items read.
    size_t Read(void* buffer, size_t itemSize, size_t itemCount);
    bool Seek(quint64 offset, int origin);
    quint64 Tell() const;
    // Reads up to size bytes at the archive offset, leaving the position the
    // unzip layer works from alone; the number read, short only at the
    // file's end, or -1 on failure.
    qint64 ReadAt(quint64 offset, void* buffer, size_t size) const;
    // The number of bytes from the initial offset to the file's end, 0 when
    // it cannot be told.
    quint64 Size() const;

    bool m_bSeekable = false;
    int m_hFile = -1;
    bool m_bReadError = false;
    quint64 m_nInitialOffset = 0;
    bool m_bOwnsHandle = true;

private:
    ZipSource() = default;
};
