#pragma once

#include <QString>

// The program's temporary root folder: the system's temporary folder +
// "FolivaneTmp/" (ends in a separator). Archive folders and the adjusted-result
// cache live below it. The application may point it elsewhere at start-up.
QString GetTempRoot();
void SetTempRoot(const QString& folder);
