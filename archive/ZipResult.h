#pragma once

#include <QtGlobal>

// Result codes of the zip reader. Callers compare against these values and
// show their texts through CZipReader::GetErrorText.
enum ZipResult : quint32 {
    kZipOk = 0,
    kZipHandleNotDuplicated = 0x100,
    kZipCannotOpen = 0x200,
    kZipNoMemory = 0x300,
    kZipWriteFailed = 0x400,
    kZipFileNotFound = 0x500,
    kZipMoreData = 0x600,
    kZipCorrupt = 0x700,
    kZipReadFailed = 0x800,
    kZipBadPassword = 0x1000,
    kZipBadArguments = 0x10000,
    kZipNotMemoryZip = 0x20000,
    kZipMemorySize = 0x30000,
    kZipPreviousError = 0x40000,
    kZipAlreadyEnded = 0x50000,
    kZipWrongSize = 0x60000,
    kZipPartlyUnzipped = 0x70000,
    kZipMixedModes = 0x80000,
    kZipNotInitialised = 0x1000000,
    kZipUnseekable = 0x2000000,
    kZipNoChange = 0x4000000,
    kZipFlation = 0x5000000,
};

// The largest entry the reader unpacks: a claim above it is refused before
// any memory or disk is spent on it.
constexpr qint64 kZipMaxEntrySize = qint64(1) << 30;
