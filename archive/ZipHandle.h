#pragma once

#include <QString>
#include <QtGlobal>

// Kinds of zip handle; only readers are ever created.
constexpr quint32 kZipHandleReader = 1;
constexpr quint32 kZipHandleWriter = 2;

// An open archive as callers hold it: its kind and the object behind it.
struct ZipHandle {
    quint32 kind = 0;
    void* object = nullptr;
};

// Opens an archive for reading with an optional password (null for none).
// Null on failure; GetZipLastResult then tells why.
ZipHandle* OpenZipArchive(const QString& fileName, quint32 length, const char* password);

// Closes and frees the handle; the result is also kept as the last result.
quint32 CloseUnzipHandle(ZipHandle* handle);

// The result of the latest zip operation in this process.
quint32 GetZipLastResult();
void SetZipLastResult(quint32 result);
