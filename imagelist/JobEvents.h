#pragma once

#include <QEvent>
#include <QImage>

#include <deque>
#include <memory>
#include <mutex>

// Events that the job's threads send to the list, handled in sending order, so
// that every progress and item event of a job is handled before the event
// that ends it.
//
// They pass through this queue of the list's own rather than through Qt's:
// Qt hands a posted event over under a lock that ThreadSanitizer cannot see,
// and application-wide event filters read the event before its receiver
// could mark the hand-over. The list posts itself one queued call per event
// (made by Qt, so in order with its other posted events), which takes the
// oldest one from here.
class CJobEventQueue {
public:
    // Any thread.
    void Push(std::unique_ptr<QEvent> event);
    // The oldest event, or null.
    std::unique_ptr<QEvent> Take();

private:
    std::mutex m_lock;
    std::deque<std::unique_ptr<QEvent>> m_events;
};

// A worker finished a row: items done so far and the job's total.
class CJobProgressEvent : public QEvent {
public:
    static Type EventType();
    CJobProgressEvent(int done, int total) : QEvent(EventType()), m_nDone(done), m_nTotal(total) {}

    const int m_nDone;
    const int m_nTotal;
};

// A row was processed. The bitmap (null when there is none) belongs to the
// receiver. The job serial tells events of a job stopped since they were
// posted, whose row numbers may no longer hold.
class CItemProcessedEvent : public QEvent {
public:
    static Type EventType();
    CItemProcessedEvent(int row, QImage bitmap, int jobSerial)
        : QEvent(EventType()), m_nRow(row), m_bitmap(std::move(bitmap)), m_nJobSerial(jobSerial)
    {
    }

    const int m_nRow;
    QImage m_bitmap;
    const int m_nJobSerial;
};

// The job thread has ended its job: all its workers are gone.
class CJobFinishedEvent : public QEvent {
public:
    static Type EventType();
    CJobFinishedEvent() : QEvent(EventType()) {}
};

// A thumbnail that a worker replaced. It is released on the user-interface
// thread, which may be drawing it until this event arrives.
class CThumbReleaseEvent : public QEvent {
public:
    static Type EventType();
    explicit CThumbReleaseEvent(QImage* thumb) : QEvent(EventType()), m_pThumb(thumb) {}
    ~CThumbReleaseEvent() override { delete m_pThumb; }
    CThumbReleaseEvent(const CThumbReleaseEvent&) = delete;
    CThumbReleaseEvent& operator=(const CThumbReleaseEvent&) = delete;

private:
    QImage* m_pThumb;
};
