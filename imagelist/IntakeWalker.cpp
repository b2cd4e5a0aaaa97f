#include "imagelist/IntakeWalker.h"

#include "common/Paths.h"
#include "imagelist/IntakeAsker.h"
#include "imagelist/IntakeTypes.h"
#include "msgbox/ExtMsgBoxDefs.h"

#include <sys/stat.h>

CIntakeWalker::CIntakeWalker(std::vector<std::unique_ptr<CImageInfo>>& images, std::vector<int>& rows,
                             QHash<QString, QString>& archiveFolders, IIntakeAsker& asker)
    : m_arrImages(images), m_arrRows(rows), m_mapArchiveFolders(archiveFolders), m_asker(asker)
{
    // One lookup per file instead of a walk over the whole list keeps a large
    // intake linear.
    m_setPaths.reserve(static_cast<qsizetype>(images.size()));
    for (const auto& info : images) {
        m_setPaths.insert(info->m_strPath);
    }
}

BOOL CIntakeWalker::AddPath(const QString& path)
{
    struct stat status {};
    if (!GetFileStatus(path, status)) {
        return 0;
    }
    return S_ISDIR(status.st_mode) ? AddFolder(path) : AddFileOrArchive(path, path);
}

BOOL CIntakeWalker::AddFolder(const QString& folder)
{
    BOOL added = 0;
    QStringList subfolders;
    for (const FolderItem& item : ListFolder(folder)) {
        if (item.isFolder) {
            if (!TakeSubfolder(item.path, subfolders)) {
                break;
            }
            continue;
        }
        // A link is never walked as a folder, so a link back up the tree
        // cannot make the walk endless.
        added |= AddFileOrArchive(item.path, item.path);
        if (m_bCancel) {
            break;
        }
    }
    for (const QString& subfolder : subfolders) {
        if (m_bCancel) {
            break;
        }
        added |= AddFolder(subfolder);
    }
    return added;
}

// Asks the subfolder question when it has not been asked in this intake and
// keeps the folder for later when subfolders are wanted; false on Cancel.
bool CIntakeWalker::TakeSubfolder(const QString& folder, QStringList& subfolders)
{
    if (m_nSubfolderAnswer < 0) {
        const int answer = m_asker.AskSubfolders();
        if (answer == IDCANCEL) {
            m_bCancel = 1;
            return false;
        }
        m_nSubfolderAnswer = answer == IDYES ? 1 : 0;
    }
    if (m_nSubfolderAnswer == 1) {
        subfolders.append(folder);
    }
    return true;
}

BOOL CIntakeWalker::AddFileOrArchive(const QString& origin, const QString& path)
{
    return IsArchiveFileType(path) ? AddArchive(origin, path) : AddImageFile(origin, path);
}

BOOL CIntakeWalker::AddImageFile(const QString& origin, const QString& path)
{
    if (!IsImageFileType(path)) {
        return 0;
    }
    // Names that differ only in case are different files here.
    if (m_setPaths.contains(path)) {
        return 0;
    }
    if (m_arrRows.size() >= static_cast<size_t>(kMaxListEntries)) {
        m_asker.ShowIntakeMessage(QStringLiteral("ファイルを追加できるのは %1 個までです。").arg(kMaxListEntries));
        m_bCancel = 1;
        return 0;
    }
    // Folders and devices are no pages.
    struct stat status {};
    if (!GetFileStatus(path, status) || !S_ISREG(status.st_mode)) {
        return 0;
    }
    auto info = std::make_unique<CImageInfo>();
    info->m_strOrigin = origin;
    info->m_strPath = path;
    info->m_bPending = 0;
    info->Reset(status.st_size, status.st_mtime);
    m_arrImages.push_back(std::move(info));
    m_arrRows.push_back(static_cast<int>(m_arrImages.size()) - 1);
    m_setPaths.insert(path);
    return 1;
}
