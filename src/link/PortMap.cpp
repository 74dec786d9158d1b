#include "PortMap.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QtGlobal>

#include <algorithm>

namespace tessaly {

namespace {

int groupOf(const QString& device) {
    const QString name = QFileInfo(device).fileName();
    if (name.startsWith(QLatin1String("ttyUSB")))
        return 0;
    if (name.startsWith(QLatin1String("ttyACM")))
        return 1;
    return 2;
}

// "ttyUSB10" sorts after "ttyUSB2": the trailing number is compared as a number.
std::pair<QString, qlonglong> naturalKey(const QString& device) {
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d+)$"));
    const auto match = trailingNumber.match(device);
    if (!match.hasMatch())
        return {device, -1};
    return {match.captured(1), match.captured(2).toLongLong()};
}

QStringList presentSerialDevices() {
    QStringList devices;
    for (const auto& info : QSerialPortInfo::availablePorts())
        devices.append(info.systemLocation());
    return devices;
}

} // namespace

PortMap::PortMap(QMap<int, QString> explicitDevices, QStringList presentDevices)
    : m_explicit(std::move(explicitDevices)), m_present(orderedDevices(std::move(presentDevices))) {
}

PortMap PortMap::fromSystem() {
    QMap<int, QString> explicitDevices;
    for (int com = FirstCom; com <= LastCom; ++com) {
        const QString device =
            qEnvironmentVariable(qPrintable(QStringLiteral("TESSALY_COM%1").arg(com)));
        if (!device.isEmpty())
            explicitDevices.insert(com, device);
    }
    return PortMap(explicitDevices, presentSerialDevices());
}

QString PortMap::deviceFor(int com) const {
    if (const auto found = m_explicit.constFind(com); found != m_explicit.constEnd())
        return *found;
    if (com < FirstCom || com > LastCom || com > m_present.size())
        return {};
    return m_present.at(com - FirstCom);
}

QStringList PortMap::orderedDevices(QStringList devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
        return std::pair(groupOf(a), naturalKey(a)) < std::pair(groupOf(b), naturalKey(b));
    });
    return devices;
}

} // namespace tessaly
