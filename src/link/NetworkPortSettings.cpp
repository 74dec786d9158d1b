#include "NetworkPortSettings.h"

#include "MachineSettings.h"
#include "NetworkTarget.h"

#include <QCoreApplication>
#include <QSettings>

namespace tessaly {

namespace {

QString keyOf(int com) {
    return QStringLiteral("NetworkPorts/COM%1").arg(com);
}

QString unwritableText(const QSettings& settings) {
    return QCoreApplication::translate("NetworkPorts", "无法写入本机设置 %1")
        .arg(settings.fileName());
}

// Writes `value`; an empty one removes the entry.
bool writeTarget(int com, const QString& value, QString* error) {
    QSettings settings = machineSettings();
    if (value.isEmpty())
        settings.remove(keyOf(com));
    else
        settings.setValue(keyOf(com), value);
    settings.sync();
    // A file that was malformed when read (a FormatError) is written anew all the same: what
    // counts is that the value now reads back.
    if (settings.status() != QSettings::AccessError && storedNetworkTarget(com) == value)
        return true;
    if (error)
        *error = unwritableText(settings);
    return false;
}

} // namespace

QString storedNetworkTarget(int com) {
    return machineSettings().value(keyOf(com)).toString();
}

bool storeNetworkTarget(int com, const NetworkTarget& target, QString* error) {
    return writeTarget(com, target.url(), error);
}

bool clearNetworkTarget(int com, QString* error) {
    return writeTarget(com, {}, error);
}

} // namespace tessaly
