#include "engine/PageGeometry.h"

#include <QtGlobal>

#include <cmath>

int PercentToPixels(int size, int percent)
{
    return static_cast<int>(std::lround(static_cast<double>(size) * qBound(0, percent, 100) / 100.0));
}

RECT PercentRectToPixels(const RECT& percent, int width, int height)
{
    return {PercentToPixels(width, percent.left), PercentToPixels(height, percent.top),
            PercentToPixels(width, percent.right), PercentToPixels(height, percent.bottom)};
}

double FoldAngle(double degrees)
{
    if (!std::isfinite(degrees))
        return degrees;
    // Within one turn first, so that the half-turn steps below stay few.
    degrees = std::fmod(degrees, 360.0);
    while (degrees > 90.0)
        degrees -= 180.0;
    while (degrees < -90.0)
        degrees += 180.0;
    return degrees;
}
