#pragma once

// The preview window's key table, apart from the widgets: which keys walk the
// image list, zoom or scroll the views, and which go on to the dialog.

enum class PreviewKeyCommand {
    Pass,            // the dialog's own handling (focus moves, buttons)
    ShowMainWindow,  // Tab: the main window comes forward
    SelectFirst,
    SelectLast,
    SelectPrev,  // by amount rows
    SelectNext,
    ZoomIn,  // the views named by left/right
    ZoomOut,
    ScrollHorz,  // by amount pixels
    ScrollVert,
    TakeColor,  // Insert: snapshot of the colour under the mouse
};

struct PreviewKeyAction {
    PreviewKeyCommand command = PreviewKeyCommand::Pass;
    int amount = 0;
    bool left = false;   // Ctrl: the source view
    bool right = false;  // Shift: the adjusted view
};

// The action of a key (a Qt key code) pressed with Ctrl and/or Shift down.
// Every action but Pass consumes the key.
PreviewKeyAction GetPreviewKeyAction(int key, bool ctrl, bool shift);

// The row the previous/next keys go to from the focused row (-1 = none) in a
// list of count rows, or -1 when the key does nothing.
int GetPrevRow(int focused, int step);
int GetNextRow(int focused, int count, int step);
