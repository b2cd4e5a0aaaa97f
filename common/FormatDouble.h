#pragma once

#include <QString>

// A number with at most two decimals, trailing zeros dropped: 2.00 -> "2",
// 1.50 -> "1.5", 0.05 -> "0.05". Rounded as the C library's "%.2f" rounds.
QString FormatDouble(double value);
