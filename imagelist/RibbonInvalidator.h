#pragma once

// Lets the list tell the ribbon that the state of a command may have changed.
class IRibbonInvalidator {
public:
    virtual ~IRibbonInvalidator() = default;

    virtual void InvalidateUICommand(int commandId) = 0;
};
