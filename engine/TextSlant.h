#pragma once

#include <QImage>

#include <vector>

#include "platform/CancelFlag.h"
#include "settings/AdjustOption.h"

class CPageRecord;

// One measured text line: its greatest width divided by its length (both in
// cells) and its angle in degrees.
struct USLANTDATA {
    double ratio = 0.0;
    double angle = 0.0;
};

// 1 when the page is a text page, with the mean slant of its thinnest lines in
// info.m_dSlantAngle; 0 when it is not, or when cancelled. Writes the three
// cell counts once both passes have run.
int DetectTextSlant(const QImage& bitmap, const CAdjustOption& option, CPageRecord& info, const CancelFlag* cancel);

// Size of the cell grid for an image of width x height pixels. Bounded so that
// no cell is smaller than a pixel and the grid holds at most kMaxTextCells.
constexpr long long kMaxTextCells = 1LL << 22;
void GetTextGridSize(int width, int height, const CAdjustOption& option, int& cols, int& rows);

// Labels the 4-connected group of cells equal to 1 that holds cell (x, y).
void FloodFillCells(std::vector<int>& grid, int cols, int rows, int x, int y, int label);

// Ascending order of ratio, for ShellSort.
int CompareSlantRatio(int i, int j, const std::vector<USLANTDATA>& list);

// How many of n measured lines, the thinnest first, make the slant.
int SlantSampleCount(int n);
