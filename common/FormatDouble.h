#pragma once

#include <QString>

// A decimal number for display: two decimals, then trailing zeros dropped
// (1.50 -> 1.5, 2.00 -> 2, 0.05 stays).
QString FormatDouble(double value);
