#pragma once

#include <QString>

namespace tessaly {

// Where the program finds its database when none is named on the command line.
struct DatabaseLocation {
    QString folder;         // the database's folder
    QString path;           // the database file itself
    bool laidFresh = false; // first run: a fresh database has just been laid here
    QString error;          // laying the fresh database failed: why
};

// A PlayerDB.mdb beside the executable comes first (a portable copy, the build folders).
// Otherwise the one in the user's data folder; on the first run, when it is not there yet, it
// is laid from the template (or, without one, from the built-in schema). A database that is
// found is never replaced, damaged or not: opening it reports what is wrong.
DatabaseLocation locateDatabase(const QString& executableFolder, const QString& userDataFolder,
                                const QString& templatePath);

// The same for the running program: its own folder, the user's data folder
// (~/.local/share/Tessaly) and the template installed beside it (../share/tessaly).
DatabaseLocation locateDatabase();

// The user's data folder: the application data location of an application named Tessaly with
// no organisation, whatever the running program is called.
QString userDataFolder();

// The notice of the first run, which says where the fresh database is.
QString freshDatabaseNotice(const QString& path);

} // namespace tessaly
