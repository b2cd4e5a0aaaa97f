#pragma once

#include <QString>

// A file created (or truncated) for writing, others may read it meanwhile;
// a symbolic link at the path is not followed.
// Every failure throws CFileException with the errno as its cause.
class CFile {
public:
    explicit CFile(const QString& path);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    void Write(const void* data, qint64 size);
    void Close();

private:
    [[noreturn]] void Fail(int error) const;

    QString m_strPath;
    int m_hFile = -1;
};
