#pragma once

#include <QImage>

#include <array>

#include "platform/CancelFlag.h"
#include "settings/AdjustOption.h"

// Recolours a page in place (32-bit ARGB; transparent pixels are left alone).
// Page kind 1 (text): the paper background (R + G + B >= 3 * BackBorder)
// takes BackColor under BackUnify and then, under GrayText, its grey; dark
// pixels are greyed under GrayText and shifted by BrightText. Page kind 2
// (picture): greyed under GrayPict, then mapped through the gamma table of
// BrightPict. Stops at the next pixel once cancel is set, leaving the pixels
// done so far changed.
void AdjustColors(QImage& image, const CAdjustOption& option, int pageKind, const CancelFlag* cancel);

// The gamma table of a BrightPict value: entry i = floor(255 * (i / 255) ^
// (100 / brightPict)), within 0 to 255. One table serves the whole process;
// it is rebuilt under its lock only when the value changes.
std::array<int, 256> GetGammaTable(int brightPict);
