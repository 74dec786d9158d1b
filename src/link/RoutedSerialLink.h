#pragma once

#include "NetworkSerialLink.h"
#include "PortMap.h"
#include "PosixSerialLink.h"

#include <map>

namespace tessaly {

// The serial link of this machine: each COM number goes where the port map points it, to a
// serial device server when it names a network URL, to a local device when it is a device's
// path. A URL that is malformed, and an entry that is neither (a hand-edited "ttyS0"), open
// nothing: they are refused, not tried as file names.
//
// Where a COM goes is decided when it is opened and kept until it is closed: pointing the COM
// elsewhere meanwhile never changes a running sequence, and no call but open reads the
// machine's settings.
class RoutedSerialLink final : public SerialLink {
public:
    explicit RoutedSerialLink(PortMap portMap, int connectMs = NetworkSerialLink::DefaultConnectMs);

    int open(int port) override;
    int ioctl(int port, int baudCode, int modeCode) override;
    int read(int port, quint8* buffer, int maximum) override;
    int write(int port, const quint8* buffer, int length) override;
    int close(int port) override;
    void purgeInput(int port) override;
    QString failureCause(int port) override;
    int readiness(int port) override;
    int transitAllowanceMs(int port) override;

    const PortMap& portMap() const { return m_local.portMap(); }

private:
    enum class Route { Local, Network, Malformed, NeitherPathNorUrl };
    static Route routeOf(const QString& device);
    // The link that COM `port` was opened on; the local one (which finds it closed) otherwise.
    SerialLink& linkOf(int port);

    PosixSerialLink m_local;
    NetworkSerialLink m_network;
    std::map<int, Route> m_routes;
    QString m_opening; // the device of the COM being opened, for the network link's lookup
};

} // namespace tessaly
