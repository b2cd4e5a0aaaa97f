#pragma once

#include <QAbstractNativeEventFilter>

#include <optional>

// Notes when the window system hands the pointer, away from the program's
// windows, to a grab: a window manager's Alt+drag takes it so, and shows the
// program no button. Only X11 tells of it; elsewhere no grab is ever noted.
class CPointerGrabWatch final : public QAbstractNativeEventFilter {
public:
    CPointerGrabWatch();  // watches the application's events from now on

    // Whether the pointer was taken between two input events' times.
    bool TakenBetween(quint64 from, quint64 to) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::optional<quint32> m_taken;  // the window system's time of the last grab
};
