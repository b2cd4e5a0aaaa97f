#pragma once

#include "archive/ZipEntry.h"
#include "archive/ZipHandle.h"

#include <QString>

// The zip reader that callers hold: an open archive handle, the archive's
// path for error texts and the result of the latest operation.
class CZipReader {
public:
    CZipReader() = default;
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // Index -1 gives the number of entries in entry->index.
    bool GetItem(int index, ZipEntry* entry);
    // Unpacks up to length bytes of the entry (their number in *delivered
    // when asked); kZipMoreData (a false result) when more remains, to be
    // fetched by calling again with the same index.
    bool UnzipItem(int index, void* buffer, unsigned length, unsigned* delivered = nullptr);
    // "[ZIP] " + the text of the last result (+ "\nFile: " + the path).
    QString GetErrorText() const;
    static QString GetResultText(quint32 result);

    ZipHandle* m_hZip = nullptr;
    QString m_strArchivePath;
    quint32 m_nLastResult = 0;

private:
    quint32 CheckHandle() const;
    bool KeepResult(quint32 result);
};
