#include "settings/OutputFolder.h"

#include "common/Paths.h"

QString GetOutputFolder(const QString& origin, const CAdjustOption& option)
{
    switch (option.SaveDirType) {
    case 1:
        return GetFolderPart(origin) + option.SaveSubDir + QLatin1Char('/');
    case 2: {
        QString folder = option.SaveAnyDir;
        AddBackslash(folder);
        return folder;
    }
    default:
        return {};
    }
}

bool IsValidSubFolderName(const QString& name)
{
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && IsValidFileName(trimmed);
}
