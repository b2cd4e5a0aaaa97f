#include "app/RibbonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

#include "app/RibbonIds.h"

namespace {

// Glyphs are drawn on a 32 x 32 grid and scaled to the icon size.
const QColor kInk(0x33, 0x3d, 0x4d);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kBlue(0x2f, 0x6f, 0xc6);
const QColor kGreen(0x2e, 0x9e, 0x48);
const QColor kRed(0xd0, 0x3a, 0x32);
const QColor kFolder(0xe8, 0xb8, 0x3c);

void Page(QPainter& p, QRectF r)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(r);
    for (qreal y = r.top() + 5; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void Badge(QPainter& p, QColor color, const QString& glyph)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(17, 17, 14, 14));
    p.setPen(QPen(Qt::white, 2.5));
    if (glyph == QLatin1String("+")) {
        p.drawLine(QPointF(24, 20), QPointF(24, 28));
        p.drawLine(QPointF(20, 24), QPointF(28, 24));
    }
}

void Folder(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kFolder);
    QPainterPath path;
    path.moveTo(3, 8);
    path.lineTo(12, 8);
    path.lineTo(15, 11);
    path.lineTo(28, 11);
    path.lineTo(28, 26);
    path.lineTo(3, 26);
    path.closeSubpath();
    p.drawPath(path);
}

void Circled(QPainter& p, QColor color, const QString& text)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, text);
}

void Magnifier(QPainter& p)
{
    p.setPen(QPen(kBlue, 3));
    p.setBrush(QColor(0xdd, 0xea, 0xfb));
    p.drawEllipse(QRectF(13, 13, 12, 12));
    p.drawLine(QPointF(23, 23), QPointF(30, 30));
}

void Play(QPainter& p, qreal x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(x, 14), QPointF(x + 12, 22), QPointF(x, 30)}));
}

void Scissors(QPainter& p)
{
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4, 20, 8, 8));
    p.drawEllipse(QRectF(20, 20, 8, 8));
    p.drawLine(QPointF(10, 21), QPointF(24, 3));
    p.drawLine(QPointF(22, 21), QPointF(8, 3));
}

void Gear(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * M_PI / 4;
        const QPointF c(16 + 11 * std::cos(angle), 16 + 11 * std::sin(angle));
        teeth.addEllipse(c, 3.5, 3.5);
    }
    teeth.addEllipse(QPointF(16, 16), 10, 10);
    p.drawPath(teeth.simplified());
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void Grid(QPainter& p, int cells)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0xb8, 0xd0, 0xf0));
    const qreal step = 26.0 / cells;
    for (int y = 0; y < cells; ++y) {
        for (int x = 0; x < cells; ++x)
            p.drawRect(QRectF(3 + x * step, 3 + y * step, step - 2, step - 2));
    }
}

void Columns(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.fillRect(QRectF(4, 6, 25, 5), kBlue);
    for (qreal x : {11.0, 20.0})
        p.drawLine(QPointF(x, 5), QPointF(x, 27));
}

void Refresh(QPainter& p)
{
    p.setPen(QPen(kGreen, 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 300 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(20, 3), QPointF(29, 9), QPointF(20, 14)}));
}

void Window(QPainter& p)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2, 5, 28, 22));
    p.fillRect(QRectF(3, 6, 27, 4), kBlue);
    p.drawLine(QPointF(16, 10), QPointF(16, 27));
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(6, 13), QPointF(12, 24));
    p.drawLine(QPointF(20, 14), QPointF(20, 24));
}

void Draw(QPainter& p, unsigned command)
{
    switch (command) {
    case cmdAppAddFile:
        Page(p, QRectF(5, 3, 18, 24));
        Badge(p, kGreen, QStringLiteral("+"));
        break;
    case cmdAppAddDir:
        Folder(p);
        Badge(p, kGreen, QStringLiteral("+"));
        break;
    case cmdHelp:
    case cmdAppHelp:
        Circled(p, kBlue, QStringLiteral("?"));
        break;
    case cmdAppAbout:
        Circled(p, kBlue, QStringLiteral("i"));
        break;
    case cmdAppExit:
        Circled(p, kRed, QStringLiteral("×"));
        break;
    case cmdClipPaste:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xc8, 0x9a, 0x5a));
        p.drawRect(QRectF(4, 5, 18, 24));
        p.fillRect(QRectF(9, 3, 8, 5), kInk);
        Page(p, QRectF(14, 12, 15, 18));
        break;
    case cmdClipCut:
        Scissors(p);
        break;
    case cmdClipCopy:
        Page(p, QRectF(4, 3, 16, 20));
        Page(p, QRectF(12, 9, 16, 20));
        break;
    case cmdEditDelete:
        p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 25));
        p.drawLine(QPointF(25, 7), QPointF(7, 25));
        break;
    case cmdEditClear:
        Page(p, QRectF(4, 3, 18, 24));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xf0, 0x8c, 0xa8));
        p.drawPolygon(QPolygonF({QPointF(14, 24), QPointF(24, 12), QPointF(30, 18), QPointF(20, 30)}));
        break;
    case cmdEditSelectAll:
        p.setPen(QPen(kBlue, 1.5, Qt::DashLine));
        p.setBrush(QColor(0xdd, 0xea, 0xfb));
        p.drawRect(QRectF(2, 2, 28, 28));
        Page(p, QRectF(8, 7, 16, 18));
        break;
    case cmdAdjPreviewSel:
        Page(p, QRectF(3, 3, 16, 22));
        Magnifier(p);
        break;
    case cmdAdjPreviewAll:
        Page(p, QRectF(3, 2, 14, 18));
        Page(p, QRectF(7, 6, 14, 18));
        Magnifier(p);
        break;
    case cmdAdjExecSel:
        Page(p, QRectF(3, 3, 16, 22));
        Play(p, 17);
        break;
    case cmdAdjExecAll:
        Page(p, QRectF(3, 2, 14, 18));
        Page(p, QRectF(7, 6, 14, 18));
        Play(p, 18);
        break;
    case cmdAdjCancel:
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRoundedRect(QRectF(6, 6, 20, 20), 3, 3);
        break;
    case cmdAdjOption:
        Gear(p);
        break;
    case cmdListItem:
        Columns(p);
        break;
    case cmdListLarge:
        Grid(p, 1);
        break;
    case cmdListMedium:
        Grid(p, 2);
        break;
    case cmdListSmall:
        Grid(p, 3);
        break;
    case cmdListRefresh:
        Refresh(p);
        break;
    case cmdViewOpenPreview:
        Window(p);
        break;
    default:
        break;
    }
}

QPixmap Render(unsigned command, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    Draw(painter, command);
    return pixmap;
}

}  // namespace

QIcon CreateRibbonIcon(unsigned command)
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(Render(command, size));
    return icon;
}
