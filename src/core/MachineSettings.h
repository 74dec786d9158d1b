#pragma once

#include <QSettings>
#include <QString>

namespace tessaly {

// What this machine's user keeps apart from PlayerDB.mdb (network ports, the folder of the last
// file): the user's configuration, organisation and application "Tessaly".
QSettings machineSettings();

// The folder of the last file chosen in a file dialog (export, import, timetable), or
// `fallback` when none was chosen yet or it is gone.
QString lastFileFolder(const QString& fallback);
// Remembers the folder of `filePath` for the next file dialog.
void rememberFileFolder(const QString& filePath);

} // namespace tessaly
