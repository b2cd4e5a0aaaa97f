#include "imagelist/JobEvents.h"

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
