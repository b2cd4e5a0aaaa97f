#include "imagelist/IntakeWalker.h"

#include "common/Paths.h"
#include "imagelist/IntakeAsker.h"
#include "imagelist/IntakeTypes.h"
#include "imagelist/TempFolder.h"
#include "imagelist/ZipExtract.h"
#include "platform/FileName.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

// What an archive library returns when the user cancelled inside it, and
// its code for more files than it can handle.
constexpr int kArchiverCancelled = 0x8020;
constexpr int kArchiverTooManyFiles = 0x8011;

// Archives nested deeper than this are left alone: an archive that holds
// itself would otherwise be extracted again and again until the disk is full.
constexpr int kMaxArchiveDepth = 8;

qint64 TotalFileSize(const QStringList& files)
{
    qint64 total = 0;
    for (const QString& file : files) {
        struct stat status {};
        total += GetFileStatus(file, status) ? status.st_size : 0;
    }
    return total;
}

}  // namespace

BOOL CIntakeWalker::AddArchive(const QString& origin, const QString& archive)
{
    if (m_nArchiveDepth >= kMaxArchiveDepth) {
        return 0;
    }
    QStringList files;
    if (!TakeArchiveFiles(origin, archive, files)) {
        return 0;
    }
    ++m_nArchiveDepth;
    const BOOL added = AddExtracted(origin, files);
    --m_nArchiveDepth;
    return added;
}

// The files the archive was extracted into, extracting it once while the
// list exists; false when it was not extracted.
bool CIntakeWalker::TakeArchiveFiles(const QString& origin, const QString& archive, QStringList& files)
{
    const QString& key = archive;
    QString folder = m_mapArchiveFolders.value(key);
    if (!folder.isEmpty()) {
        ListFilesRecursive(folder, files);
        return true;
    }
    if (IsOverLimit(origin)) {
        return false;
    }
    folder = ExtractArchive(origin, archive);
    if (folder.isEmpty()) {
        return false;
    }
    m_mapArchiveFolders.insert(key, folder);
    ListFilesRecursive(folder, files);
    m_nBytesWritten += TotalFileSize(files);
    return true;
}

// Every file of the folder in turn, archives inside included; all keep the
// outermost origin.
BOOL CIntakeWalker::AddExtracted(const QString& origin, const QStringList& files)
{
    BOOL added = 0;
    for (const QString& file : files) {
        if (m_bCancel) {
            break;
        }
        added |= AddFileOrArchive(origin, file);
    }
    return added;
}

// True once the intake has done all the extracting it may; the first
// archive skipped is told, naming where it came from.
bool CIntakeWalker::IsOverLimit(const QString& origin)
{
    if (m_nArchivesExtracted < m_nMaxArchives && m_nBytesWritten < m_nMaxBytes && !m_bBoundReached) {
        return false;
    }
    TellLimit(origin);
    return true;
}

void CIntakeWalker::TellLimit(const QString& origin)
{
    if (!m_bLimitTold) {
        m_bLimitTold = true;
        ShowArchiveError(CArcLib::GetErrorMessage(kArchiverTooManyFiles), origin);
    }
}

// The new folder the archive was extracted into; empty when it was not, the
// folder then removed again. A rar without its library is passed over
// quietly; any other failure has been reported, naming the user's archive,
// and cancels the intake. An archive stopped at the bound ends only the
// extracting, as the bound does between archives.
QString CIntakeWalker::ExtractArchive(const QString& origin, const QString& archive)
{
    const bool rar = IsRarFileType(archive);
    CArcLib library(rar ? m_strUnrarLibrary : m_strUnzipLibrary, rar ? kUnrarCommandName : kUnzipCommandName);
    const bool external = library.Load() && library.GetProcs() == 0;
    if (!external && rar) {
        return QString();
    }
    QString error;
    const QString folder = MakeTempFolder(error);
    if (folder.isEmpty()) {
        m_bCancel = 1;
        ShowArchiveError(error, origin);
        return QString();
    }
    ++m_nArchivesExtracted;
    if (external ? RunArchiver(library, origin, archive, folder) : ExtractZipAsking(origin, archive, folder)) {
        return folder;
    }
    if (!m_bBoundReached) {
        m_bCancel = 1;
    }
    DeleteFolderTree(folder);
    return QString();
}

bool CIntakeWalker::RunArchiver(CArcLib& library, const QString& origin, const QString& archive, const QString& folder)
{
    const QByteArray command = "-x \"" + EncodeFileName(archive) + "\" \"" + EncodeFileName(folder) + '"';
    const int result = library.m_pfnCommand(m_pArchiverOwner, command.constData(), nullptr, 0);
    if (result != 0 && result != kArchiverCancelled) {
        ShowArchiveError(CArcLib::GetErrorMessage(result), origin);
    }
    return result == 0;
}

// The built-in extraction, asking for the password as long as the archive
// wants one; false on a failure, when the user gives up or when it stops at
// the bound. The free space it may fill is what was free when the intake
// began less what the intake has written since, and it may write what the
// intake's bound leaves.
bool CIntakeWalker::ExtractZipAsking(const QString& origin, const QString& archive, const QString& folder)
{
    if (m_nFreeBytes < 0) {
        m_nFreeBytes = FreeBytesFor(folder);
    }
    const qint64 room = m_nFreeBytes < 0 ? -1 : std::max<qint64>(m_nFreeBytes - m_nBytesWritten, 0);
    const ZipExtractLimits limits{room, m_nMaxBytes - m_nBytesWritten};
    QString error;
    int result = ExtractZip(archive, folder, nullptr, error, limits);
    for (bool tried = false; result > 0; tried = true) {
        if (tried) {
            m_asker.ShowIntakeMessage(QStringLiteral("パスワードが違います。"));
        }
        QString password;
        if (!m_asker.AskArchivePassword(archive, password)) {
            return false;
        }
        result = ExtractZip(archive, folder, password.toLocal8Bit().constData(), error, limits);
    }
    if (result == kZipExtractBoundReached) {
        m_bBoundReached = true;
        TellLimit(origin);
    } else if (result < 0) {
        ShowArchiveError(error, origin);
    }
    return result == 0;
}

void CIntakeWalker::ShowArchiveError(const QString& text, const QString& origin)
{
    m_asker.ShowIntakeMessage(text + QStringLiteral("\nFile: ") + origin);
}
