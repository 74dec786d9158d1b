#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace tessaly::testing {

// Points this process's machine settings (the user's QSettings) at a fresh temporary folder
// while it lives: the test starts from none and leaves the user's own untouched.
class FreshMachineSettings {
public:
    FreshMachineSettings() { pointAt(m_folder.path()); }
    ~FreshMachineSettings() { pointAt(m_folder.path() + QStringLiteral("/gone")); }

    FreshMachineSettings(const FreshMachineSettings&) = delete;
    FreshMachineSettings& operator=(const FreshMachineSettings&) = delete;

    QString folder() const { return m_folder.path(); }
    // Where the window and tessaly-cli keep them under this folder.
    QString file() const { return m_folder.filePath(QStringLiteral("Tessaly/Tessaly.conf")); }

    static void pointAt(const QString& folder) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    }

private:
    QTemporaryDir m_folder;
};

} // namespace tessaly::testing
