#pragma once

#include "PortMap.h"
#include "SerialLink.h"

#include <QMap>

namespace tessaly {

// The serial link over the operating system's devices (real ports and pseudo-terminals
// alike), found through the port map. Every call returns at once. An open port is locked
// (flock) and in exclusive mode: a second open, from this process or another, gets PortBusy.
// The lock is the link's from its first open of a port until the link goes: the probe closes
// and reopens the port, and another program must not take it in between.
class PosixSerialLink final : public SerialLink {
public:
    explicit PosixSerialLink(PortMap portMap);
    ~PosixSerialLink() override;

    PosixSerialLink(const PosixSerialLink&) = delete;
    PosixSerialLink& operator=(const PosixSerialLink&) = delete;

    int open(int port) override;
    int ioctl(int port, int baudCode, int modeCode) override;
    int read(int port, quint8* buffer, int maximum) override;
    int write(int port, const quint8* buffer, int length) override;
    int close(int port) override;
    // What the system tells of a port that is not open; nothing for an open one.
    QString failureCause(int port) override;

    const PortMap& portMap() const { return m_portMap; }

private:
    int descriptorOf(int port) const;
    int claim(int port, int descriptor);
    static void release(int descriptor);

    PortMap m_portMap;
    QMap<int, int> m_open;   // COM number -> file descriptor
    QMap<int, int> m_claims; // COM number -> descriptor that holds the port's lock
};

} // namespace tessaly
