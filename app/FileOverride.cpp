#include "app/FileOverride.h"

#include "imagelist/ImageInfo.h"

namespace {

constexpr RECT kUnsetRect{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};

void DropAdjusted(CImageInfo& info)
{
    info.m_nAdjWidth = 0;
    info.m_nAdjHeight = 0;
    delete std::exchange(info.m_pAdjThumb, nullptr);
    info.DeleteCacheFile();
}

void DropMargins(CImageInfo& info)
{
    info.m_rcMarginPx = kUnsetRect;
    info.m_rcMarginPct = RECT{};
    DropAdjusted(info);
}

}  // namespace

std::optional<FileOverride> GetFixedOverride(int commandId)
{
    switch (commandId) {
    case ID_PAGE_KIND_AUTO:
        return FileOverride(kUnsetMarker);
    case ID_PAGE_KIND_TEXT:
        return FileOverride(1);
    case ID_PAGE_KIND_PICT:
        return FileOverride(2);
    case ID_SLANT_AUTO:
        return FileOverride(kUnsetAngleMarker);
    case ID_SLANT_NONE:
        return FileOverride(0.0);
    case ID_MARGIN_AUTO:
        return FileOverride(kUnsetRect);
    case ID_MARGIN_NONE:
        return FileOverride(RECT{});
    default:
        return std::nullopt;
    }
}

void ApplyFileOverride(CImageInfo& info, const FileOverride& value)
{
    if (const int* kind = std::get_if<int>(&value)) {
        info.m_nPageKindOverride = *kind;
        info.m_dSlantAngle = kUnsetAngleMarker;
        DropMargins(info);
    } else if (const double* angle = std::get_if<double>(&value)) {
        info.m_dRotateOverride = *angle;
        DropMargins(info);
    } else {
        info.m_rcMarginOverride = std::get<RECT>(value);
        DropAdjusted(info);
    }
}

double GetRotateDialogSeed(const CImageInfo& info)
{
    return info.m_dRotateOverride == kUnsetAngleMarker ? 0.0 : info.m_dRotateOverride;
}

RECT GetMarginDialogSeed(const CImageInfo& info)
{
    return info.m_rcMarginOverride == kUnsetRect ? RECT{} : info.m_rcMarginOverride;
}
