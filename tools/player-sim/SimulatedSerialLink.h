#pragma once

#include "Clock.h"
#include "PlayerSimulator.h"
#include "SerialLink.h"

namespace tessaly {

// The serial port with a simulated player at its far end, for tests in virtual time. The
// player stays attached across close and open, as a real device on its cable would; what it
// sent while the port was closed is lost. Bytes reach the player only once the line is set to
// 9600 bit/s 8N1, as they would on a real line.
class SimulatedSerialLink final : public SerialLink {
public:
    explicit SimulatedSerialLink(const Clock& clock, PlayerOptions options = {},
                                 int playerPort = 1);

    int open(int port) override;
    int ioctl(int port, int baudCode, int modeCode) override;
    int read(int port, quint8* buffer, int maximum) override;
    int write(int port, const quint8* buffer, int length) override;
    int close(int port) override;

    PlayerSimulator& player() { return m_player; }
    const PlayerSimulator& player() const { return m_player; }

    // Faults of the PC side: the port cannot be opened, its line cannot be set, or writes fail
    // (the adapter was pulled out).
    void setOpenFails(bool fails) { m_openFails = fails; }
    void setIoctlFails(bool fails) { m_ioctlFails = fails; }
    void setWriteFails(bool fails) { m_writeFails = fails; }
    // A serial device server that dropped the connection: the open port carries nothing more
    // until it is opened again, and `cause` tells why.
    void dropConnection(QString cause) { m_dropCause = std::move(cause); }

    int readiness(int port) override {
        return isOurOpenPort(port) && !m_dropCause.isEmpty() ? SystemError : 0;
    }
    QString failureCause(int /*port*/) override { return m_dropCause; }

    bool isOpen() const { return m_open; }
    int openCount() const { return m_openCount; }
    int closeCount() const { return m_closeCount; }
    // Successful writes, and the bytes they carried (whether or not the line was set).
    int writeCount() const { return m_writeCount; }
    int bytesWritten() const { return m_bytesWritten; }

private:
    bool isOurOpenPort(int port) const { return m_open && port == m_playerPort; }

    const Clock& m_clock;
    PlayerSimulator m_player;
    const int m_playerPort;
    bool m_open = false;
    bool m_lineSet = false;
    bool m_openFails = false;
    bool m_ioctlFails = false;
    bool m_writeFails = false;
    QString m_dropCause;
    int m_openCount = 0;
    int m_closeCount = 0;
    int m_writeCount = 0;
    int m_bytesWritten = 0;
};

} // namespace tessaly
