#pragma once

#include <QString>

#include "platform/WinTypes.h"

// The rectangles of the margin page in their order on the page.
enum MarginRect { MGN_CUT, MGN_MIN, MGN_MAX, MGN_DEF, MGN_ADD, MGN_RECTS };
// Sides in their order on the page.
enum MarginSide { SIDE_LEFT, SIDE_TOP, SIDE_RIGHT, SIDE_BOTTOM, SIDE_COUNT };

class CAdjustOption;

// The values of one page kind as the margin page shows them.
struct CMarginValues {
    int mode = 0;  // 0 none, 1 fixed cut, 2 automatic
    RECT rects[MGN_RECTS];
    int spot = 0;
    int ignoreShadow = 0;
    int shadowClear = 0;
};

// The record's values of page kind k, and back.
CMarginValues GetMarginValues(const CAdjustOption& option, int k);
void SetMarginValues(CAdjustOption& option, int k, const CMarginValues& values);
// What the reset button shows: no cut, cut 5, start 0, end 30, not-found 10,
// add 5, spots of 5 dots, both shadow checks off.
CMarginValues GetResetMarginValues();

// The first failed check: its message and the edit that takes the focus.
struct CMarginFault {
    QString message;  // empty when every check passed
    MarginRect rect = MGN_CUT;
    MarginSide side = SIDE_LEFT;
};

// The cross-checks of the fixed and automatic modes, in the page's order.
CMarginFault ValidateMargins(const CMarginValues& values);

int GetSide(const RECT& rect, int side);
void SetSide(RECT& rect, int side, int value);
