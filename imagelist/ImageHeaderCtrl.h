#pragma once

#include <QHeaderView>

#include "platform/WinTypes.h"

// The list's header: movable sections and the sort mark of the sorted column.
class CImageHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CImageHeaderCtrl(QWidget* parent = nullptr);

    // The sorted column (a section; -1 none) and its direction.
    void SetSortColumn(int column, BOOL bAscending, BOOL bAdd);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsAscending() const { return m_bAscending != 0; }

    // Draws the mark of the sorted column into the rectangle.
    void OnDrawSortArrow(QPainter& painter, const QRect& rect) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    // Where a section shows the mark (null: nowhere) and its title.
    QRect ArrowRect(int logicalIndex, const QRect& section) const;
    QRect TitleRect(int logicalIndex, const QRect& section) const;

    int m_nSortColumn = -1;
    BOOL m_bAscending = 1;
};

// The sort mark: a stack of one-pixel lines growing from a one-pixel tip, at
// the top when ascending, at the bottom when descending.
void DrawSortArrow(QPainter& painter, const QRect& rect, bool ascending, const QColor& color);
