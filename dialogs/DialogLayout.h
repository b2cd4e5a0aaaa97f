#pragma once

#include <QRect>
#include <QSize>

#include "msgbox/DialogUnits.h"

class QWidget;

// Lays out a window from its dialog template: positions and sizes are given
// in dialog units and turned into pixels with the base units of the window's
// font, as the message box does. Every dialog of the program uses this one
// conversion, so they all scale alike with the desktop's font.
class CDialogLayout {
public:
    explicit CDialogLayout(const QWidget& window);
    explicit CDialogLayout(DialogBaseUnits units) : m_units(units) {}

    int X(int dlu) const { return MulDiv(dlu, m_units.x, 4); }
    int Y(int dlu) const { return MulDiv(dlu, m_units.y, 8); }
    QRect Rect(int x, int y, int cx, int cy) const { return {X(x), Y(y), X(cx), Y(cy)}; }
    QSize Size(int cx, int cy) const { return {X(cx), Y(cy)}; }

    // Moves and sizes a control to its template rectangle.
    void Place(QWidget& control, int x, int y, int cx, int cy) const;
    // Gives a dialog the client size of its template.
    void Resize(QWidget& dialog, int cx, int cy) const;

private:
    DialogBaseUnits m_units;
};

// The pixels that 100 x 100 dialog units cover in the dialog; 2 x 2 for a
// window that is not a dialog or has no usable font measure.
QSize GetDialogUnitScale(const QWidget& window);
