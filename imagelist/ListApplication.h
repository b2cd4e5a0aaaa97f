#pragma once

#include <QFont>

// What the list takes from the application object: its shared fonts and the
// debug switch. The application implements it.
class IListApplication {
public:
    virtual ~IListApplication() = default;

    // The font of the rows (the message box's font).
    virtual QFont GetStatusFont() const = 0;
    // The font of the empty list's hint.
    virtual QFont GetBoldFont() const = 0;
    // The profile value "DebugOn" read at start-up is not 0.
    virtual bool IsDebugOn() const = 0;
};
