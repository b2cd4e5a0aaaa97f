#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>

#include <array>
#include <vector>

#include "imagelist/RowTexts.h"

class CImageInfo;
class QPainter;
class QRect;

// One header column as a row is drawn: its id, format and width, in the
// order the header shows them.
struct RowColumn {
    int id;
    int format;
    int width;
};

// How a row looks apart from its entry.
struct RowState {
    int row;
    bool selected;
    bool focused;  // draws the focus rectangle
    bool enabled;
};

// Background of a row: a seventh of the way to the highlight when selected,
// every odd row shaded a thirtieth towards the text colour, the button face
// on a disabled list.
QColor RowBackground(const QPalette& palette, const RowState& state);

// Draws the list's rows: text columns, the two three-line result columns with
// icons and the two thumbnail columns.
class CRowPainter {
public:
    CRowPainter(QPainter& painter, const std::vector<RowColumn>& columns, const std::array<QPixmap, ICON_COUNT>& icons,
                int thumbPx, bool debugOn);

    void DrawItem(const CImageInfo& info, const QRect& item, const RowState& state, const QPalette& palette);

private:
    void DrawText(const CImageInfo& info, int id, const QRect& cell, int format);
    void DrawResults(const CImageInfo& info, int id, const QRect& cell);
    void DrawThumb(const QImage* bitmap, const QRect& cell);

    QPainter& m_painter;
    const std::vector<RowColumn>& m_columns;
    const std::array<QPixmap, ICON_COUNT>& m_icons;
    int m_nThumbPx;
    bool m_bDebugOn;
    int m_nLineHeight;
    QString m_cut;
};
