#pragma once

#include "PortMap.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaly {

// What the system knows of one serial device (QSerialPortInfo).
struct SerialAdapter {
    QString device; // "/dev/ttyUSB0"
    QString description;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
};

// One line of the port list: a COM number, its device, and the adapter behind it where known.
struct PortEntry {
    int com = 0;
    QString device;      // empty: the COM number stands for no device
    QString description; // "网络" for a network target
    QString manufacturer;
    QString usbId; // "0403:6001"; empty when not a USB adapter
};

// The serial devices of this machine as QSerialPortInfo sees them.
QList<SerialAdapter> systemAdapters();

// COM1 .. COM20 with their devices (or network targets) and adapters, as the settings panel and
// `tessaly-cli ports` list them.
QList<PortEntry> listPorts(const PortMap& portMap, const QList<SerialAdapter>& adapters);

// The entries as text columns (COM, device, description, maker, VID:PID), each padded to the
// widest of its column; a wide character counts as two places, as a terminal shows it.
QStringList alignedPortLines(const QList<PortEntry>& entries);

// The text shown for a COM number without a device.
QString noDeviceText();
// The description shown beside a network target.
QString networkPortText();

} // namespace tessaly
