#include "RoutedSerialLink.h"

#include <QCoreApplication>

namespace tessaly {

RoutedSerialLink::RoutedSerialLink(PortMap portMap, int connectMs)
    : m_local(std::move(portMap)),
      m_network([this](int) { return parseNetworkTarget(m_opening); }, connectMs) {}

RoutedSerialLink::Route RoutedSerialLink::routeOf(const QString& device) {
    if (!looksLikeNetworkUrl(device))
        return device.isEmpty() || device.startsWith(u'/') ? Route::Local
                                                           : Route::NeitherPathNorUrl;
    return parseNetworkTarget(device) ? Route::Network : Route::Malformed;
}

SerialLink& RoutedSerialLink::linkOf(int port) {
    const auto found = m_routes.find(port);
    return found != m_routes.end() && found->second == Route::Network
               ? static_cast<SerialLink&>(m_network)
               : m_local;
}

int RoutedSerialLink::open(int port) {
    // The COM number may have moved between a device and a server: the other side lets go.
    close(port);
    m_opening = portMap().deviceFor(port);
    const Route route = routeOf(m_opening);
    if (route == Route::Malformed || route == Route::NeitherPathNorUrl)
        return NoDevice;
    m_routes[port] = route;
    return route == Route::Network ? m_network.open(port) : m_local.open(port);
}

int RoutedSerialLink::ioctl(int port, int baudCode, int modeCode) {
    return linkOf(port).ioctl(port, baudCode, modeCode);
}

int RoutedSerialLink::read(int port, quint8* buffer, int maximum) {
    return linkOf(port).read(port, buffer, maximum);
}

int RoutedSerialLink::write(int port, const quint8* buffer, int length) {
    return linkOf(port).write(port, buffer, length);
}

int RoutedSerialLink::close(int port) {
    m_routes.erase(port);
    m_local.close(port);
    return m_network.close(port);
}

void RoutedSerialLink::purgeInput(int port) {
    linkOf(port).purgeInput(port);
}

int RoutedSerialLink::readiness(int port) {
    return linkOf(port).readiness(port);
}

int RoutedSerialLink::transitAllowanceMs(int port) {
    return linkOf(port).transitAllowanceMs(port);
}

QString RoutedSerialLink::failureCause(int port) {
    if (m_routes.contains(port))
        return linkOf(port).failureCause(port);
    // Not open: where the COM leads now tells why it would not open.
    const QString device = portMap().deviceFor(port);
    switch (routeOf(device)) {
    case Route::Malformed:
        return QCoreApplication::translate(
                   "NetworkSerialLink",
                   "原因：%1 不是有效的网络串口地址，应写作 socket://主机:端口 或 "
                   "rfc2217://主机:端口。")
            .arg(device);
    case Route::NeitherPathNorUrl:
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：COM%1 的设置“%2”既不是设备路径（/dev/…），也不是"
                                           "网络串口地址（socket://主机:端口 或 "
                                           "rfc2217://主机:端口）。")
            .arg(port)
            .arg(device);
    case Route::Network:
        return m_network.failureCause(port);
    case Route::Local:
        break;
    }
    return m_local.failureCause(port);
}

} // namespace tessaly
