#pragma once

#include "PlayerSimulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

class QFile;

namespace tessaly {

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release();

private:
    int m_fd = -1;
};

// Serves a PlayerSimulator on the master side of a pseudo-terminal, so a PC program can talk
// to it through the slave device as if it were a serial port. Everything runs on the event
// loop: a notifier for what the PC writes, a single-shot timer for the next reply byte.
class PtyPlayer : public QObject {
    Q_OBJECT
public:
    // `log`, when given, gets one line per received frame: milliseconds since start and hex.
    PtyPlayer(PlayerSimulator& player, QFile* log);
    ~PtyPlayer() override;

    // Opens the pseudo-terminal; false with `error` set when that fails.
    bool start(QString* error);
    QString slavePath() const { return m_slavePath; }

private:
    void readFromPc();
    void sendDueReplies();
    void flushUnsent();
    void scheduleNextReply();
    void logNewFrames();

    PlayerSimulator& m_player;
    QFile* m_log;
    QElapsedTimer m_elapsed;
    UniqueFd m_master;
    // Held open for the whole run: without it the PC closing its end would hang the line up.
    UniqueFd m_slave;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
    QTimer m_replyTimer;
    QByteArray m_unsent;
};

} // namespace tessaly
