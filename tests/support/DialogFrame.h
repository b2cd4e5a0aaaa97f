#pragma once

#include <QWidget>

// A fixed-size dialog's frame: a title bar with a close button only, asked
// for explicitly, so that no window manager adds a minimise, maximise or help
// button of its own.
inline bool HasCloseButtonOnly(const QWidget& window)
{
    const Qt::WindowFlags flags = window.windowFlags();
    return window.windowType() == Qt::Dialog &&
           flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) &&
           !(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint));
}
