// The preview window's placement and grid choice kept in the profile.
#include "dialogs/PreviewProfile.h"

#include <QCheckBox>
#include <QtEndian>

#include "dialogs/PreviewDialog.h"
#include "dialogs/WindowPlacement.h"

namespace {

constexpr int kRectBytes = 16;

}  // namespace

QByteArray RectToBytes(const RECT& rect)
{
    QByteArray data(kRectBytes, '\0');
    const qint32 values[] = {rect.left, rect.top, rect.right, rect.bottom};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<qint32>(values[i], data.data() + 4 * i);
    return data;
}

BOOL RectFromBytes(const QByteArray& data, RECT& rect)
{
    if (data.size() != kRectBytes)
        return false;
    const auto at = [&data](int i) { return qFromLittleEndian<qint32>(data.constData() + 4 * i); };
    rect = {at(0), at(1), at(2), at(3)};
    return true;
}

void CPreviewDialog::RestorePlacement()
{
    QByteArray data;
    RECT rect;
    if (GetProfileBinary(QString(), kPrevWinRectKey, data) && RectFromBytes(data, rect) && IsRectOnAnyMonitor(rect))
        setGeometry(FromRECT(rect));
}

void CPreviewDialog::OnDestroy()
{
    RECT rect;
    if (GetNormalRectOnScreen(*this, rect))
        WriteProfileBinary(QString(), kPrevWinRectKey, RectToBytes(rect));
    WriteProfileInt(QString(), kPrevWinZoomKey, isMaximized() ? 1 : 0);
    WriteProfileInt(QString(), kGridOnKey, m_wndSource->GetGrid() ? 1 : 0);
}
