#pragma once

#include <QString>

#include "settings/IniText.h"

// What reading the settings file found.
enum class ESettingsFile {
    Absent,   // nothing of that name
    Sound,    // read whole
    Broken,   // read, but lines without form were left out
    Refused,  // no regular file, or it could not be read
};

// Reads the settings file into values (empty unless it was read). Only a
// regular file is read, and through the descriptor that was checked: a FIFO
// put in its place cannot make the program wait.
ESettingsFile ReadSettingsFile(const QString& fileName, CIniValues& values);

// Writes the values as the settings file: into a new file beside it, which
// takes its place by rename only once every byte has reached the disk. A
// failure (a full disk, a file-size limit) leaves the old file as it was and
// removes the new one; false then.
bool WriteSettingsFile(const QString& fileName, const CIniValues& values);
