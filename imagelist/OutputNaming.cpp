#include "imagelist/ImageListCtrl.h"

#include "common/FileNameFit.h"
#include "common/Paths.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "settings/OutputFolder.h"

#include <sys/stat.h>

namespace {

QString ExtensionOf(const QString& path, const QString& title)
{
    return path.mid(GetFolderPart(path).size() + title.size());
}

bool IsSavableExtension(const QString& extension)
{
    static const QStringList savable = {QStringLiteral(".jpg"), QStringLiteral(".jpeg"), QStringLiteral(".jpe"),
                                        QStringLiteral(".png"), QStringLiteral(".bmp")};
    return savable.contains(extension, Qt::CaseInsensitive);
}

}  // namespace

void CImageListCtrl::MakeOutputFileName(const CImageInfo& info, QString& title, QString& extension) const
{
    title = GetFileTitlePart(info.m_strPath);
    switch (m_option.SaveFormat) {
    case 0:
        extension = ExtensionOf(info.m_strPath, title);
        if (!IsSavableExtension(extension)) {
            extension = QStringLiteral(".png");
        }
        break;
    case 1:
        extension = QStringLiteral(".jpg");
        break;
    case 2:
        extension = QStringLiteral(".png");
        break;
    case 3:
        extension = QStringLiteral(".bmp");
        break;
    default:
        title.clear();
        extension.clear();
        break;
    }
}

BOOL CImageListCtrl::PrepareSave()
{
    // Names per output folder: first every entry whose own title is free
    // there, then numbered names for the rest, so that a name taken by a later
    // entry's own title is not given away as a number first.
    for (const bool numbered : {false, true}) {
        for (const auto& info : m_arrImages) {
            if (info->m_bLoadFailed || !info->m_strOutputName.isEmpty()) {
                continue;
            }
            COutputNames& names = m_mapOutputNames[GetOutputFolder(info->m_strOrigin, m_option).toLower()];
            QString title;
            QString extension;
            MakeOutputFileName(*info, title, extension);
            if (numbered) {
                info->m_strOutputName = names.TakeNumbered(title, extension);
                continue;
            }
            const QString own = FitFileName(title, extension);  // a title too long for a file name is shortened
            if (!names.Contains(own)) {
                info->m_strOutputName = own;
                names.Add(own);
            }
        }
    }
    if (!m_option.OwPrompt) {
        return true;
    }

    bool noToAll = false;
    const size_t count = m_arrImages.size();
    for (size_t i = 0; i < count; ++i) {
        CImageInfo& info = *m_arrImages[i];
        if (info.m_bLoadFailed || !info.m_bPending) {
            continue;
        }
        const QString path = GetOutputFolder(info.m_strOrigin, m_option) + info.m_strOutputName;
        struct stat status {};
        if (!GetFileStatus(path, status)) {
            continue;
        }
        if (noToAll) {
            info.m_bPending = 0;
            continue;
        }
        bool laterToDo = false;
        for (size_t j = i + 1; j < count && !laterToDo; ++j) {
            laterToDo = !m_arrImages[j]->m_bLoadFailed && m_arrImages[j]->m_bPending;
        }
        std::uint32_t style = MB_YESNOCANCEL;
        style |= MB_ICONQUESTION;
        if (laterToDo) {
            style |= MB_YESTOALL | MB_NOTOALL;
        }
        switch (
            AskOverwrite(path + QStringLiteral("\r\nはすでに存在しています。上書きしてもよろしいですか？"), style)) {
        case IDNO:
            info.m_bPending = 0;
            break;
        case IDYESTOALL:
            return true;
        case IDNOTOALL:
            info.m_bPending = 0;
            noToAll = true;
            break;
        case IDCANCEL:
            return false;
        default:
            break;  // Yes, or anything else: overwrite
        }
    }
    return true;
}

void CImageListCtrl::ClearOutputNames()
{
    m_mapOutputNames.clear();
    for (const auto& info : m_arrImages) {
        info->m_strOutputName.clear();
    }
}
