#pragma once

#include <QString>

// Which rows of the save page can be used for a file type and depth (item
// data of their combo boxes).
struct CSaveControlStates {
    bool depth;    // depth label and combo
    bool palette;  // palette label and combo
    bool quality;  // JPEG quality row
};

CSaveControlStates GetSaveControlStates(int type, int depth);

// The message that refuses the destination folder, or an empty text. Only the
// folder of the chosen kind (1 subfolder, else any folder) is examined; the
// texts are trimmed here.
QString CheckSaveFolder(int dirType, const QString& subDir, const QString& anyDir);
