#include "dialogs/PreviewKeys.h"

#include <QtGlobal>
#include <qnamespace.h>

#include <algorithm>

namespace {

constexpr int kPageStep = 3;
constexpr int kScrollStep = 20;

using Cmd = PreviewKeyCommand;

// Keys that walk the list when pressed alone and act on the views named by
// Ctrl (left) and Shift (right) otherwise.
PreviewKeyAction WalkOrView(int step, Cmd walk, Cmd view, int amount, bool ctrl, bool shift)
{
    if (!ctrl && !shift)
        return {walk, step};
    return {view, amount, ctrl, shift};
}

// Keys that act only when pressed alone.
PreviewKeyAction AloneOnly(Cmd command, bool ctrl, bool shift)
{
    return ctrl || shift ? PreviewKeyAction{} : PreviewKeyAction{command};
}

}  // namespace

PreviewKeyAction GetPreviewKeyAction(int key, bool ctrl, bool shift)
{
    switch (key) {
    case Qt::Key_Tab:
        return AloneOnly(Cmd::ShowMainWindow, ctrl, shift);
    case Qt::Key_PageUp:
        return WalkOrView(kPageStep, Cmd::SelectPrev, Cmd::ZoomIn, 0, ctrl, shift);
    case Qt::Key_PageDown:
        return WalkOrView(kPageStep, Cmd::SelectNext, Cmd::ZoomOut, 0, ctrl, shift);
    case Qt::Key_End:
        return AloneOnly(Cmd::SelectLast, ctrl, shift);
    case Qt::Key_Home:
        return AloneOnly(Cmd::SelectFirst, ctrl, shift);
    case Qt::Key_Left:
        return WalkOrView(1, Cmd::SelectPrev, Cmd::ScrollHorz, -kScrollStep, ctrl, shift);
    case Qt::Key_Up:
        return WalkOrView(1, Cmd::SelectPrev, Cmd::ScrollVert, -kScrollStep, ctrl, shift);
    case Qt::Key_Right:
        return WalkOrView(1, Cmd::SelectNext, Cmd::ScrollHorz, kScrollStep, ctrl, shift);
    case Qt::Key_Down:
        return WalkOrView(1, Cmd::SelectNext, Cmd::ScrollVert, kScrollStep, ctrl, shift);
    case Qt::Key_Insert:
        return AloneOnly(Cmd::TakeColor, ctrl, shift);
    default:
        return {};
    }
}

int GetPrevRow(int focused, int step)
{
    return focused < 1 ? -1 : std::max(focused - step, 0);
}

int GetNextRow(int focused, int count, int step)
{
    return focused < 0 || focused >= count - 1 ? -1 : std::min(focused + step, count - 1);
}
