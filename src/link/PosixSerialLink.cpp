#include "PosixSerialLink.h"

#include "PortDiagnosis.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tessaly {

PosixSerialLink::PosixSerialLink(PortMap portMap) : m_portMap(std::move(portMap)) {}

PosixSerialLink::~PosixSerialLink() {
    for (const int descriptor : std::as_const(m_open))
        release(descriptor);
    for (const int claim : std::as_const(m_claims))
        ::close(claim);
}

// A pseudo-terminal keeps its exclusive mode after the last close while its other side stays
// open, so the mode is left before the descriptor goes; the lock goes with the descriptor.
void PosixSerialLink::release(int descriptor) {
    ::ioctl(descriptor, TIOCNXCL);
    ::close(descriptor);
}

int PosixSerialLink::descriptorOf(int port) const {
    return m_open.value(port, -1);
}

int PosixSerialLink::open(int port) {
    close(port);
    const QString device = m_portMap.deviceFor(port);
    if (device.isEmpty())
        return NoDevice;
    const int descriptor =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == EBUSY ? PortBusy : SystemError; // EBUSY: held in exclusive mode
    if (!::isatty(descriptor)) {
        ::close(descriptor);
        return NoDevice;
    }
    // Two programs on one port read each other's answers: a clear answered to one leaves the
    // other waiting while its player is emptied. The lock keeps other links and other copies of
    // this program out; exclusive mode also keeps out programs that do not lock.
    if (!m_claims.contains(port)) {
        const int claimed = claim(port, descriptor);
        if (claimed != 0) {
            ::close(descriptor);
            return claimed;
        }
    }
    ::ioctl(descriptor, TIOCEXCL);
    // A freshly opened port starts with empty input, as the settings test and the start-up
    // check expect: they read their answer without discarding first.
    ::tcflush(descriptor, TCIFLUSH);
    m_open.insert(port, descriptor);
    return 0;
}

// Locks the port and keeps a second descriptor of the locked open file: the lock lasts while
// one of them is open, so closing the port leaves it claimed for this link's reopen.
int PosixSerialLink::claim(int port, int descriptor) {
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? PortBusy : SystemError;
    const int held = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (held < 0)
        return SystemError;
    m_claims.insert(port, held);
    return 0;
}

int PosixSerialLink::ioctl(int port, int baudCode, int modeCode) {
    const int descriptor = descriptorOf(port);
    if (descriptor < 0)
        return NotOpen;
    if (baudCode != Baud9600 || modeCode != Mode8N1)
        return UnsupportedSetting;
    termios settings{};
    if (::tcgetattr(descriptor, &settings) != 0)
        return SystemError;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return ::tcsetattr(descriptor, TCSANOW, &settings) == 0 ? 0 : SystemError;
}

int PosixSerialLink::read(int port, quint8* buffer, int maximum) {
    const int descriptor = descriptorOf(port);
    if (descriptor < 0)
        return NotOpen;
    if (maximum <= 0)
        return 0;
    const ssize_t count = ::read(descriptor, buffer, size_t(maximum));
    if (count >= 0)
        return int(count);
    return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : SystemError;
}

int PosixSerialLink::write(int port, const quint8* buffer, int length) {
    const int descriptor = descriptorOf(port);
    if (descriptor < 0)
        return NotOpen;
    const ssize_t count = ::write(descriptor, buffer, size_t(qMax(0, length)));
    return count >= 0 ? int(count) : SystemError;
}

int PosixSerialLink::close(int port) {
    if (m_open.contains(port))
        release(m_open.take(port));
    return 0;
}

QString PosixSerialLink::failureCause(int port) {
    // An open port is locked by this link: trying it again would find it busy.
    return m_open.contains(port) ? QString() : diagnosePort(m_portMap.deviceFor(port));
}

} // namespace tessaly
