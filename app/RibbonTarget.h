#pragma once

#include <QStringList>

#include "app/CommandState.h"

// What the ribbon's commands read and act on. The main frame provides it:
// it owns the recent items and the view with the list.
class IRibbonTarget {
public:
    virtual CommandState GetCommandState() const = 0;
    // Queues the command to the frame's routing: it runs after the ribbon's
    // call has returned.
    virtual void PostCommand(int id) = 0;
    virtual QStringList GetRecentItems() const = 0;
    virtual void ClearRecentItems() = 0;
    virtual void AddFiles(const QStringList& paths) = 0;
    virtual void SetThumbSize(int mode) = 0;
    virtual void ShowColumn(int column, bool show) = 0;
    virtual void SetRibbonHeight(int height) = 0;

protected:
    ~IRibbonTarget() = default;
};
