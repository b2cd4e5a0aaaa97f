#pragma once

#include "platform/WinTypes.h"

// percent (kept within 0 to 100) of size in pixels, rounded half away from zero.
int PercentToPixels(int size, int percent);
// The four sides of a percent rectangle in pixels: left and right of width,
// top and bottom of height.
RECT PercentRectToPixels(const RECT& percent, int width, int height);

// An angle in degrees folded into -90 to 90: a line or an edge has no
// direction, so a half turn gives the same slant.
double FoldAngle(double degrees);
