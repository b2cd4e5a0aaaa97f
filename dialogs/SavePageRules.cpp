#include "dialogs/SavePageRules.h"

#include <QFileInfo>

#include "common/Paths.h"
#include "settings/OutputFolder.h"

namespace {

constexpr int kTypeSame = 0;
constexpr int kTypeJpeg = 1;

QString CheckSubFolder(const QString& name)
{
    if (name.isEmpty()) {
        return QStringLiteral("サブフォルダを指定してください。");
    }
    return IsValidSubFolderName(name) ? QString() : QStringLiteral("不正な文字が使用されています。");
}

QString CheckAnyFolder(const QString& path)
{
    if (path.isEmpty()) {
        return QStringLiteral("任意のフォルダを指定してください。");
    }
    // The file system's rule: the toolkit would also take its resource paths (":/x") as absolute.
    if (!path.startsWith(u'/')) {
        return QStringLiteral("絶対パスで指定してください。");
    }
    // A folder that does not exist yet is made when the first page is saved.
    const QFileInfo info(RemoveTrailingSeparators(path));
    return info.exists() && !info.isDir() ? QStringLiteral("すでに同名のファイルが存在しています。") : QString();
}

}  // namespace

CSaveControlStates GetSaveControlStates(int type, int depth)
{
    return {type != kTypeJpeg, depth >= 1 && depth <= 3, type == kTypeSame || type == kTypeJpeg};
}

QString CheckSaveFolder(int dirType, const QString& subDir, const QString& anyDir)
{
    return dirType == 1 ? CheckSubFolder(subDir.trimmed()) : CheckAnyFolder(anyDir.trimmed());
}
