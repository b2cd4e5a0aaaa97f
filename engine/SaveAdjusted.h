#pragma once

#include <QImage>
#include <QString>

#include "platform/CancelFlag.h"
#include "platform/WinTypes.h"
#include "settings/AdjustOption.h"

// Writes an adjusted page at the depth of SaveDepth (1, 4 or 8 bpp with the
// palette of SavePalette, or 24 bpp) and 96 dpi, in the format of the output
// name's extension (.jpg/.jpeg/.jpe with SaveQuality, .png, .bmp). The file
// goes to explicitPath when that is not empty, else to GetOutputFolder(origin)
// + fileName; a missing folder is created. A 24-bit bitmap is saved itself
// and takes the resolution of 96 dpi; any other is saved from a copy.
// TRUE only when the file was written; otherwise message holds the reason,
// and stays empty only when cancel was set.
BOOL SaveAdjustedBitmap(QImage& bitmap, const QString& origin, const QString& fileName, const QString& explicitPath,
                        const CAdjustOption& option, const CancelFlag* cancel, QString& message);
