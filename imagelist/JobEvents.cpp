#include "imagelist/JobEvents.h"

void CJobEventQueue::Push(std::unique_ptr<QEvent> event)
{
    std::lock_guard lock(m_lock);
    m_events.push_back(std::move(event));
}

std::unique_ptr<QEvent> CJobEventQueue::Take()
{
    std::lock_guard lock(m_lock);
    if (m_events.empty()) {
        return nullptr;
    }
    std::unique_ptr<QEvent> event = std::move(m_events.front());
    m_events.pop_front();
    return event;
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
