#pragma once

#include <QString>

#include "settings/AdjustOption.h"

// The folder, ending in '/', that receives the output of an entry added as
// origin: with SaveDirType 1 the subfolder SaveSubDir next to the origin (for
// an archive member, next to the archive), with SaveDirType 2 the folder
// SaveAnyDir; any other type gives "".
QString GetOutputFolder(const QString& origin, const CAdjustOption& option);

// Whether the save page takes the name for SaveSubDir: trimmed, as the page
// stores it, it is a file name and not empty, so the output folder is one
// folder beside the source and never the source's own folder or one
// elsewhere. Loading ignores every name the page would refuse.
bool IsValidSubFolderName(const QString& name);
