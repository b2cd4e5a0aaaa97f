// Dragging, the colour under the mouse and the wheel of the preview view.
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include "dialogs/PreviewCtrl.h"

void CPreviewCtrl::mousePressEvent(QMouseEvent* event)
{
    // Only a view that can scroll is dragged; the press grabs the mouse.
    if (event->button() != Qt::LeftButton || !CanScroll())
        return;
    m_ptLast = event->position().toPoint();
    m_bDragging = true;
    SetCursorKind(Cursor::Grab);
}

void CPreviewCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    // The button went up where this view could not see it.
    if (m_bDragging && !event->buttons().testFlag(Qt::LeftButton))
        EndDrag();
    SetCursorKind(m_bDragging ? Cursor::Grab : CanScroll() ? Cursor::Hand : Cursor::Arrow);
    if (m_bDragging) {
        const QPoint delta = m_ptLast - point;
        ScrollHorz(delta.x());
        ScrollVert(delta.y());
        CPreviewCtrl* partner = m_pHost != nullptr ? m_pHost->GetPartnerView(*this) : nullptr;
        if (partner != nullptr && event->modifiers().testFlag(Qt::ControlModifier)) {
            partner->ScrollHorz(delta.x());
            partner->ScrollVert(delta.y());
        }
        m_ptLast = point;
    }
    // Outside the view (while dragging) there is no displayed pixel to read.
    if (m_pHost != nullptr && viewport()->rect().contains(point))
        m_pHost->UpdateColorText(PixelAt(point));
}

void CPreviewCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_bDragging)
        EndDrag();
}

void CPreviewCtrl::wheelEvent(QWheelEvent* event)
{
    if (m_pHost != nullptr)
        m_pHost->ZoomByWheel(*this, event->angleDelta().y(), event->globalPosition().toPoint(),
                             event->modifiers().testFlag(Qt::ControlModifier));
    event->accept();
}

void CPreviewCtrl::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    // A modal box over the window takes the mouse-up of a drag.
    window()->installEventFilter(this);
}

void CPreviewCtrl::hideEvent(QHideEvent* event)
{
    if (m_bDragging)
        EndDrag();
    QAbstractScrollArea::hideEvent(event);
}

bool CPreviewCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && (watched == horizontalScrollBar() || watched == verticalScrollBar())) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::WindowBlocked && watched == window() && m_bDragging)
        EndDrag();
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CPreviewCtrl::EndDrag()
{
    m_bDragging = false;
    SetCursorKind(Cursor::Hand);
}

void CPreviewCtrl::SetCursorKind(Cursor kind)
{
    if (kind == m_cursor)
        return;
    m_cursor = kind;
    viewport()->setCursor(kind == Cursor::Grab ? m_hGrabCursor : kind == Cursor::Hand ? m_hHandCursor : m_hArrowCursor);
}

COLORREF CPreviewCtrl::PixelAt(QPoint point)
{
    // The pixel as displayed, grid lines and background included.
    const QImage pixel = viewport()->grab(QRect(point, QSize(1, 1))).toImage();
    const QRgb rgb = pixel.isNull() ? 0 : pixel.pixel(0, 0);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
