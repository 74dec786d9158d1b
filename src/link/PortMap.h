#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace tessaly {

// What "COM1" .. "COM20" mean on this machine. TESSALY_COM<n> names the device of COM n
// explicitly (the demo run and the end-to-end tests point a COM number at the simulated
// player this way); otherwise COM n stands for the n-th serial device present, USB adapters
// first, then ACM adapters, then built-in ports, each group in numeric order.
class PortMap {
public:
    static constexpr int FirstCom = 1;
    static constexpr int LastCom = 20;

    PortMap() = default;
    PortMap(QMap<int, QString> explicitDevices, QStringList presentDevices);

    // Reads the environment and the serial devices present now.
    static PortMap fromSystem();

    // The device of COM `com`; empty when it stands for none.
    QString deviceFor(int com) const;

    // Sorts device paths into the documented order.
    static QStringList orderedDevices(QStringList devices);

private:
    QMap<int, QString> m_explicit;
    QStringList m_present;
};

} // namespace tessaly
