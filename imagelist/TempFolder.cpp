#include "imagelist/TempFolder.h"

#include "common/TempRoot.h"

#include <QFileInfo>

#include <chrono>

namespace {

QString TempFolderName(const QString& root, std::uint32_t tick)
{
    return root + QString::number(tick, 16).rightJustified(8, QLatin1Char('0')).toUpper() + QLatin1Char('/');
}

bool IsTaken(const QString& folder)
{
    const QFileInfo info(folder.chopped(1));
    return info.exists() || info.isSymLink();
}

}  // namespace

QString MakeTempFolder()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return MakeTempFolderFrom(
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

QString MakeTempFolderFrom(std::uint32_t tick)
{
    const QString root = GetTempRoot();
    QString path = TempFolderName(root, tick);
    // Any file or link under the name, even a dangling one, takes it.
    while (IsTaken(path)) {
        path = TempFolderName(root, ++tick);
    }
    return path;
}
