#include "PtyPlayer.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tessaly {

namespace {
constexpr int ChunkSize = 4096;

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}
} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int UniqueFd::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

PtyPlayer::PtyPlayer(PlayerSimulator& player, QFile* log) : m_player(player), m_log(log) {
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_replyTimer, &QTimer::timeout, this, &PtyPlayer::sendDueReplies);
    m_elapsed.start();
}

PtyPlayer::~PtyPlayer() = default;

bool PtyPlayer::start(QString* error) {
    m_master = UniqueFd(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
    if (!m_master.isValid()) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (grantpt(m_master.get()) != 0 || unlockpt(m_master.get()) != 0) {
        *error = systemError("grantpt/unlockpt");
        return false;
    }
    const char* name = ptsname(m_master.get());
    if (!name) {
        *error = systemError("ptsname");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = UniqueFd(::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK));
    termios settings{};
    if (!m_slave.isValid() || tcgetattr(m_slave.get(), &settings) != 0) {
        *error = systemError("open slave");
        return false;
    }
    // Raw: no echo of the PC's bytes back to it, no line editing of binary frames.
    cfmakeraw(&settings);
    if (tcsetattr(m_slave.get(), TCSANOW, &settings) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    m_readable = std::make_unique<QSocketNotifier>(m_master.get(), QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &PtyPlayer::readFromPc);
    m_writable = std::make_unique<QSocketNotifier>(m_master.get(), QSocketNotifier::Write);
    m_writable->setEnabled(false);
    connect(m_writable.get(), &QSocketNotifier::activated, this, &PtyPlayer::flushUnsent);
    return true;
}

void PtyPlayer::readFromPc() {
    std::array<quint8, ChunkSize> buffer{};
    for (;;) {
        const ssize_t count = ::read(m_master.get(), buffer.data(), buffer.size());
        if (count <= 0)
            break;
        m_player.receive({buffer.data(), std::size_t(count)}, m_elapsed.elapsed());
    }
    logNewFrames();
    sendDueReplies();
}

void PtyPlayer::sendDueReplies() {
    m_unsent.append(m_player.takeAvailable(m_elapsed.elapsed(), ChunkSize));
    flushUnsent();
    scheduleNextReply();
}

// The PC may not read for a while; what the pty cannot take yet waits for it to drain.
void PtyPlayer::flushUnsent() {
    while (!m_unsent.isEmpty()) {
        const ssize_t count = ::write(m_master.get(), m_unsent.constData(), m_unsent.size());
        if (count <= 0)
            break;
        m_unsent.remove(0, count);
    }
    m_writable->setEnabled(!m_unsent.isEmpty());
}

void PtyPlayer::scheduleNextReply() {
    const auto next = m_player.nextOutputAt();
    if (!next) {
        m_replyTimer.stop();
        return;
    }
    m_replyTimer.start(int(std::max<qint64>(0, *next - m_elapsed.elapsed())));
}

// The log is flushed line by line so a test can follow it while the player runs; the frames
// are then forgotten so a long run does not grow.
void PtyPlayer::logNewFrames() {
    for (const ReceivedFrame& frame : m_player.received()) {
        if (!m_log)
            break;
        m_log->write(QByteArray::number(frame.timeMs) + ' ' + frame.bytes.toHex(' ').toUpper() +
                     '\n');
        m_log->flush();
    }
    m_player.clearReceived();
}

} // namespace tessaly
