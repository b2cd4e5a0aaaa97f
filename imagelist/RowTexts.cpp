#include "imagelist/RowTexts.h"

#include <algorithm>
#include <cmath>

#include "common/FormatDouble.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ImageInfo.h"

namespace {

bool IsUnset(const RECT& rc)
{
    return rc == RECT{kUnsetMarker, kUnsetMarker, kUnsetMarker, kUnsetMarker};
}

ResultLine KindLine(int kind, const QString& unsetText)
{
    switch (kind) {
    case 1:
        return {ICON_TEXT_PAGE, QStringLiteral("文ページ")};
    case 2:
        return {ICON_PICTURE_PAGE, QStringLiteral("絵ページ")};
    default:
        return {ICON_KIND_UNSET, unsetText};
    }
}

ResultLine AngleLine(double angle, const QString& unsetText)
{
    if (angle == kUnsetAngleMarker)
        return {ICON_ANGLE_UNSET, unsetText};
    return {ICON_ANGLE_SET, FormatDouble(angle) + QStringLiteral("度")};
}

ResultLine MarginLine(const RECT& known, const RECT& shown, const QString& unsetText)
{
    if (IsUnset(known))
        return {ICON_MARGIN_UNSET, unsetText};
    return {ICON_MARGIN_SET,
            QStringLiteral("%1,%2,%3,%4").arg(shown.left).arg(shown.top).arg(shown.right).arg(shown.bottom)};
}

int RoundHalfAway(double value)
{
    return static_cast<int>(std::round(value));
}

}  // namespace

std::array<ResultLine, 3> GetResultLines(const CImageInfo& info, int columnId, bool debugOn)
{
    const CPageRecord page = info.GetPageRecord();  // a worker may be storing its results
    if (columnId == COLUMN_OVERRIDE) {
        const QString unset = QStringLiteral("指定なし");
        return {KindLine(page.m_nPageKindOverride, unset), AngleLine(page.m_dRotateOverride, unset),
                MarginLine(page.m_rcMarginOverride, page.m_rcMarginOverride, unset)};
    }
    const QString unset = QStringLiteral("未解析");
    ResultLine kind = KindLine(page.m_nPageKind, unset);
    if (debugOn)
        kind.text +=
            QStringLiteral("(V%1,H%2/%3)").arg(page.m_nVertCells).arg(page.m_nHorzCells).arg(page.m_nTotalCells);
    return {kind, AngleLine(page.m_dSlantAngle, unset), MarginLine(page.m_rcMarginPx, page.m_rcMarginPct, unset)};
}

QSize FitThumbnail(QSize bitmap, int thumbPx, QSize cell)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (w <= 0 || h <= 0)
        return {};
    const int maxW = std::min(thumbPx, cell.width() - 6);
    const int maxH = std::min(thumbPx, cell.height() - 6);
    int dw = w;
    int dh = h;
    if (w > maxW) {
        dw = maxW;
        dh = RoundHalfAway(static_cast<double>(h) * maxW / w);
    }
    if (dh > maxH) {
        dh = maxH;
        dw = RoundHalfAway(static_cast<double>(w) * maxH / h);
    }
    return {dw, dh};
}
