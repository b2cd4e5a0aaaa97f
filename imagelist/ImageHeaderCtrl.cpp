#include "imagelist/ImageHeaderCtrl.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

#include <cmath>

namespace {

// Room the mark takes at the section's right end, inside its border.
constexpr int kArrowMargin = 5;

}  // namespace

CImageHeaderCtrl::CImageHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsMovable(true);
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
    setSortIndicatorShown(false);  // the mark is ours
}

// The style clips a title wider than its column at its aligned side; the
// list shows the title's start with an ellipsis instead.
void CImageHeaderCtrl::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
    const QRect title = TitleRect(logicalIndex, QRect(0, 0, sectionSize(logicalIndex), viewport()->height()));
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, title.width() - margins);
}

void CImageHeaderCtrl::SetSortColumn(int column, BOOL bAscending, BOOL)
{
    m_nSortColumn = column;
    m_bAscending = bAscending;
    viewport()->update();
}

void CImageHeaderCtrl::OnDrawSortArrow(QPainter& painter, const QRect& rect) const
{
    DrawSortArrow(painter, rect, m_bAscending != 0, palette().color(QPalette::Mid));
}

// The sorted column's title keeps out of the mark's room, whatever its
// alignment: the style would draw a right-aligned one under the mark.
void CImageHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const QRect arrow = ArrowRect(logicalIndex, rect);
    if (arrow.isNull()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    option.rect = TitleRect(logicalIndex, rect);
    option.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    style()->drawControl(QStyle::CE_HeaderLabel, &option, painter, this);
    OnDrawSortArrow(*painter, arrow);
}

QRect CImageHeaderCtrl::ArrowRect(int logicalIndex, const QRect& section) const
{
    const QRect inner = section.adjusted(kArrowMargin, kArrowMargin, -kArrowMargin, -kArrowMargin);
    if (logicalIndex != m_nSortColumn || inner.width() < inner.height())
        return {};  // not sorted, or no room beside the title
    return {inner.right() + 1 - inner.height(), inner.top(), inner.height(), inner.height()};
}

QRect CImageHeaderCtrl::TitleRect(int logicalIndex, const QRect& section) const
{
    const QRect arrow = ArrowRect(logicalIndex, section);
    return arrow.isNull() ? section : section.adjusted(0, 0, arrow.left() - kArrowMargin - section.right(), 0);
}

void DrawSortArrow(QPainter& painter, const QRect& rect, bool ascending, const QColor& color)
{
    // Win32-style edges: right and bottom exclusive.
    const int left = rect.left() + 2;
    const int top = rect.top() + 2;
    const int right = rect.left() + rect.width() - 2;
    const int bottom = rect.top() + rect.height() - 2;
    if (bottom <= top)
        return;
    const int xc = (left + right) / 2;
    const double ratio = (right - left) * 0.5 / (bottom - top);
    for (int i = 0; i < bottom - top; ++i) {
        const int d = static_cast<int>(std::round(i * ratio));
        const int y = ascending ? top + i : bottom - 1 - i;
        painter.fillRect(QRect(xc - d, y, 2 * d + 1, 1), color);
    }
}
