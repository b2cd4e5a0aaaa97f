#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a signal on the user-interface thread, so that
// a kill closes the program in order and keeps its settings. One per process.
class CTerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

signals:
    void terminationRequested();

private:
    void OnSignalArrived();

    QSocketNotifier* m_pNotifier = nullptr;
};

// A file-size limit makes a write fail instead of ending the program, so
// that the failure is reported and its temporary file removed.
void IgnoreFileSizeSignal();
