#include "dialogs/PreviewCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>

#include "dialogs/PreviewGeometry.h"
#include "dialogs/PreviewGrid.h"

namespace {

constexpr int kLineStep = 20;

QCursor ResourceCursor(const char* file)
{
    const QPixmap pixmap(QString::fromLatin1(":/res/images/%1").arg(QLatin1String(file)));
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

void SetBar(QScrollBar& bar, int display, int page, int position)
{
    const QSignalBlocker blocker(bar);
    bar.setRange(0, std::max(display - page, 0));
    bar.setPageStep(std::max(page, 0));
    bar.setSingleStep(kLineStep);
    bar.setValue(position);
}

}  // namespace

CPreviewCtrl::CPreviewCtrl(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_hArrowCursor(Qt::ArrowCursor),
      m_hHandCursor(ResourceCursor("173.png")),
      m_hGrabCursor(ResourceCursor("174.png"))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every pixel is painted each time: margins around the image, the image,
    // or the grey face; nothing is erased first, so nothing flickers and
    // scrolling can move the pixels already drawn.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(m_hArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    // The wheel zooms over the bars as over the image.
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { ScrollHorz(value - m_ptScroll.x()); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { ScrollVert(value - m_ptScroll.y()); });
}

void CPreviewCtrl::SetBitmap(QImage bitmap)
{
    // Painted often, converted once: the formats the painter draws fastest.
    if (bitmap.hasAlphaChannel())
        bitmap.convertTo(QImage::Format_ARGB32_Premultiplied);
    else if (!bitmap.isNull())
        bitmap.convertTo(QImage::Format_RGB32);
    m_pBitmap = std::move(bitmap);
    viewport()->update();
    UpdateScrollBars();
}

void CPreviewCtrl::SetGrid(bool bGrid)
{
    m_bGrid = bGrid;
    viewport()->update();
}

QString CPreviewCtrl::GetZoomText() const
{
    return ::GetZoomText(m_nZoom);
}

int CPreviewCtrl::GetFitZoom() const
{
    return ::GetFitZoom(m_pBitmap.size(), ClientWithoutBars());
}

QSize CPreviewCtrl::GetDisplaySize() const
{
    return ::GetDisplaySize(m_pBitmap.isNull() ? QSize() : m_pBitmap.size(), m_nZoom, ClientWithoutBars());
}

void CPreviewCtrl::SetZoom(int zoom, QPoint screenPoint)
{
    const QSize oldSize = GetDisplaySize();
    m_nZoom = zoom;
    m_ptScroll = ScrollKeepingPoint(m_ptScroll, viewport()->mapFromGlobal(screenPoint), oldSize, GetDisplaySize());
    viewport()->update();
    UpdateScrollBars();
}

void CPreviewCtrl::ZoomIn(QPoint screenPoint)
{
    if (const std::optional<int> zoom = ZoomInStep(m_nZoom, GetFitZoom())) {
        SetZoom(*zoom, screenPoint);
        if (m_pHost != nullptr)
            m_pHost->UpdateZoomText();
    }
}

void CPreviewCtrl::ZoomOut(QPoint screenPoint)
{
    if (const std::optional<int> zoom = ZoomOutStep(m_nZoom, GetFitZoom())) {
        SetZoom(*zoom, screenPoint);
        if (m_pHost != nullptr)
            m_pHost->UpdateZoomText();
    }
}

void CPreviewCtrl::UpdateScrollBars()
{
    // Showing or hiding a bar resizes the viewport, which asks again.
    if (m_bUpdatingBars)
        return;
    m_bUpdatingBars = true;
    const QSize display = GetDisplaySize();
    const ScrollBarLayout bars = LayoutScrollBars(display, ClientWithoutBars(), m_ptScroll, BarExtent());
    SetBar(*horizontalScrollBar(), display.width(), bars.page.width(), bars.position.x());
    SetBar(*verticalScrollBar(), display.height(), bars.page.height(), bars.position.y());
    ShowBars(bars.horz, bars.vert);
    m_ptScroll = bars.offset;
    m_bUpdatingBars = false;
}

void CPreviewCtrl::ScrollHorz(int delta)
{
    if (!m_bHorzBar || delta == 0)
        return;
    const int old = m_ptScroll.x();
    m_ptScroll.setX(ScrollPosition(old, delta, horizontalScrollBar()->maximum()));
    if (m_ptScroll.x() == old)
        return;
    {
        const QSignalBlocker blocker(horizontalScrollBar());
        horizontalScrollBar()->setValue(m_ptScroll.x());
    }
    viewport()->scroll(old - m_ptScroll.x(), 0);  // only the uncovered strip is painted
}

void CPreviewCtrl::ScrollVert(int delta)
{
    if (!m_bVertBar || delta == 0)
        return;
    const int old = m_ptScroll.y();
    m_ptScroll.setY(ScrollPosition(old, delta, verticalScrollBar()->maximum()));
    if (m_ptScroll.y() == old)
        return;
    {
        const QSignalBlocker blocker(verticalScrollBar());
        verticalScrollBar()->setValue(m_ptScroll.y());
    }
    viewport()->scroll(0, old - m_ptScroll.y());
}

QSize CPreviewCtrl::ClientWithoutBars() const
{
    const QSize extent = BarExtent();
    return viewport()->size() + QSize(m_bVertBar ? extent.width() : 0, m_bHorzBar ? extent.height() : 0);
}

QSize CPreviewCtrl::BarExtent() const
{
    return {verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height()};
}

void CPreviewCtrl::ShowBars(bool horz, bool vert)
{
    m_bHorzBar = horz;
    m_bVertBar = vert;
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void CPreviewCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CPreviewCtrl::scrollContentsBy(int, int)
{
    // The bars' own signals scroll the view (ScrollHorz, ScrollVert).
}
