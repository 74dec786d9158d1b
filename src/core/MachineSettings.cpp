#include "MachineSettings.h"

#include <QDir>
#include <QFileInfo>

namespace tessaly {

namespace {

const QString LastFolderKey = QStringLiteral("Files/LastFolder");

} // namespace

// Named in full: the window and tessaly-cli have application names of their own, and both must
// read the one configuration.
QSettings machineSettings() {
#ifdef Q_OS_UNIX
    // As the XDG rules have it, a relative XDG_CONFIG_HOME is ignored: Qt would take it from
    // whatever folder the program was started in.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && !QDir::isAbsolutePath(configHome))
        return QSettings(QDir::home().filePath(QStringLiteral(".config/Tessaly/Tessaly.conf")),
                         QSettings::IniFormat);
#endif
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tessaly"),
                     QStringLiteral("Tessaly"));
}

QString lastFileFolder(const QString& fallback) {
    const QString folder = machineSettings().value(LastFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void rememberFileFolder(const QString& filePath) {
    if (filePath.isEmpty())
        return;
    QSettings settings = machineSettings();
    settings.setValue(LastFolderKey, QFileInfo(filePath).absolutePath());
}

} // namespace tessaly
