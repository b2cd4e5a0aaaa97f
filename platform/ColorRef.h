#pragma once

#include <QColor>

#include "platform/WinTypes.h"

// A stored 0x00BBGGRR colour as the painter's colour.
inline QColor ToQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}
