#include "RoutedSerialLink.h"

#include <QCoreApplication>

namespace tessaly {

RoutedSerialLink::RoutedSerialLink(PortMap portMap, int connectMs)
    : m_local(portMap),
      m_network([portMap](int com) { return parseNetworkTarget(portMap.deviceFor(com)); },
                connectMs) {}

RoutedSerialLink::Route RoutedSerialLink::routeOf(int port) const {
    const QString device = portMap().deviceFor(port);
    if (!looksLikeNetworkUrl(device))
        return device.isEmpty() || device.startsWith(u'/') ? Route::Local
                                                           : Route::NeitherPathNorUrl;
    return parseNetworkTarget(device) ? Route::Network : Route::Malformed;
}

SerialLink& RoutedSerialLink::linkOf(int port) {
    return routeOf(port) == Route::Local ? static_cast<SerialLink&>(m_local) : m_network;
}

int RoutedSerialLink::open(int port) {
    // The COM number may have moved between a device and a server: the other side lets go.
    m_local.close(port);
    m_network.close(port);
    const Route route = routeOf(port);
    return route == Route::Malformed || route == Route::NeitherPathNorUrl ? NoDevice
                                                                          : linkOf(port).open(port);
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
    m_local.close(port);
    return m_network.close(port);
}

void RoutedSerialLink::purgeInput(int port) {
    linkOf(port).purgeInput(port);
}

QString RoutedSerialLink::failureCause(int port) {
    if (routeOf(port) == Route::NeitherPathNorUrl)
        return QCoreApplication::translate("NetworkSerialLink",
                                           "原因：COM%1 的设置“%2”既不是设备路径（/dev/…），也不是"
                                           "网络串口地址（socket://主机:端口 或 "
                                           "rfc2217://主机:端口）。")
            .arg(port)
            .arg(portMap().deviceFor(port));
    if (routeOf(port) == Route::Malformed)
        return QCoreApplication::translate(
                   "NetworkSerialLink",
                   "原因：%1 不是有效的网络串口地址，应写作 socket://主机:端口 或 "
                   "rfc2217://主机:端口。")
            .arg(portMap().deviceFor(port));
    return linkOf(port).failureCause(port);
}

} // namespace tessaly
