#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/BitmapLock.h"
#include "platform/CancelFlag.h"
#include "settings/AdjustOption.h"

class CPageRecord;

// Working memory of the region fills: one mark per pixel of the locked image
// for "already queued", clear again when a fill returns, and the fill queue.
// The marks make the membership test constant-time, so a region of a million
// pixels costs a million steps, not a million squared. The shadow fill also
// leaves kPageRegion on the regions it found reaching into the page, so that
// the next starts on the same image meet them at once.
struct FillScratch {
    static constexpr unsigned char kPageRegion = 2;

    std::vector<unsigned char> marks;
    std::vector<QPoint> queue;
    // With keepErased set, every pixel the fills make transparent is noted
    // here with its former value (0xAARRGGBB), so that it can be put back.
    bool keepErased = false;
    std::vector<std::pair<QPoint, quint32>> erased;

    // Clears what the shadow fills learnt, before other fills or another image.
    void ForgetPageRegions() { std::fill(marks.begin(), marks.end(), 0); }
};

// Finds the content edges of a 32-bit ARGB page and stores them in
// info.m_rcMarginPx and info.m_rcMarginPct; leaves both as they were when
// cancelled. With ShadowClear on for the page kind, cleared shadows and erased
// spots stay in the image; otherwise the pixels they took are put back.
void DetectMargins(QImage& image, const CAdjustOption& option, int pageKind, CPageRecord& info,
                   const CancelFlag* cancel);

// Walks from (x, y) in steps of (dx, dy) over at most one bright pixel and
// makes the first dark region met transparent, unless that region reaches
// into inner (the page inside the maximum margins): then it is left as it is.
// Nothing changes when cancelled. The lock holds 32-bit ARGB pixels for
// reading and writing.
void ClearEdgeShadow(CBitmapLock& lock, int x, int y, int dx, int dy, const QRect& inner, const CAdjustOption& option,
                     FillScratch& scratch, const CancelFlag* cancel);

// 1 when the dark region at (x, y) does not fit in spotSize x spotSize pixels;
// 0 when (x, y) is not dark, or when the region is a spot, which is then made
// transparent (also when cancelled during the fill).
int IsLargerThanSpot(CBitmapLock& lock, int x, int y, const CAdjustOption& option, int spotSize, FillScratch& scratch,
                     const CancelFlag* cancel);
