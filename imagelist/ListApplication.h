#pragma once

#include <QByteArray>
#include <QFont>

// What the list takes from the application object: its shared fonts, the
// debug switch and the stored column layout. The application implements it.
class IListApplication {
public:
    virtual ~IListApplication() = default;

    // The font of the rows (the message box's font).
    virtual QFont GetStatusFont() const = 0;
    // The font of the empty list's hint.
    virtual QFont GetBoldFont() const = 0;
    // The profile value "DebugOn" read at start-up is not 0.
    virtual bool IsDebugOn() const = 0;
    // Fills the stream with the stored column layout; false when none is stored.
    virtual bool LoadColumnInfo(QByteArray& stream) = 0;
};
