#pragma once

// Commands of the main view: the ribbon posts them to the frame, the keys
// send them, and the frame offers each to the view first.
enum : int {
    ID_ADD_FILES = 32771,
    ID_ADD_FOLDER = 32772,
    ID_DELETE = 32773,
    ID_PREVIEW_ALL = 32774,
    ID_PREVIEW_SELECTED = 32775,
    ID_EXECUTE_ALL = 32776,
    ID_EXECUTE_SELECTED = 32777,
    ID_OPTIONS = 32778,
    ID_REFRESH = 32779,
    ID_OPEN_PREVIEW = 32780,
    ID_STOP = 32781,
    ID_STOP_BUTTON = 1001,  // the status bar's stop button
    ID_EDIT_CLEAR = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_SELECT_ALL = 57642,
};
