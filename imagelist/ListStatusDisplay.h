#pragma once

#include <QString>

#include "platform/WinTypes.h"

// What the list shows in the main frame's status bar: the job progress with
// its stop button, and the two file counts. The main frame implements it.
class IListStatusDisplay {
public:
    virtual ~IListStatusDisplay() = default;

    virtual void ShowProgress(int total, COLORREF barColor, const QString& caption) = 0;
    virtual void SetPaneProgress(int done) = 0;
    // Turns the progress pane off and hides the stop button.
    virtual void EndProgress() = 0;
    virtual void SetAllFilesCount(int count) = 0;
    virtual void SetSelectedFilesCount(int count) = 0;
};
