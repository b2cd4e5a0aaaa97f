#pragma once

#include <QSize>
#include <QString>

#include <array>

class CImageInfo;

// Icons of the result columns, in the order of their resources 153-159.
enum ListIcon {
    ICON_TEXT_PAGE,
    ICON_PICTURE_PAGE,
    ICON_KIND_UNSET,
    ICON_MARGIN_SET,
    ICON_MARGIN_UNSET,
    ICON_ANGLE_SET,
    ICON_ANGLE_UNSET,
    ICON_COUNT
};

struct ResultLine {
    ListIcon icon;
    QString text;
};

// The three lines of column 7 (what the analysis found; with the debug
// switch the cell counts follow the page kind) or column 8 (the overrides).
std::array<ResultLine, 3> GetResultLines(const CImageInfo& info, int columnId, bool debugOn);

// The size a thumbnail is drawn at in a cell: within the thumbnail size and
// 3 px inside the cell on each side, never enlarged, its shape kept.
QSize FitThumbnail(QSize bitmap, int thumbPx, QSize cell);
