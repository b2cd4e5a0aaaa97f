#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

#include "archive/ArcLib.h"
#include "imagelist/ImageInfo.h"
#include "imagelist/IntakeTypes.h"
#include "platform/WinTypes.h"

class IIntakeAsker;

// One intake: turns paths into entries appended to the list's arrays.
// Folders are walked (their own files first, then the subfolders depth
// first), archives are extracted once per list and their files taken in
// turn, and image files are checked and appended. The subfolder answer and
// the cancel state live as long as the walker: one walker serves one intake.
// Each BOOL result tells whether at least one entry was added.
class CIntakeWalker {
public:
    CIntakeWalker(std::vector<std::unique_ptr<CImageInfo>>& images, std::vector<int>& rows,
                  QHash<QString, QString>& archiveFolders, IIntakeAsker& asker);

    // A path as the user gave it: missing ones are skipped, folders walked.
    BOOL AddPath(const QString& path);
    BOOL AddFolder(const QString& folder);
    // origin is what the entries keep as where they came from; path the file read.
    BOOL AddFileOrArchive(const QString& origin, const QString& path);
    BOOL AddImageFile(const QString& origin, const QString& path);
    BOOL IsCancelled() const { return m_bCancel; }

    // The archive libraries tried before the built-in zip reader, and the
    // owner window handed to them.
    QString m_strUnzipLibrary = QString::fromLatin1(kUnzipLibraryName);
    QString m_strUnrarLibrary = QString::fromLatin1(kUnrarLibraryName);
    void* m_pArchiverOwner = nullptr;

    // The work of one intake is bounded: once this many archives have been
    // extracted, or this many bytes written, further archives are skipped; an
    // archive whose extraction would pass the bytes stops there and goes.
    int m_nMaxArchives = kMaxIntakeArchives;
    qint64 m_nMaxBytes = kMaxIntakeBytes;
    // The free bytes of the temporary file system when the intake began;
    // measured at its first extraction when not set.
    qint64 m_nFreeBytes = -1;

private:
    bool TakeSubfolder(const QString& folder, QStringList& subfolders);
    BOOL AddArchive(const QString& origin, const QString& archive);
    bool TakeArchiveFiles(const QString& origin, const QString& archive, QStringList& files);
    BOOL AddExtracted(const QString& origin, const QStringList& files);
    bool IsOverLimit(const QString& origin);
    void TellLimit(const QString& origin);
    QString ExtractArchive(const QString& origin, const QString& archive);
    bool RunArchiver(CArcLib& library, const QString& origin, const QString& archive, const QString& folder);
    bool ExtractZipAsking(const QString& origin, const QString& archive, const QString& folder);
    void ShowArchiveError(const QString& text, const QString& origin);

    std::vector<std::unique_ptr<CImageInfo>>& m_arrImages;
    std::vector<int>& m_arrRows;
    QHash<QString, QString>& m_mapArchiveFolders;
    IIntakeAsker& m_asker;
    int m_nSubfolderAnswer = -1;  // -1 not asked yet, 1 add subfolders, 0 not
    BOOL m_bCancel = 0;
    int m_nArchiveDepth = 0;
    int m_nArchivesExtracted = 0;
    qint64 m_nBytesWritten = 0;
    bool m_bBoundReached = false;  // an extraction stopped at the bytes' bound
    bool m_bLimitTold = false;
    QSet<QString> m_setPaths;  // paths of the entries, for the duplicate test
};
