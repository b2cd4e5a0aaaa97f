#pragma once

#include <QString>

// A settings file that cannot be read, or is not a settings file, would be
// written back with only what could be made of it. It is moved aside to
// name + ".broken" instead (".broken2" and so on when earlier ones are kept),
// and the program starts with the defaults. Returns the new name, or an
// empty string when the file was sound or absent.
QString SetAsideBrokenProfile(const QString& fileName);

// Tells on the error output that the settings of this session could not be
// stored, when a write failed since failuresBefore was counted.
void ReportUnsavedProfile(int failuresBefore);
