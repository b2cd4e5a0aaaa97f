#pragma once

#include "platform/WinTypes.h"

// Page kinds, as the analysis stores them and the options index them (kind - 1).
constexpr int kTextPage = 1;
constexpr int kPictPage = 2;

// Marks a result not yet analysed or an override not set.
constexpr int kUnsetMarker = -9999;
constexpr double kUnsetAngleMarker = -9999.0;

// What the page engine knows of one page beyond its pixels: the source size,
// the analysis results it stores and reuses, and the per-file overrides it
// obeys. The list's entry record builds on it; the engine knows nothing more.
class CPageRecord {
public:
    int m_nSrcWidth = 0;  // 0 = not loaded
    int m_nSrcHeight = 0;
    int m_nPageKind = kUnsetMarker;  // kTextPage or kPictPage
    int m_nTotalCells = 0;
    int m_nVertCells = 0;
    int m_nHorzCells = 0;
    double m_dSlantAngle = kUnsetAngleMarker;  // degrees; positive turns clockwise
    RECT m_rcMarginPx = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
    RECT m_rcMarginPct = {0, 0, 0, 0};
    int m_nPageKindOverride = kUnsetMarker;
    double m_dRotateOverride = kUnsetAngleMarker;  // 0.0 = no slant correction
    // Percent; all 0 = no cut.
    RECT m_rcMarginOverride = {kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
};
