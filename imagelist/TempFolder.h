#pragma once

#include <QString>

#include <cstdint>

// A new folder under the temporary root, named after the millisecond clock
// as eight hexadecimal digits and made private (mode 0700) here, before any
// extractor writes into it. Empty when it cannot be made, with the reason in
// error.
QString MakeTempFolder(QString& error);
// A folder path under the temporary root that does not exist yet, named
// after the clock value tick, counted up while a name is taken.
QString MakeTempFolderFrom(std::uint32_t tick);
