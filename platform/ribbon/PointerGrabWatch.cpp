#include "platform/ribbon/PointerGrabWatch.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

namespace {

// The X clock counts milliseconds in 32 bits and wraps: times compare within
// half its range, as the protocol has them compared.
bool NotBefore(quint32 time, quint32 other)
{
    return static_cast<qint32>(time - other) >= 0;
}

}  // namespace

CPointerGrabWatch::CPointerGrabWatch()
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

// Timed, not merely flagged: the window system's events may reach this filter
// before the key events read with them reach the widgets.
bool CPointerGrabWatch::TakenBetween(quint64 from, quint64 to) const
{
    return m_taken && NotBefore(*m_taken, static_cast<quint32>(from)) && NotBefore(static_cast<quint32>(to), *m_taken);
}

bool CPointerGrabWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    // An event another client sent carries the top bit, and is not the server's word.
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (event->response_type == XCB_LEAVE_NOTIFY) {
        const auto* leave = static_cast<const xcb_leave_notify_event_t*>(message);
        if (leave->mode == XCB_NOTIFY_MODE_GRAB)
            m_taken = leave->time;
    }
    return false;
}
