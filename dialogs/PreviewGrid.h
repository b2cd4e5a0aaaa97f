#pragma once

#include <QColor>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

// What a preview view paints around and over its image, apart from the painter.

struct GridLine {
    QLine line;  // from its start to its end point (end exclusive)
    bool solid;  // else dotted
};

// Grid colours: at a zoom and at Fit.
inline const QColor kZoomGridColor{0, 0, 128};
inline const QColor kFitGridColor{128, 0, 128};

// Image pixels between grid lines at a zoom above 0: 100 up to 100 %, 10 below
// 1000 %, 1 from 1000 %.
int GetGridStep(int zoom);

// The grid at a zoom for an image of imageSize drawn at origin with
// displaySize: a line every step image pixels, every fifth solid, only the
// lines that fall inside the client rectangle.
QList<GridLine> ZoomGridLines(QSize imageSize, int zoom, QPoint origin, QSize displaySize, const QRect& client);

// The grid at Fit: a line every 5 % of the displayed image measured from both
// edges, meeting at 50 %; multiples of 10 % solid.
QList<GridLine> FitGridLines(QPoint origin, QSize displaySize);

// The four margins around the image inside the client (left, right, top,
// bottom), each possibly empty; filling them never touches the image area.
std::array<QRect, 4> BackgroundMargins(const QRect& client, const QRect& image);
