#include "imagelist/IntakeTypes.h"

#include "common/Paths.h"

#include <algorithm>
#include <array>

namespace {

bool HasExtension(const QString& path, std::initializer_list<const char*> extensions)
{
    const QString extension = GetExtensionPart(path);
    return std::any_of(extensions.begin(), extensions.end(), [&](const char* candidate) {
        return extension.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0;
    });
}

}  // namespace

bool IsImageFileType(const QString& path)
{
    return HasExtension(path, {".bmp", ".jpg", ".jpeg", ".jpe", ".png", ".gif", ".tif", ".tiff"});
}

bool IsArchiveFileType(const QString& path)
{
    return HasExtension(path, {".zip", ".rar"});
}

bool IsRarFileType(const QString& path)
{
    return HasExtension(path, {".rar"});
}

QString GetOpenFileFilter(const QString& unrarLibrary)
{
    QString filter =
        QStringLiteral("画像ファイル|*.bmp;*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.tif;*.tiff|書庫ファイル|*.zip");
    CArcLib unrar(unrarLibrary, kUnrarCommandName);
    if (unrar.Load() && unrar.GetProcs() == 0) {
        filter += QStringLiteral(";*.rar");
    }
    return filter + QStringLiteral("|全ファイル|*.*||");
}
