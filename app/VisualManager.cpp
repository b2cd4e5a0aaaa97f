#include "app/VisualManager.h"

#include <QPainter>
#include <QRect>

#include <algorithm>

#include "platform/ColorRef.h"

BOOL CMyVisualManager::DrawStatusBarProgress(QPainter& dc, const QRect& rectProgress, int nProgressTotal,
                                             int nProgressCurr, COLORREF clrBar, COLORREF /*clrProgressBarDest*/,
                                             COLORREF clrProgressText, BOOL bProgressText)
{
    dc.fillRect(rectProgress, Qt::white);
    if (nProgressTotal == 0) {
        return 1;
    }
    QRect bar = rectProgress.adjusted(1, 1, -1, -1);
    // In 64 bits: a width times a count of thousands stays exact. A count
    // beyond the total never paints outside the pane.
    const qint64 width = qint64(bar.width()) * nProgressCurr / nProgressTotal;
    bar.setWidth(static_cast<int>(std::clamp<qint64>(width, 0, bar.width())));
    dc.fillRect(bar, ToQColor(clrBar));
    if (bProgressText) {
        const QPen oldPen = dc.pen();
        dc.setPen(ToQColor(clrProgressText));
        dc.drawText(rectProgress, Qt::AlignCenter | Qt::TextSingleLine,
                    QStringLiteral("%1 / %2").arg(nProgressCurr).arg(nProgressTotal));
        dc.setPen(oldPen);
    }
    return 1;
}
