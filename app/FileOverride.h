#pragma once

#include <optional>
#include <variant>

#include "platform/WinTypes.h"

class CImageInfo;

// A per-file override as the user chooses it: a page kind, a slant angle in
// degrees, or a margin cut in percent; the kind of value names the group.
using FileOverride = std::variant<int, double, RECT>;

// Context-menu commands of the per-file overrides.
enum : int {
    ID_PAGE_KIND_AUTO = 32791,
    ID_PAGE_KIND_TEXT = 32792,
    ID_PAGE_KIND_PICT = 32793,
    ID_SLANT_AUTO = 32794,
    ID_SLANT_NONE = 32795,
    ID_SLANT_OTHER = 32796,
    ID_MARGIN_AUTO = 32797,
    ID_MARGIN_NONE = 32798,
    ID_MARGIN_OTHER = 32799,
};

// The value a command sets without asking; nothing for the two commands that
// ask for theirs and for other ids.
std::optional<FileOverride> GetFixedOverride(int commandId);

// Sets the override on the entry and drops what it makes stale: a page kind
// the slant, the margins and the adjusted result; a slant the margins and the
// adjusted result; a margin cut the adjusted result. The adjusted result's
// cache file goes with it.
void ApplyFileOverride(CImageInfo& info, const FileOverride& value);

// What the asking commands' dialogs start from: the entry's override, or no
// rotation and no cut while none is set.
double GetRotateDialogSeed(const CImageInfo& info);
RECT GetMarginDialogSeed(const CImageInfo& info);
