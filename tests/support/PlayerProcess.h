#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tessaly::testing {

// tessaly-player-sim on a real pseudo-terminal, stopped by its process id at the end.
// `executable` is the simulator's path (the tests get it from CMake).
class PlayerProcess {
public:
    PlayerProcess(const QString& executable, const QStringList& arguments) {
        m_process.start(executable, arguments);
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~PlayerProcess() { stop(); }

    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    // The pseudo-terminal the player serves; empty when it did not start.
    QString device() const { return m_device; }

    // Ends the player; it writes its --state file on the way out.
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }

private:
    QProcess m_process;
    QString m_device;
};

} // namespace tessaly::testing
