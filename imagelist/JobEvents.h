#pragma once

#include <QEvent>
#include <QImage>
#include <QObject>

#if defined(__SANITIZE_THREAD__)
#define FOLIVANE_TSAN_BUILD 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define FOLIVANE_TSAN_BUILD 1
#endif
#endif
#ifdef FOLIVANE_TSAN_BUILD
#include <sanitizer/tsan_interface.h>
#endif

// Events that the job's threads post to the list. Posted events reach the
// user-interface thread in posting order, so every progress and item event of
// a job is handled before the event that ends it.

// Posts a job event to the list from any thread. Qt's queue hands the event
// over under a lock of its own that ThreadSanitizer cannot see; the hand-over
// is marked for it here and in MarkJobEventDelivered (nothing in other builds).
void PostJobEvent(QObject* receiver, QEvent* event);
// Called by the receiver before anything reads the event.
inline void MarkJobEventDelivered([[maybe_unused]] const QEvent* event)
{
#ifdef FOLIVANE_TSAN_BUILD
    __tsan_acquire(const_cast<QEvent*>(event));
#endif
}

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
