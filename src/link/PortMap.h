#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <future>

namespace tessaly {

// What "COM1" .. "COM20" mean on this machine. TESSALY_COM<n> names the device of COM n
// explicitly (the demo run and the end-to-end tests point a COM number at the simulated
// player this way); else the network target stored for COM n on this machine (see
// NetworkPortSettings.h) stands behind it; otherwise COM n stands for the n-th serial device
// present, USB adapters first, then ACM adapters, then built-in ports, each group in numeric
// order.
class PortMap {
public:
    static constexpr int FirstCom = 1;
    static constexpr int LastCom = 20;

    PortMap() = default;
    PortMap(QMap<int, QString> explicitDevices, QStringList presentDevices);

    // Reads the environment now. The serial devices present are listed when a device is first
    // asked for, usually when a port is opened: walking the system's device tree takes longer
    // than building the whole main window, and the window does not need it to show.
    static PortMap fromSystem();

    // The device or network URL of COM `com`; empty when it stands for none. The stored network
    // targets are read at each call, so that one just set is used at once. Copies share one
    // listing of the present devices, made by the first call that needs it.
    QString deviceFor(int com) const;

    // Sorts device paths into the documented order.
    static QStringList orderedDevices(QStringList devices);

private:
    PortMap(std::shared_future<QStringList> presentDevices, QMap<int, QString> explicitDevices);

    QMap<int, QString> m_explicit;
    std::shared_future<QStringList> m_present; // in the documented order
};

} // namespace tessaly
