#include "dialogs/DialogLayout.h"

#include <QDialog>
#include <QWidget>

CDialogLayout::CDialogLayout(const QWidget& window) : m_units(GetDialogBaseUnits(window.font())) {}

void CDialogLayout::Place(QWidget& control, int x, int y, int cx, int cy) const
{
    control.setGeometry(Rect(x, y, cx, cy));
}

void CDialogLayout::Resize(QWidget& dialog, int cx, int cy) const
{
    dialog.resize(Size(cx, cy));
}

QSize GetDialogUnitScale(const QWidget& window)
{
    // Only a dialog has dialog units; any other window gets the fallback.
    if (qobject_cast<const QDialog*>(&window) == nullptr)
        return {2, 2};
    const CDialogLayout layout(window);
    const QSize size = layout.Size(100, 100);
    return size.width() > 0 && size.height() > 0 ? size : QSize(2, 2);
}
