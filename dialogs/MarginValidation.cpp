#include "dialogs/MarginValidation.h"

#include "settings/AdjustOption.h"

namespace {

using KindRects = RECT (CAdjustOption::*)[2];

// The record's rectangles in the page's order.
constexpr KindRects kRectFields[MGN_RECTS] = {&CAdjustOption::MgnCutRect, &CAdjustOption::MgnMinRect,
                                              &CAdjustOption::MgnMaxRect, &CAdjustOption::MgnDefRect,
                                              &CAdjustOption::MgnAddRect};

// The sum of two opposite sides that already leaves nothing of the page.
constexpr int kWholePage = 100;

struct SumCheck {
    MarginRect rect;
    MarginSide side;  // left for the left + right sum, top for top + bottom
    const char16_t* message;
};

// The first sum check that fails, in the order given.
template <std::size_t N>
bool FirstSumFault(const CMarginValues& values, const SumCheck (&checks)[N], CMarginFault& fault)
{
    for (const SumCheck& check : checks) {
        const RECT& r = values.rects[check.rect];
        const int sum = check.side == SIDE_LEFT ? r.left + r.right : r.top + r.bottom;
        if (sum >= kWholePage) {
            fault = {QString::fromUtf16(check.message), check.rect, check.side};
            return true;
        }
    }
    return false;
}

bool EndBeforeStart(const CMarginValues& values, CMarginFault& fault)
{
    for (int side = SIDE_LEFT; side < SIDE_COUNT; ++side) {
        if (GetSide(values.rects[MGN_MAX], side) < GetSide(values.rects[MGN_MIN], side)) {
            fault = {QStringLiteral("判定終了位置が判定開始位置より小さいです。"), MGN_MAX, MarginSide(side)};
            return true;
        }
    }
    return false;
}

}  // namespace

CMarginValues GetMarginValues(const CAdjustOption& option, int k)
{
    CMarginValues values;
    values.mode = option.CutMargin[k];
    for (int r = 0; r < MGN_RECTS; ++r) {
        values.rects[r] = (option.*kRectFields[r])[k];
    }
    values.spot = option.SpotDot[k];
    values.ignoreShadow = option.IgnoreShadow[k];
    values.shadowClear = option.ShadowClear[k];
    return values;
}

void SetMarginValues(CAdjustOption& option, int k, const CMarginValues& values)
{
    option.CutMargin[k] = values.mode;
    for (int r = 0; r < MGN_RECTS; ++r) {
        (option.*kRectFields[r])[k] = values.rects[r];
    }
    option.SpotDot[k] = values.spot;
    option.IgnoreShadow[k] = values.ignoreShadow;
    option.ShadowClear[k] = values.shadowClear;
}

CMarginValues GetResetMarginValues()
{
    return {0, {{5, 5, 5, 5}, {0, 0, 0, 0}, {30, 30, 30, 30}, {10, 10, 10, 10}, {5, 5, 5, 5}}, 5, 0, 0};
}

int GetSide(const RECT& rect, int side)
{
    const int sides[SIDE_COUNT] = {rect.left, rect.top, rect.right, rect.bottom};
    return sides[side];
}

void SetSide(RECT& rect, int side, int value)
{
    int* sides[SIDE_COUNT] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    *sides[side] = value;
}

CMarginFault ValidateMargins(const CMarginValues& values)
{
    static const SumCheck kFixed[] = {
        {MGN_CUT, SIDE_LEFT, u"カット左右の合計が100%以上です。"},
        {MGN_CUT, SIDE_TOP, u"カット上下の合計が100%以上です。"},
    };
    static const SumCheck kStartEnd[] = {
        {MGN_MIN, SIDE_LEFT, u"判定開始位置左右の合計が100%以上です。"},
        {MGN_MIN, SIDE_TOP, u"判定開始位置上下の合計が100%以上です。"},
        {MGN_MAX, SIDE_LEFT, u"判定終了位置左右の合計が100%以上です。"},
        {MGN_MAX, SIDE_TOP, u"判定終了位置上下の合計が100%以上です。"},
    };
    static const SumCheck kNotFound[] = {
        {MGN_DEF, SIDE_LEFT, u"見つからない場合の左右の合計が100%以上です。"},
        {MGN_DEF, SIDE_TOP, u"見つからない場合の上下の合計が100%以上です。"},
    };
    CMarginFault fault;
    if (values.mode == 1) {
        FirstSumFault(values, kFixed, fault);
    } else if (values.mode == 2) {
        FirstSumFault(values, kStartEnd, fault) || EndBeforeStart(values, fault) ||
            FirstSumFault(values, kNotFound, fault);
    }
    return fault;
}
