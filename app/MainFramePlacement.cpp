// The main window's place, size and maximised state, kept in the profile
// section of the window state.
#include "app/MainFrame.h"

#include "dialogs/PreviewProfile.h"
#include "dialogs/WindowPlacement.h"
#include "settings/Profile.h"

namespace {

const QString kPaneState = QStringLiteral("PaneState");
const QString kWindowRect = QStringLiteral("WindowRect");  // binary, 16 bytes
const QString kMaximized = QStringLiteral("Maximized");    // 1 = maximised

}  // namespace

// A place that no screen shows any more is ignored: the window keeps its
// default place and size.
void CMainFrame::RestorePlacement()
{
    QByteArray data;
    RECT rect;
    if (GetProfileBinary(kPaneState, kWindowRect, data) && RectFromBytes(data, rect) && IsRectOnAnyMonitor(rect))
        setGeometry(FromRECT(rect));
    if (GetProfileInt(kPaneState, kMaximized, 0) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::SavePlacement()
{
    RECT rect;
    if (GetNormalRectOnScreen(*this, rect))
        WriteProfileBinary(kPaneState, kWindowRect, RectToBytes(rect));
    WriteProfileInt(kPaneState, kMaximized, isMaximized() ? 1 : 0);
}
