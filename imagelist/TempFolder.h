#pragma once

#include <QString>

#include <cstdint>

// A folder path under the temporary root that does not exist yet, named after
// the millisecond clock as eight hexadecimal digits; the folder is not made.
QString MakeTempFolder();
// The same from the clock value tick, counted up while a name is taken.
QString MakeTempFolderFrom(std::uint32_t tick);
