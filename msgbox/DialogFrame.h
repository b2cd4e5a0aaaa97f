#pragma once

#include <Qt>

// The frame of every fixed-size dialog of the program: a title bar with a
// close button only, asked for in full rather than left to the toolkit's
// defaults, so that no minimise or maximise button is asked for a window laid
// out at its template's one size.
inline constexpr Qt::WindowFlags kDialogFrame =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
