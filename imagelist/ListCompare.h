#pragma once

class CImageInfo;

// The list's sort key of a column: < 0 when a goes before b in ascending
// order, 0 when their keys are equal. Thumbnail columns and unknown ids
// compare equal.
int CompareByColumn(const CImageInfo& a, const CImageInfo& b, int id);
