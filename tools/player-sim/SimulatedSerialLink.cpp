#include "SimulatedSerialLink.h"

#include <cstring>

namespace tessaly {

namespace {
constexpr int Failed = -1;
}

SimulatedSerialLink::SimulatedSerialLink(const Clock& clock, PlayerOptions options, int playerPort)
    : m_clock(clock), m_player(options), m_playerPort(playerPort) {}

// A second open of the same port fails, as it does for a port already in use.
int SimulatedSerialLink::open(int port) {
    if (m_openFails || port != m_playerPort || m_open)
        return Failed;
    m_open = true;
    m_lineSet = false;
    m_dropCause.clear();
    ++m_openCount;
    return 0;
}

int SimulatedSerialLink::ioctl(int port, int baudCode, int modeCode) {
    if (m_ioctlFails || !isOurOpenPort(port))
        return Failed;
    m_lineSet = baudCode == Baud9600 && modeCode == Mode8N1;
    return 0;
}

int SimulatedSerialLink::read(int port, quint8* buffer, int maximum) {
    if (!isOurOpenPort(port))
        return Failed;
    if (!m_dropCause.isEmpty())
        return 0;
    const QByteArray bytes = m_player.takeAvailable(m_clock.nowMs(), maximum);
    std::memcpy(buffer, bytes.constData(), std::size_t(bytes.size()));
    return int(bytes.size());
}

int SimulatedSerialLink::write(int port, const quint8* buffer, int length) {
    if (m_writeFails || !isOurOpenPort(port) || length < 0)
        return Failed;
    if (m_lineSet && m_dropCause.isEmpty())
        m_player.receive({buffer, std::size_t(length)}, m_clock.nowMs());
    ++m_writeCount;
    m_bytesWritten += length;
    return length;
}

int SimulatedSerialLink::close(int port) {
    if (!isOurOpenPort(port))
        return 0;
    m_player.dropOutput();
    m_open = false;
    ++m_closeCount;
    return 0;
}

} // namespace tessaly
