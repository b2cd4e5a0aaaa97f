#pragma once

#include <QList>
#include <QRect>

#include "platform/WinTypes.h"

class QWidget;

// Keeping a saved window rectangle on a visible screen. Rectangles are in
// screen coordinates, right and bottom exclusive.

// The window's restored rectangle (its place when neither maximised nor full
// screen); false for a widget that is not a window.
BOOL GetNormalRectOnScreen(const QWidget& window, RECT& rect);

// True when a grip of the rectangle's caption (left + 30, top + 5, right - 30,
// top + 20) meets the work area of some screen; true also when there are no
// screens to ask.
BOOL IsRectOnAnyMonitor(const RECT& rect);
// The same against the given work areas.
BOOL IsRectOnAnyWorkArea(const RECT& rect, const QList<QRect>& workAreas);

RECT ToRECT(const QRect& rect);
QRect FromRECT(const RECT& rect);
