#include "imagelist/ZipExtract.h"

#include "archive/ZipReader.h"
#include "archive/ZipResult.h"
#include "common/ErrorText.h"
#include "common/File.h"
#include "common/FileException.h"
#include "common/Paths.h"
#include "imagelist/OutputNames.h"

#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

namespace {

// Entries are unpacked and written in pieces of at most this size, so that
// memory stays small whatever an entry claims.
constexpr int kPieceSize = 1 << 20;

// The entry name as a path below the folder: backslashes become folder
// separators, characters not allowed in file names become '_', and leading
// separators go.
QString MapEntryName(const QString& name)
{
    static const QString forbidden = QStringLiteral("\"*:<>?|");
    QString mapped = name;
    for (QChar& c : mapped) {
        if (c == QLatin1Char('\\')) {
            c = QLatin1Char('/');
        } else if (c.unicode() < 0x20 || forbidden.contains(c)) {
            c = QLatin1Char('_');
        }
    }
    while (mapped.startsWith(QLatin1Char('/'))) {
        mapped.remove(0, 1);
    }
    return mapped;
}

// One extraction under way: the reader, where the files go, the file names
// given so far per folder (case-folded, as a folder may ignore case), the
// bytes it may still write (-1: no bound) and where a failure's reason goes.
struct Extraction {
    CZipReader reader;
    QString folder;
    QHash<QString, COutputNames> names;
    qint64 bytesLeft = -1;
    QString& errorText;
};

// The mapped name when this extraction has not given it yet, else the first
// free "title(n)extension" in the same folder, numbered (and fitted to a file
// name) as output names are, so that no entry overwrites another's file.
QString TakeFreeName(Extraction& extraction, const QString& name)
{
    const QString folder = GetFolderPart(name);
    const QString fileName = name.mid(folder.size());
    COutputNames& names = extraction.names[folder.toCaseFolded()];
    if (!names.Contains(fileName)) {
        names.Add(fileName);
        return name;
    }
    return folder + names.TakeNumbered(GetFileTitlePart(fileName), GetExtensionPart(fileName));
}

// Counts a piece against the bound; false when it would pass it.
bool Spend(Extraction& extraction, unsigned count)
{
    if (extraction.bytesLeft < 0) {
        return true;
    }
    if (count > extraction.bytesLeft) {
        return false;
    }
    extraction.bytesLeft -= count;
    return true;
}

// The result for a failed reader call: 1 for a password problem, else -1
// with the reader's text.
int ReaderFailure(const CZipReader& reader, QString& errorText)
{
    if (reader.m_nLastResult == kZipBadPassword) {
        return 1;
    }
    errorText = reader.GetErrorText();
    return -1;
}

// Unpacks one piece into buffer; false on a failure other than "more data".
bool UnzipPiece(CZipReader& reader, int index, char* buffer, int pieceSize, unsigned& delivered)
{
    return reader.UnzipItem(index, buffer, static_cast<unsigned>(pieceSize), &delivered) ||
           reader.m_nLastResult == kZipMoreData;
}

// Writes the entry's first piece, already in buffer, and every piece after
// it, each counted against the bound before it is written.
int WriteEntry(Extraction& extraction, int index, char* buffer, int pieceSize, unsigned delivered,
               const QString& targetFile)
{
    CZipReader& reader = extraction.reader;
    try {
        CFile file(targetFile);
        for (;;) {
            if (!Spend(extraction, delivered)) {
                return kZipExtractBoundReached;
            }
            file.Write(buffer, delivered);
            if (reader.m_nLastResult != kZipMoreData) {
                break;
            }
            if (!UnzipPiece(reader, index, buffer, pieceSize, delivered)) {
                return ReaderFailure(reader, extraction.errorText);
            }
        }
        file.Close();
    } catch (const std::exception& exception) {
        extraction.errorText = QStringLiteral("extract file write error\n") + GetExceptionText(exception);
        return -1;
    }
    return 0;
}

int ExtractEntry(Extraction& extraction, const ZipEntry& entry, const QString& name)
{
    CZipReader& reader = extraction.reader;
    QString& errorText = extraction.errorText;
    const int pieceSize = std::min(entry.uncompressedSize, kPieceSize);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(pieceSize)]);
    if (!buffer) {
        errorText = QStringLiteral("memory alloc error");
        return -1;
    }
    unsigned delivered = 0;
    if (!UnzipPiece(reader, entry.index, buffer.get(), pieceSize, delivered)) {
        return ReaderFailure(reader, errorText);
    }
    QString targetFolder = extraction.folder;
    const QString folderPart = GetFolderPart(name);
    if (folderPart.size() >= 2) {
        targetFolder += folderPart;
    }
    if (const int code = CreateFolderPath(targetFolder)) {
        errorText = QStringLiteral("create dir error\n") + GetSystemErrorText(code) + QLatin1Char('\n') + targetFolder;
        return -1;
    }
    const QString targetFile = targetFolder + name.mid(folderPart.size());
    return WriteEntry(extraction, entry.index, buffer.get(), pieceSize, delivered, targetFile);
}

