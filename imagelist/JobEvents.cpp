#include "imagelist/JobEvents.h"

#include <QCoreApplication>

void PostJobEvent(QObject* receiver, QEvent* event)
{
#ifdef FOLIVANE_TSAN_BUILD
    __tsan_release(event);
#endif
    QCoreApplication::postEvent(receiver, event);
}

// Each type number is registered on first use; workers may be the first users.
QEvent::Type CJobProgressEvent::EventType()
{
    static const Type type = static_cast<Type>(registerEventType());
    return type;
}

QEvent::Type CItemProcessedEvent::EventType()
{
    static const Type type = static_cast<Type>(registerEventType());
    return type;
}

QEvent::Type CJobFinishedEvent::EventType()
{
    static const Type type = static_cast<Type>(registerEventType());
    return type;
}

QEvent::Type CThumbReleaseEvent::EventType()
{
    static const Type type = static_cast<Type>(registerEventType());
    return type;
}
