#include "dialogs/ColorButton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionToolButton>
#include <QWidgetAction>

namespace {

constexpr int kColumns = 5;
constexpr int kSwatch = 18;

// The palette offered in the drop-down: greys first, then hues.
constexpr COLORREF kPalette[] = {
    RGB(255, 255, 255), RGB(224, 224, 224), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 0),
    RGB(255, 250, 240), RGB(255, 248, 220), RGB(245, 245, 220), RGB(250, 235, 215), RGB(240, 255, 240),
    RGB(255, 0, 0),     RGB(255, 165, 0),   RGB(255, 255, 0),   RGB(0, 128, 0),     RGB(0, 0, 255),
    RGB(128, 0, 0),     RGB(128, 128, 0),   RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 0, 128),
};

QColor ToQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

}  // namespace

CColorButton::CColorButton(QWidget* parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::InstantPopup);
    BuildPalette();
}

void CColorButton::SetColor(COLORREF color)
{
    m_color = color & 0xFFFFFF;
    update();
}

void CColorButton::ChooseColor(COLORREF color)
{
    SetColor(color);
    emit colorChosen();
}

void CColorButton::BuildPalette()
{
    auto* menu = new QMenu(this);
    auto* grid = new QWidget(menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    for (int i = 0; i < int(std::size(kPalette)); ++i) {
        auto* swatch = new QToolButton(grid);
        swatch->setFixedSize(kSwatch, kSwatch);
        swatch->setStyleSheet(QStringLiteral("background-color: %1;").arg(ToQColor(kPalette[i]).name()));
        connect(swatch, &QToolButton::clicked, this, [this, menu, i] {
            menu->close();
            ChooseColor(kPalette[i]);
        });
        layout->addWidget(swatch, i / kColumns, i % kColumns);
    }
    auto* other = new QPushButton(QStringLiteral("その他..."), grid);
    connect(other, &QPushButton::clicked, this, [this, menu] {
        menu->close();
        AskOtherColor();
    });
    layout->addWidget(other, int(std::size(kPalette)) / kColumns, 0, 1, kColumns);
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(grid);
    menu->addAction(action);
    setMenu(menu);
}

void CColorButton::AskOtherColor()
{
    const QColor color = QColorDialog::getColor(ToQColor(m_color), this);
    if (color.isValid()) {
        ChooseColor(RGB(color.red(), color.green(), color.blue()));
    }
}

void CColorButton::paintEvent(QPaintEvent* event)
{
    QToolButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(5, 5, -18, -5);
    painter.fillRect(swatch, isEnabled() ? ToQColor(m_color) : palette().color(QPalette::Button));
    painter.setPen(palette().color(isEnabled() ? QPalette::WindowText : QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
