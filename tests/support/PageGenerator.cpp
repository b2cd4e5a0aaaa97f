#include "support/PageGenerator.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <random>

namespace {

// One glyph: a few strokes across a square, always with at least one stroke
// along each axis so that the glyphs of a line stay close together.
void DrawGlyph(QPainter& painter, const QRect& cell, std::mt19937& random)
{
    const int size = cell.width();
    const int stroke = std::max(2, size / 8);
    std::uniform_int_distribution<int> offset(0, size - stroke);
    std::uniform_int_distribution<int> extra(0, 2);
    painter.drawRect(cell.x(), cell.y() + offset(random), size, stroke);
    painter.drawRect(cell.x() + offset(random), cell.y(), stroke, size);
    for (int i = extra(random); i > 0; --i) {
        if (random() & 1)
            painter.drawRect(cell.x(), cell.y() + offset(random), size, stroke);
        else
            painter.drawRect(cell.x() + offset(random), cell.y(), stroke, size);
    }
}

void DrawText(QPainter& painter, const PageSpec& spec)
{
    std::mt19937 random(spec.seed);
    const QRect& box = spec.textBox;
    const int pitch = spec.glyphSize + spec.lineGap;
    const int advance = spec.glyphSize + spec.glyphGap;
    const int across = spec.vertical ? box.width() : box.height();
    const int along = spec.vertical ? box.height() : box.width();
    const int lines = (across + spec.lineGap) / pitch;
    const int glyphs = (along + spec.glyphGap) / advance;
    for (int line = 0; line < lines; ++line) {
        const bool shortLine = spec.shortLineEvery > 0 && line % spec.shortLineEvery == spec.shortLineEvery - 1;
        const int count = shortLine ? glyphs / 2 : glyphs;
        for (int g = 0; g < count; ++g) {
            // Vertical writing fills columns from the right edge leftwards.
            const QPoint at = spec.vertical
                                  ? QPoint(box.right() + 1 - (line + 1) * pitch + spec.lineGap, box.top() + g * advance)
                                  : QPoint(box.left() + g * advance, box.top() + line * pitch);
            DrawGlyph(painter, QRect(at, QSize(spec.glyphSize, spec.glyphSize)), random);
        }
    }
}

void DrawPicture(QPainter& painter, const QRect& box)
{
    QLinearGradient tones(box.topLeft(), box.bottomRight());
    tones.setColorAt(0.0, QColor(30, 40, 60));
    tones.setColorAt(0.5, QColor(150, 110, 90));
    tones.setColorAt(1.0, QColor(60, 120, 70));
    painter.fillRect(box, tones);
}

// The answer is read from the pixels, so rotation and rounding need no model.
QRect DarkBox(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qRed(row[x]) + qGreen(row[x]) + qBlue(row[x]) < 3 * 230) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void DrawRim(QPainter& painter, const PageSpec& spec)
{
    const int w = spec.size.width();
    const int h = spec.size.height();
    const int o = spec.rimOffset;
    const int r = spec.rimWidth;
    const QColor colour = QColor::fromRgb(spec.rimColour);
    if (spec.rimEdges & EdgeLeft)
        painter.fillRect(QRect(o, 0, r, h), colour);
    if (spec.rimEdges & EdgeTop)
        painter.fillRect(QRect(0, o, w, r), colour);
    if (spec.rimEdges & EdgeRight)
        painter.fillRect(QRect(w - o - r, 0, r, h), colour);
    if (spec.rimEdges & EdgeBottom)
        painter.fillRect(QRect(0, h - o - r, w, r), colour);
}

}  // namespace

GeneratedPage GeneratePage(const PageSpec& spec)
{
    GeneratedPage page;
    page.slant = spec.slant;
    page.image = QImage(spec.size, QImage::Format_ARGB32);
    page.image.fill(spec.paper);
    {
        QPainter painter(&page.image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(spec.ink));
        const QPointF centre(spec.size.width() / 2.0, spec.size.height() / 2.0);
        painter.translate(centre);
        painter.rotate(-spec.slant);  // counter-clockwise on screen
        painter.translate(-centre);
        if (!spec.textBox.isEmpty())
            DrawText(painter, spec);
        if (!spec.pictureBox.isEmpty())
            DrawPicture(painter, spec.pictureBox);
    }
    page.contentBox = DarkBox(page.image);
    QPainter painter(&page.image);
    DrawRim(painter, spec);
    for (const PageSpot& spot : spec.spots)
        painter.fillRect(QRect(spot.at, spot.size), QColor::fromRgb(spec.ink));
    return page;
}

PageSpec A4TextPage(bool vertical, double slant)
{
    PageSpec spec;
    spec.size = QSize(2480, 3508);
    spec.paper = qRgb(246, 244, 238);
    spec.textBox = QRect(300, 340, 1880, 2830);
    spec.vertical = vertical;
    spec.glyphSize = 44;
    spec.glyphGap = 6;
    spec.lineGap = 40;
    spec.slant = slant;
    return spec;
}

PageSpec A4PicturePage(double slant)
{
    PageSpec spec;
    spec.size = QSize(2480, 3508);
    spec.paper = qRgb(246, 244, 238);
    spec.pictureBox = QRect(260, 300, 1960, 2900);
    spec.slant = slant;
    return spec;
}
