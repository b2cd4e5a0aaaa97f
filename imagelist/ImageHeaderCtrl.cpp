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
    option->text = option->fontMetrics.elidedText(option->text, Qt::ElideRight, sectionSize(logicalIndex) - margins);
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

void CImageHeaderCtrl::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (m_nSortColumn < 0 || m_nSortColumn >= count() || isSectionHidden(m_nSortColumn))
        return;
    const QRect section(sectionViewportPosition(m_nSortColumn), 0, sectionSize(m_nSortColumn), viewport()->height());
    const QRect inner = section.adjusted(kArrowMargin, kArrowMargin, -kArrowMargin, -kArrowMargin);
    if (inner.width() < inner.height())
        return;  // no room beside the title
    QPainter painter(viewport());
    OnDrawSortArrow(painter, QRect(inner.right() + 1 - inner.height(), inner.top(), inner.height(), inner.height()));
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
