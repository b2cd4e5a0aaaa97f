#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

// Synthetic book pages with known answers for the engine's tests and
// benchmarks: a paper of a given size and colour, lines of dark glyphs in
// horizontal or vertical writing, a picture block, the whole content turned by
// a known angle, then a dark scanner rim along chosen edges and small spots,
// which are not content.

enum PageEdge { EdgeLeft = 1, EdgeTop = 2, EdgeRight = 4, EdgeBottom = 8 };

struct PageSpot {
    QPoint at;   // upper-left pixel
    QSize size;  // filled with the ink colour
};

struct PageSpec {
    QSize size{1000, 1414};
    QRgb paper = qRgb(255, 255, 255);
    QRgb ink = qRgb(25, 25, 25);

    QRect textBox;           // area the lines fill before turning; empty = no text
    bool vertical = false;   // vertical writing: columns top to bottom, right to left
    int glyphSize = 24;      // glyph extent across and along the line
    int glyphGap = 3;        // space between glyphs of a line
    int lineGap = 24;        // space between lines
    int shortLineEvery = 5;  // every n-th line ends a paragraph at about half length; 0 = never

    QRect pictureBox;  // a block of dark tones; empty = none

    // Slant of the content: the angle by which the page must turn clockwise to
    // be straight. The content is drawn turned counter-clockwise by it around
    // the page centre.
    double slant = 0.0;

    int rimEdges = 0;  // PageEdge bits
    int rimWidth = 40;
    int rimOffset = 0;  // light pixels between the image edge and the rim
    QRgb rimColour = qRgb(40, 40, 40);

    QList<PageSpot> spots;
    unsigned seed = 1;  // glyph shapes
};

struct GeneratedPage {
    QImage image;        // 32-bit ARGB, opaque
    QRect contentBox;    // bounding box of the dark pixels of text and picture (BackBorder 230)
    double slant = 0.0;  // the correcting angle, as given
};

GeneratedPage GeneratePage(const PageSpec& spec);

// A4 at 300 dpi (2480 x 3508) with the usual book margins.
PageSpec A4TextPage(bool vertical, double slant);
PageSpec A4PicturePage(double slant);
