#include "imagelist/TempFolder.h"

#include "common/ErrorText.h"
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

QString MakeTempFolder(QString& error)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // Changed to lie under a new root when this copy has lost its own.
    QString folder = MakeTempFolderFrom(
        static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    if (const int code = CreateTempFolderPath(folder)) {
        error = QStringLiteral("create dir error\n") + GetSystemErrorText(code) + QLatin1Char('\n') + folder;
        return QString();
    }
    error.clear();
    return folder;
}
