#pragma once

#include <QString>

namespace tessaly {

// Where the program finds its database when none is named on the command line.
struct DatabaseLocation {
    QString folder;         // the database's folder; empty when there is none to be had
    QString path;           // the database file itself; empty as the folder
    bool laidFresh = false; // first run: a fresh database has just been laid here
    QString error;          // no folder, or laying the fresh database failed: why
};

// A PlayerDB.mdb beside the executable comes first (a portable copy, the build folders).
// Otherwise the one in the user's data folder; on the first run, when it is not there yet, it
// is laid from the template (or, without one, from the built-in schema). A database that is
// found is never replaced, damaged or not: opening it reports what is wrong.
DatabaseLocation locateDatabase(const QString& executableFolder, const QString& userDataFolder,
                                const QString& templatePath);

// The same for the running program: its own folder, the user's data folder
// (~/.local/share/Tessaly) and the template installed beside it (../share/tessaly). Without a
// user data folder (no home folder to be found) and no database beside the program, nothing
// is laid: the folder and path are empty and the error says why.
DatabaseLocation locateDatabase();

// The user's data folder, Tessaly's whatever the running program is called:
// $XDG_DATA_HOME/Tessaly, else ~/.local/share/Tessaly. As the XDG rules have it, a relative
// XDG_DATA_HOME is ignored. The home folder is $HOME when that is an absolute path, else the
// account's own from the user database; where neither names an existing folder other than the
// root, the result is empty and `error` says why, rather than a folder laid at /.local/share.
QString userDataFolder(QString* error = nullptr);

// The same from given values: XDG_DATA_HOME, HOME and the account's home folder.
QString userDataFolder(const QString& xdgDataHome, const QString& home, const QString& accountHome,
                       QString* error = nullptr);

// The notice of the first run, which says where the fresh database is.
QString freshDatabaseNotice(const QString& path);

} // namespace tessaly
