#pragma once

#include "platform/WinTypes.h"

class QPainter;
class QRect;

// The program's own look of the status bar's progress pane.
class CMyVisualManager {
public:
    // Paints the progress of current of total over the rectangle: white, the
    // bar over the rectangle shrunk by one pixel, "current / total" centred.
    // The gradient end colour is not used. Always TRUE (nothing is left to draw).
    static BOOL DrawStatusBarProgress(QPainter& dc, const QRect& rectProgress, int nProgressTotal, int nProgressCurr,
                                      COLORREF clrBar, COLORREF clrProgressBarDest, COLORREF clrProgressText,
                                      BOOL bProgressText);
};
