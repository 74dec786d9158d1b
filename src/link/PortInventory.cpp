#include "PortInventory.h"
#include "NetworkTarget.h"
#include "TerminalText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace tessaly {

namespace {

QString usbIdOf(const SerialAdapter& adapter) {
    if (!adapter.vendorId || !adapter.productId)
        return {};
    return QStringLiteral("%1:%2")
        .arg(*adapter.vendorId, 4, 16, QLatin1Char('0'))
        .arg(*adapter.productId, 4, 16, QLatin1Char('0'));
}

} // namespace

QString networkPortText() {
    return QCoreApplication::translate("PortInventory", "网络");
}

QString noDeviceText() {
    return QCoreApplication::translate("PortInventory", "（无设备）");
}

QList<SerialAdapter> systemAdapters() {
    QList<SerialAdapter> adapters;
    for (const auto& info : QSerialPortInfo::availablePorts()) {
        SerialAdapter adapter{
            info.systemLocation(), info.description(), info.manufacturer(), {}, {}};
        if (info.hasVendorIdentifier())
            adapter.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            adapter.productId = info.productIdentifier();
        adapters.append(adapter);
    }
    return adapters;
}

QList<PortEntry> listPorts(const PortMap& portMap, const QList<SerialAdapter>& adapters) {
    QList<PortEntry> entries;
    for (int com = PortMap::FirstCom; com <= PortMap::LastCom; ++com) {
        PortEntry entry{com, portMap.deviceFor(com), {}, {}, {}};
        if (looksLikeNetworkUrl(entry.device)) {
            entry.description = networkPortText();
            entries.append(entry);
            continue;
        }
        // TESSALY_COM<n> may name a link (/dev/serial/by-id/...): the adapter is its target.
        const QString canonical = QFileInfo(entry.device).canonicalFilePath();
        const auto adapter =
            std::find_if(adapters.begin(), adapters.end(), [&](const SerialAdapter& known) {
                return !entry.device.isEmpty() &&
                       (known.device == entry.device || known.device == canonical);
            });
        if (adapter != adapters.end()) {
            entry.description = adapter->description;
            entry.manufacturer = adapter->manufacturer;
            entry.usbId = usbIdOf(*adapter);
        }
        entries.append(entry);
    }
    return entries;
}

QStringList alignedPortLines(const QList<PortEntry>& entries) {
    QList<QStringList> rows;
    for (const auto& entry : entries)
        rows.append({QStringLiteral("COM%1").arg(entry.com),
                     entry.device.isEmpty() ? noDeviceText() : entry.device, entry.description,
                     entry.manufacturer, entry.usbId});
    QList<int> widths(5, 0);
    for (const auto& row : rows)
        for (int column = 0; column < row.size(); ++column)
            widths[column] = qMax(widths[column], terminalWidth(row[column]));

    QStringList lines;
    for (const auto& row : rows) {
        QString line;
        for (int column = 0; column < row.size(); ++column)
            line += paddedToWidth(row[column], widths[column]) + QStringLiteral("  ");
        lines.append(line.trimmed());
    }
    return lines;
}

} // namespace tessaly