// The sizes the entries claim, up to the first one that cannot be looked up
// (extraction stops there): the reader never delivers more than claimed.
qint64 ClaimedBytes(CZipReader& reader, int count)
{
    qint64 total = 0;
    ZipEntry entry;
    for (int index = 0; index < count && reader.GetItem(index, &entry); ++index) {
        total += std::max(entry.uncompressedSize, 0);
    }
    return total;
}

// An archive whose files cannot all fit fails before anything is written,
// with the text a write running out of space gives.
bool FitsOnDisk(CZipReader& reader, int count, const QString& folder, qint64 room, QString& errorText)
{
    qint64 free = FreeBytesFor(folder);
    if (room >= 0) {
        free = free < 0 ? room : std::min(free, room);
    }
    if (free < 0 || ClaimedBytes(reader, count) <= free) {
        return true;
    }
    const CFileException full(ENOSPC, folder + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(ENOSPC)));
    errorText = QStringLiteral("extract file write error\n") + GetExceptionText(full);
    return false;
}

// A name left empty by sanitising, or naming only a folder, has no file to write.
bool NamesAFile(const QString& mapped)
{
    return !mapped.isEmpty() && !mapped.endsWith(QLatin1Char('/'));
}

}  // namespace

// The folder's nearest existing parent is asked, since the folder comes
// into being with its first file.
qint64 FreeBytesFor(const QString& folder)
{
    QFileInfo place(folder);
    while (!place.exists() && !place.isRoot() && place.path() != place.filePath()) {
        place.setFile(place.path());
    }
    const QStorageInfo storage(place.filePath());
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

int ExtractZip(const QString& archivePath, const QString& folder, const char* password, QString& errorText,
               const ZipExtractLimits& limits)
{
    Extraction extraction{.reader{}, .folder = folder, .names{}, .bytesLeft = limits.bound, .errorText = errorText};
    CZipReader& reader = extraction.reader;
    reader.m_hZip = OpenZipArchive(archivePath, 0, password);
    if (reader.m_hZip == nullptr) {
        reader.m_nLastResult = GetZipLastResult();
        return ReaderFailure(reader, errorText);
    }
    ZipEntry entry;
    if (!reader.GetItem(-1, &entry)) {
        return ReaderFailure(reader, errorText);
    }
    const int count = entry.index;
    if (!FitsOnDisk(reader, count, folder, limits.room, errorText)) {
        return -1;
    }
    for (int index = 0; index < count; ++index) {
        if (!reader.GetItem(index, &entry)) {
            return ReaderFailure(reader, errorText);
        }
        const QString name = MapEntryName(entry.name);
        if (entry.uncompressedSize <= 0 || !NamesAFile(name)) {
            continue;  // folders and empty files
        }
        if (const int result = ExtractEntry(extraction, entry, TakeFreeName(extraction, name))) {
            return result;
        }
    }
    return 0;
}
