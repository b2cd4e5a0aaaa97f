#pragma once

#include <vector>

#include "imagelist/ImageInfo.h"
#include "platform/WinTypes.h"

// Marks an override in which the selected entries differ.
inline constexpr int kDifferMarker = -8888;
inline constexpr double kDifferAngleMarker = -8888.0;

// The per-file overrides that the selected entries share.
struct CommonOverrides {
    int pageKind;
    double rotate;
    RECT margin;
};

// Commands and texts of the per-file override menu (resource 161); a zero
// id stands for a separator.
struct OverrideMenuItem {
    int id;
    const char* text;
};
const std::vector<OverrideMenuItem>& GetOverrideMenuItems();

// The common values of the entries, in row order; at least one entry.
CommonOverrides GetCommonOverrides(const std::vector<const CImageInfo*>& entries);
// The commands to check: at most one per group, none for a group that differs.
std::vector<int> GetCheckedOverrideCommands(const CommonOverrides& common);
