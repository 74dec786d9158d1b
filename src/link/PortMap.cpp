#include "PortMap.h"
#include "NetworkPortSettings.h"

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

std::shared_future<QStringList> ready(QStringList devices) {
    std::promise<QStringList> list;
    list.set_value(std::move(devices));
    return list.get_future().share();
}

} // namespace

PortMap::PortMap(QMap<int, QString> explicitDevices, QStringList presentDevices)
    : PortMap(ready(orderedDevices(std::move(presentDevices))), std::move(explicitDevices)) {}

PortMap::PortMap(std::shared_future<QStringList> presentDevices, QMap<int, QString> explicitDevices)
    : m_explicit(std::move(explicitDevices)), m_present(std::move(presentDevices)) {}

PortMap PortMap::fromSystem() {
    QMap<int, QString> explicitDevices;
    for (int com = FirstCom; com <= LastCom; ++com) {
        const QString device =
            qEnvironmentVariable(qPrintable(QStringLiteral("TESSALY_COM%1").arg(com)));
        if (!device.isEmpty())
            explicitDevices.insert(com, device);
    }
    auto present =
        std::async(std::launch::deferred, [] { return orderedDevices(presentSerialDevices()); });
    return PortMap(present.share(), explicitDevices);
}

QString PortMap::deviceFor(int com) const {
    if (const auto found = m_explicit.constFind(com); found != m_explicit.constEnd())
        return *found;
    if (com < FirstCom || com > LastCom)
        return {};
    if (const QString target = storedNetworkTarget(com); !target.isEmpty())
        return target;
    if (!m_present.valid())
        return {};
    const QStringList& present = m_present.get();
    return com > present.size() ? QString() : present.at(com - FirstCom);
}

QStringList PortMap::orderedDevices(QStringList devices) {
    std::stable_sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
        return std::pair(groupOf(a), naturalKey(a)) < std::pair(groupOf(b), naturalKey(b));
    });
    return devices;
}

} // namespace tessaly
