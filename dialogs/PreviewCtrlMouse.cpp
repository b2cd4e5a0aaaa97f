// Dragging, the colour under the mouse and the wheel of the preview view.
#include <QMouseEvent>
#include <QPixmap>
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
