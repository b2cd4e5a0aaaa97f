#include "imagelist/RowPainter.h"

#include <QPainter>

#include <algorithm>

#include "common/TextFormat.h"
#include "imagelist/ColumnTable.h"
#include "imagelist/ImageInfo.h"

namespace {

constexpr int kTextPad = 3;
constexpr int kIconSize = 16;
constexpr int kIconTextLeft = 22;

QColor ToColor(COLORREF c)
{
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

COLORREF ToColorRef(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

QColor Step(const QColor& from, const QColor& to, int n)
{
    return ToColor(StepColor(ToColorRef(from), ToColorRef(to), n));
}

}  // namespace

QColor RowBackground(const QPalette& palette, const RowState& state)
{
    if (!state.enabled)
        return palette.color(QPalette::Button);
    const QColor window = palette.color(QPalette::Base);
    if (state.selected)
        return Step(window, palette.color(QPalette::Highlight), 7);
    return state.row % 2 == 0 ? window : Step(window, palette.color(QPalette::Text), 30);
}

CRowPainter::CRowPainter(QPainter& painter, const std::vector<RowColumn>& columns,
                         const std::array<QPixmap, ICON_COUNT>& icons, int thumbPx, bool debugOn)
    : m_painter(painter),
      m_columns(columns),
      m_icons(icons),
      m_nThumbPx(thumbPx),
      m_bDebugOn(debugOn),
      m_nLineHeight(std::max(kIconSize, painter.fontMetrics().height()))
{
}

void CRowPainter::DrawItem(const CImageInfo& info, const QRect& item, const RowState& state, const QPalette& palette)
{
    m_painter.fillRect(item, RowBackground(palette, state));
    m_painter.setPen(palette.color(state.enabled ? QPalette::Text : QPalette::ButtonText));
    int x = item.left();
    for (const RowColumn& column : m_columns) {
        const QRect cell(x, item.top(), column.width, item.height());
        x += column.width;
        if (column.id <= COLUMN_ADJ_SIZE)
            DrawText(info, column.id, cell, column.format);
        else if (column.id <= COLUMN_OVERRIDE)
            DrawResults(info, column.id, cell);
        else
            DrawThumb(column.id == COLUMN_SRC_THUMB ? info.GetSrcThumb() : info.GetAdjThumb(), cell);
    }
    if (state.focused) {
        m_painter.save();
        m_painter.setPen(QPen(palette.color(QPalette::Text), 1, Qt::DotLine));
        m_painter.drawRect(item.adjusted(0, 0, -1, -1));
        m_painter.restore();
    }
}

void CRowPainter::DrawText(const CImageInfo& info, int id, const QRect& cell, int format)
{
    const QString text = info.GetColumnText(id);
    if (text.isEmpty())
        return;
    const QRect box = cell.adjusted(kTextPad, 0, -kTextPad, 0);
    const Qt::Alignment align = format == COLUMN_FORMAT_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    m_painter.drawText(box, Qt::AlignVCenter | Qt::TextSingleLine | align,
                       FitTextWithEllipsis(m_painter, text, box.width(), m_cut));
}

void CRowPainter::DrawResults(const CImageInfo& info, int id, const QRect& cell)
{
    const int h = m_nLineHeight;
    int y = cell.top() + (cell.height() - 3 * h - 2) / 2;
    for (const ResultLine& line : GetResultLines(info, id, m_bDebugOn)) {
        m_painter.drawPixmap(cell.left() + kTextPad, y + (h - kIconSize) / 2, m_icons[line.icon]);
        const QRect box(cell.left() + kIconTextLeft, y, cell.width() - kIconTextLeft - kTextPad, h);
        m_painter.drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, line.text);
        y += h + 1;
    }
}

void CRowPainter::DrawThumb(const QImage* bitmap, const QRect& cell)
{
    if (bitmap == nullptr)
        return;
    const QSize size = FitThumbnail(bitmap->size(), m_nThumbPx, cell.size());
    if (size.width() < 1 || size.height() < 1)
        return;
    const QRect target(cell.left() + (cell.width() - size.width()) / 2,
                       cell.top() + (cell.height() - size.height()) / 2, size.width(), size.height());
    if (size == bitmap->size()) {
        m_painter.drawImage(target.topLeft(), *bitmap);
        return;
    }
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.drawImage(target, *bitmap);
    m_painter.restore();
}
