// Painting of the preview view.
#include <QPaintEvent>
#include <QPainter>

#include "dialogs/PreviewCtrl.h"
#include "dialogs/PreviewGrid.h"

namespace {

// The bold font made the way the application makes its shared one, for a
// view that paints before it was given that font; kept for the process.
const QFont& OwnBoldFont()
{
    static const QFont font = [] {
        QFont f;
        f.setPointSize(14);
        f.setBold(true);
        f.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
        return f;
    }();
    return font;
}

// Gaps of the dotted grid lines show white.
QPen GridPen(const QColor& color, bool solid)
{
    QPen pen(color, 1, solid ? Qt::SolidLine : Qt::CustomDashLine, Qt::FlatCap);
    if (!solid)
        pen.setDashPattern({3, 3});
    return pen;
}

}  // namespace

void CPreviewCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    if (m_pBitmap.isNull()) {
        PaintNoImage(painter, client);
        return;
    }
    const QSize display = GetDisplaySize();
    if (display.width() < 1 || display.height() < 1) {
        painter.fillRect(client, palette().color(QPalette::Mid));
        return;
    }
    const QRect image(client.topLeft() - m_ptScroll, display);
    PaintImage(painter, client, image);
    if (m_bGrid)
        PaintGrid(painter, client, image);
}

void CPreviewCtrl::PaintNoImage(QPainter& painter, const QRect& client)
{
    if (!client.isEmpty())
        painter.fillRect(client, palette().color(QPalette::Mid));
    painter.setFont(m_pBoldFont != nullptr ? *m_pBoldFont : OwnBoldFont());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("NO IMAGE"));
}

void CPreviewCtrl::PaintImage(QPainter& painter, const QRect& client, const QRect& image)
{
    const QColor background = palette().color(QPalette::Mid);
    if (m_pBitmap.hasAlphaChannel()) {
        painter.fillRect(client, background);
    } else {
        for (const QRect& margin : BackgroundMargins(client, image)) {
            if (!margin.isEmpty())
                painter.fillRect(margin, background);
        }
    }
    // Enlarged pixels stay sharp squares; a reduced image is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, image.width() <= m_pBitmap.width());
    painter.drawImage(image, m_pBitmap);
}

void CPreviewCtrl::PaintGrid(QPainter& painter, const QRect& client, const QRect& image)
{
    const bool fit = m_nZoom == 0;
    const QColor color = fit ? kFitGridColor : kZoomGridColor;
    const QList<GridLine> lines = fit ? FitGridLines(image.topLeft(), image.size())
                                      : ZoomGridLines(m_pBitmap.size(), m_nZoom, image.topLeft(), image.size(), client);
    const QPen solid = GridPen(color, true);
    const QPen dotted = GridPen(color, false);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    for (const GridLine& line : lines) {
        painter.setPen(line.solid ? solid : dotted);
        painter.drawLine(line.line);
    }
}
