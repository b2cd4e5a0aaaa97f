#include "dialogs/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

BOOL GetNormalRectOnScreen(const QWidget& window, RECT& rect)
{
    if (!window.isWindow())
        return false;
    // The restored geometry is already in screen coordinates here; there is
    // no work-area origin to move it from.
    rect = ToRECT(window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry());
    return true;
}

BOOL IsRectOnAnyMonitor(const RECT& rect)
{
    QList<QRect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens())
        workAreas.append(screen->availableGeometry());
    return workAreas.isEmpty() || IsRectOnAnyWorkArea(rect, workAreas);
}

BOOL IsRectOnAnyWorkArea(const RECT& rect, const QList<QRect>& workAreas)
{
    const RECT grip{rect.left + 30, rect.top + 5, rect.right - 30, rect.top + 20};
    return std::any_of(workAreas.begin(), workAreas.end(), [&grip](const QRect& area) {
        const RECT work = ToRECT(area);
        return std::max(grip.left, work.left) < std::min(grip.right, work.right) &&
               std::max(grip.top, work.top) < std::min(grip.bottom, work.bottom);
    });
}

RECT ToRECT(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect FromRECT(const RECT& rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}
