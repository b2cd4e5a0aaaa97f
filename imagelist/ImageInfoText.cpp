#include "imagelist/ImageInfo.h"

#include "common/Paths.h"
#include "common/TextFormat.h"
#include "imagelist/ColumnTable.h"
#include "platform/FileName.h"

namespace {

QString SizeText(int width, int height)
{
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

// The extension without its dot, upper-cased: ".jpeg" gives JPEG.
QString KindText(const QString& path)
{
    const QString folder = GetFolderPart(path);
    const QString title = GetFileTitlePart(path);
    return path.mid(folder.size() + title.size() + 1).toUpper();
}

}  // namespace

QString CImageInfo::GetColumnText(int id) const
{
    QString text;
    switch (id) {
    case COLUMN_FILE_NAME:
        return ShownFileName(m_strPath.mid(GetFolderPart(m_strPath).size()));
    case COLUMN_FILE_PATH:
        return ShownFileName(m_strOrigin);
    case COLUMN_FILE_SIZE:
        text = QString::number(m_dwFileSize);
        return m_dwFileSize != 0 ? FormatNumberGrouped(text) : text;
    case COLUMN_MODIFIED:
        return FormatDateTime(m_timeModified, text);
    case COLUMN_KIND:
        return KindText(m_strPath);
    case COLUMN_SRC_SIZE: {
        std::lock_guard lock(m_csResults);  // a worker may be storing them
        return SizeText(m_nSrcWidth, m_nSrcHeight);
    }
    case COLUMN_ADJ_SIZE: {
        std::lock_guard lock(m_csResults);
        return SizeText(m_nAdjWidth, m_nAdjHeight);
    }
    default:
        return text;
    }
}
