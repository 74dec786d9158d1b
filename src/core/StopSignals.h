#pragma once

#include <QObject>

class QSocketNotifier;

namespace tessaly {

// SIGTERM, SIGINT and SIGHUP as an ordinary event, so that the program ends as on its own exit:
// the running sequence stopped, the port released, the database closed. The handler only
// writes the signal's number into a pipe; a socket notifier reads it on the event loop and
// emits stopRequested there. One object at a time; the default handlers return with its end.
class StopSignals final : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the pipe could not be made: the signals then end the program as by default.
    bool isActive() const { return m_notifier != nullptr; }
    // The first signal that arrived; 0 while none has.
    int received() const { return m_received; }

    // The exit status of a program ended by `signal`, as a shell reports it: 128 + its number.
    static int exitStatus(int signal) { return 128 + signal; }
    // "SIGTERM", "SIGINT", "SIGHUP", ...
    static QString signalName(int signal);

signals:
    // Emitted once for each signal that arrives.
    void stopRequested(int signal);

private:
    void readSignals();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};

} // namespace tessaly
