#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include "platform/WinTypes.h"

class CPreviewCtrl;

// What a preview view asks of the window that holds it.
class IPreviewHost {
public:
    virtual void UpdateZoomText() = 0;
    // The colour of the displayed pixel under the mouse.
    virtual void UpdateColorText(COLORREF color) = 0;
    virtual void ZoomByWheel(CPreviewCtrl& view, int delta, QPoint screenPoint, bool ctrl) = 0;
    // The other view of the window, scrolled along by a Ctrl-drag.
    virtual CPreviewCtrl* GetPartnerView(const CPreviewCtrl& view) = 0;

protected:
    ~IPreviewHost() = default;
};

// A zoomable, scrollable view of one image: at a zoom percentage or fitted to
// the view, with an optional grid, scrolled by its bars, by the keyboard
// (through its window) and by dragging, zoomed by the wheel at the cursor.
// The arithmetic lives in PreviewGeometry and PreviewGrid.
class CPreviewCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CPreviewCtrl(QWidget* parent = nullptr);

    void SetHost(IPreviewHost* pHost) { m_pHost = pHost; }
    // The font of the "NO IMAGE" text, the application's shared bold font;
    // without one the view makes the same font itself.
    void SetBoldFont(const QFont* pFont) { m_pBoldFont = pFont; }

    // The view takes the image (null = no image), repaints and updates its
    // bars; the zoom and the offsets, clamped, stay.
    void SetBitmap(QImage bitmap);
    const QImage& GetBitmap() const { return m_pBitmap; }
    void SetGrid(bool bGrid);
    bool GetGrid() const { return m_bGrid; }
    int GetZoom() const { return m_nZoom; }
    // Drawing offsets: the display pixel at the view's (0,0); negative to
    // centre a small image.
    QPoint GetScroll() const { return m_ptScroll; }
    bool HasHorzBar() const { return m_bHorzBar; }
    bool HasVertBar() const { return m_bVertBar; }

    QString GetZoomText() const;
    int GetFitZoom() const;
    QSize GetDisplaySize() const;
    void SetZoom(int zoom, QPoint screenPoint);
    void ZoomIn(QPoint screenPoint);
    void ZoomOut(QPoint screenPoint);
    void UpdateScrollBars();
    void ScrollHorz(int delta);
    void ScrollVert(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Cursor { Arrow, Hand, Grab };

    QSize ClientWithoutBars() const;
    QSize BarExtent() const;
    void ShowBars(bool horz, bool vert);
    bool CanScroll() const { return m_bHorzBar || m_bVertBar; }
    void SetCursorKind(Cursor kind);
    void EndDrag();
    COLORREF PixelAt(QPoint point);
    void PaintNoImage(QPainter& painter, const QRect& client);
    void PaintImage(QPainter& painter, const QRect& client, const QRect& image);
    void PaintGrid(QPainter& painter, const QRect& client, const QRect& image);

    QImage m_pBitmap;
    int m_nZoom = 0;
    bool m_bGrid = true;
    QPoint m_ptScroll;
    bool m_bDragging = false;
    QPoint m_ptLast;
    QCursor m_hArrowCursor;
    QCursor m_hHandCursor;
    QCursor m_hGrabCursor;

    bool m_bHorzBar = false;
    bool m_bVertBar = false;
    bool m_bUpdatingBars = false;
    Cursor m_cursor = Cursor::Arrow;
    IPreviewHost* m_pHost = nullptr;
    const QFont* m_pBoldFont = nullptr;
};
