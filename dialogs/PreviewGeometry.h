#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

// The arithmetic of a preview view, apart from the widget: fit, zoom steps,
// display size, scroll bars and offsets. Sizes are in pixels; "client" is the
// view's area as it would be without scroll bars. Zoom is in percent, 0 = Fit.

// "Fit" for zoom 0, else the percentage, e.g. "200%".
QString GetZoomText(int zoom);

// The image fitted into the client keeping its ratio, enlarged or shrunk; at
// least one pixel along each axis, so that a thin strip stays visible.
QSize FitImage(QSize image, QSize client);
// The percentage at which Fit shows the image: above 100 % a whole multiple
// of 100. 0 without an image.
int GetFitZoom(QSize image, QSize client);
// The size the image is drawn at; Fit never enlarges by a fraction of the
// image. (0,0) without an image.
QSize GetDisplaySize(QSize image, int zoom, QSize client);

// The next zoom up or down from zoom with Fit (0) inserted where its
// percentage falls among the steps; nothing when there is no step to go to.
std::optional<int> ZoomInStep(int zoom, int fit);
std::optional<int> ZoomOutStep(int zoom, int fit);

// The scroll offset that keeps the image point under the client point where
// it is when the display size changes from oldSize to newSize.
QPoint ScrollKeepingPoint(QPoint scroll, QPoint point, QSize oldSize, QSize newSize);

// Scroll bars of a view with an image displayed at a size.
struct ScrollBarLayout {
    bool horz = false;  // a bar is shown
    bool vert = false;
    QSize page;       // client size left by the bars
    QPoint position;  // bar positions: the offsets clamped to 0 .. display - page
    QPoint offset;    // drawing offsets: the positions, or negative to centre a small image
};

// Bars and offsets for the display size in a client (without bars), keeping
// the scroll offsets where they can be. barExtent: the width of the vertical
// and the height of the horizontal bar.
ScrollBarLayout LayoutScrollBars(QSize display, QSize client, QPoint scroll, QSize barExtent);

// A bar position moved by delta, clamped to 0 .. maxPosition.
int ScrollPosition(int position, int delta, int maxPosition);
