#include "archive/ZipHandle.h"

#include "archive/ZipResult.h"
#include "archive/ZipUnpacker.h"

#include <atomic>

namespace {

std::atomic<quint32> g_lastResult{kZipOk};

}  // namespace

quint32 GetZipLastResult()
{
    return g_lastResult.load();
}

void SetZipLastResult(quint32 result)
{
    g_lastResult.store(result);
}

ZipHandle* OpenZipArchive(const QString& fileName, quint32 /*length*/, const char* password)
{
    auto* unpacker = new ZipUnpacker(password);
    const quint32 result = unpacker->Open(fileName);
    SetZipLastResult(result);
    if (result != kZipOk) {
        delete unpacker;
        return nullptr;
    }
    return new ZipHandle{kZipHandleReader, unpacker};
}

quint32 CloseUnzipHandle(ZipHandle* handle)
{
    quint32 result = kZipOk;
    if (handle == nullptr) {
        result = kZipBadArguments;
    } else if (handle->kind != kZipHandleReader) {
        result = kZipMixedModes;
    } else {
        auto* unpacker = static_cast<ZipUnpacker*>(handle->object);
        result = unpacker->Close();
        delete unpacker;
        delete handle;
    }
    SetZipLastResult(result);
    return result;
}
