#include "imagelist/OverrideMenu.h"

namespace {

bool AllSides(const RECT& rect, int value)
{
    return rect == RECT{value, value, value, value};
}

bool AllDiffer(const CommonOverrides& common)
{
    return common.pageKind == kDifferMarker && common.rotate == kDifferAngleMarker &&
           AllSides(common.margin, kDifferMarker);
}

}  // namespace

const std::vector<OverrideMenuItem>& GetOverrideMenuItems()
{
    static const std::vector<OverrideMenuItem> items = {
        {32791, "ページ種類：指定なし"},  {32792, "ページ種類：文ページ"},
        {32793, "ページ種類：絵ページ"},  {0, nullptr},
        {32794, "傾き調整：指定なし"},    {32795, "傾き調整：しない"},
        {32796, "傾き調整：その他..."},   {0, nullptr},
        {32797, "余白カット：指定なし"},  {32798, "余白カット：しない"},
        {32799, "余白カット：その他..."},
    };
    return items;
}

CommonOverrides GetCommonOverrides(const std::vector<const CImageInfo*>& entries)
{
    const CImageInfo& first = *entries.front();
    CommonOverrides common{first.m_nPageKindOverride, first.m_dRotateOverride, first.m_rcMarginOverride};
    for (size_t i = 1; i < entries.size() && !AllDiffer(common); ++i) {
        const CImageInfo& entry = *entries[i];
        if (common.pageKind != kDifferMarker && common.pageKind != entry.m_nPageKindOverride) {
            common.pageKind = kDifferMarker;
        }
        if (common.rotate != kDifferAngleMarker && common.rotate != entry.m_dRotateOverride) {
            common.rotate = kDifferAngleMarker;
        }
        if (!AllSides(common.margin, kDifferMarker) && common.margin != entry.m_rcMarginOverride) {
            common.margin = RECT{kDifferMarker, kDifferMarker, kDifferMarker, kDifferMarker};
        }
    }
    return common;
}

std::vector<int> GetCheckedOverrideCommands(const CommonOverrides& common)
{
    std::vector<int> checked;
    switch (common.pageKind) {
    case kUnsetMarker:
        checked.push_back(32791);
        break;
    case 1:
        checked.push_back(32792);
        break;
    case 2:
        checked.push_back(32793);
        break;
    default:
        break;
    }
    if (common.rotate == kUnsetAngleMarker) {
        checked.push_back(32794);
    } else if (common.rotate == 0.0) {
        checked.push_back(32795);
    } else if (common.rotate != kDifferAngleMarker) {
        checked.push_back(32796);
    }
    if (AllSides(common.margin, kUnsetMarker)) {
        checked.push_back(32797);
    } else if (AllSides(common.margin, 0)) {
        checked.push_back(32798);
    } else if (!AllSides(common.margin, kDifferMarker)) {
        checked.push_back(32799);
    }
    return checked;
}
