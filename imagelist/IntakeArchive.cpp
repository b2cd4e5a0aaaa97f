#include "imagelist/IntakeWalker.h"

#include <QFile>

#include "common/Paths.h"
#include "imagelist/IntakeAsker.h"
#include "imagelist/IntakeTypes.h"
#include "imagelist/TempFolder.h"
#include "imagelist/ZipExtract.h"

namespace {

// What an archive library returns when the user cancelled inside it.
constexpr int kArchiverCancelled = 0x8020;

// Archives nested deeper than this are left alone: an archive that holds
// itself would otherwise be extracted again and again until the disk is full.
constexpr int kMaxArchiveDepth = 8;

}  // namespace

BOOL CIntakeWalker::AddArchive(const QString& origin, const QString& archive)
{
    if (m_nArchiveDepth >= kMaxArchiveDepth) {
        return 0;
    }
    // An archive is extracted once while the list exists.
    QString folder = m_mapArchiveFolders.value(archive);
    if (folder.isEmpty()) {
        folder = ExtractArchive(archive);
        if (folder.isEmpty()) {
            return 0;
        }
        m_mapArchiveFolders.insert(archive, folder);
    }
    ++m_nArchiveDepth;
    const BOOL added = AddExtracted(origin, folder);
    --m_nArchiveDepth;
    return added;
}

// Every file of the folder in turn, archives inside included; all keep the
// outermost origin.
BOOL CIntakeWalker::AddExtracted(const QString& origin, const QString& folder)
{
    QStringList files;
    ListFilesRecursive(folder, files);
    BOOL added = 0;
    for (const QString& file : files) {
        if (m_bCancel) {
            break;
        }
        added |= AddFileOrArchive(origin, file);
    }
    return added;
}

// The new folder the archive was extracted into; empty when it was not, the
// folder then removed again. A rar without its library is passed over
// quietly; any other failure has been reported and cancels the intake.
QString CIntakeWalker::ExtractArchive(const QString& archive)
{
    const bool rar = IsRarFileType(archive);
    CArcLib library(rar ? m_strUnrarLibrary : m_strUnzipLibrary, rar ? kUnrarCommandName : kUnzipCommandName);
    const bool external = library.Load() && library.GetProcs() == 0;
    if (!external && rar) {
        return QString();
    }
    const QString folder = MakeTempFolder();
    if (external ? RunArchiver(library, archive, folder) : ExtractZipAsking(archive, folder)) {
        return folder;
    }
    m_bCancel = 1;
    DeleteFolderTree(folder);
    return QString();
}

bool CIntakeWalker::RunArchiver(CArcLib& library, const QString& archive, const QString& folder)
{
    const QByteArray command = "-x \"" + QFile::encodeName(archive) + "\" \"" + QFile::encodeName(folder) + '"';
    const int result = library.m_pfnCommand(m_pArchiverOwner, command.constData(), nullptr, 0);
    if (result != 0 && result != kArchiverCancelled) {
        ShowArchiveError(CArcLib::GetErrorMessage(result), archive);
    }
    return result == 0;
}

// The built-in extraction, asking for the password as long as the archive
// wants one; false on a failure or when the user gives up.
bool CIntakeWalker::ExtractZipAsking(const QString& archive, const QString& folder)
{
    QString error;
    int result = ExtractZip(archive, folder, nullptr, error);
    for (bool tried = false; result > 0; tried = true) {
        if (tried) {
            m_asker.ShowIntakeMessage(QStringLiteral("パスワードが違います。"));
        }
        QString password;
        if (!m_asker.AskArchivePassword(archive, password)) {
            return false;
        }
        result = ExtractZip(archive, folder, password.toLocal8Bit().constData(), error);
    }
    if (result < 0) {
        ShowArchiveError(error, archive);
    }
    return result == 0;
}

void CIntakeWalker::ShowArchiveError(const QString& text, const QString& archive)
{
    m_asker.ShowIntakeMessage(text + QStringLiteral("\nFile: ") + archive);
}
