#pragma once

#include "Prompter.h"

#include <QSqlDatabase>
#include <QString>

namespace tessaly {

// Owns the program's one database connection and knows the folder the program runs from.
class DataModule {
public:
    DataModule();
    ~DataModule();

    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    // Opens PlayerDB.mdb beside the running executable. On failure the operator is told to set
    // up the database and the result is false; the caller then ends the program.
    bool ConnectDatabase(Prompter& prompter);
    // The same for the database in appDir instead of the executable's folder.
    bool ConnectDatabase(Prompter& prompter, const QString& appDir);
    // The same for a database file of any name (the command line's --db).
    bool ConnectDatabaseFile(Prompter& prompter, const QString& filePath);

    // The program's folder, with a trailing separator.
    const QString& AppDir() const { return m_appDir; }
    QString databasePath() const;

    QSqlDatabase database() const { return connection(); }
    bool isConnected() const { return m_added && m_db.isOpen(); }
    // Why the last ConnectDatabase failed; the box shows it as its details.
    const QString& errorText() const { return m_error; }

private:
    bool openOrReport(Prompter& prompter);
    bool open();
    QSqlDatabase& connection() const;

    QString m_connectionName;
    // Added on first use: adding it loads the SQLite driver, which the main window does not
    // need before it has been painted.
    mutable QSqlDatabase m_db;
    mutable bool m_added = false;
    QString m_appDir;
    QString m_fileName;
    QString m_error;
};

// The box shown when the database cannot be opened, with why as its details.
MessageBox databaseFailureBox(const QString& cause = {});

// The SQLite URI that opens path read-write and never creates it.
QString openExistingUri(const QString& path);
// The SQLite URI that opens path read-only.
QString openReadOnlyUri(const QString& path);

} // namespace tessaly
