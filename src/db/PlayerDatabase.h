#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// The database file the program opens from its own folder.
inline QString databaseFileName() {
    return QStringLiteral("PlayerDB.mdb");
}

// The statements of the embedded schema, in order, one per entry.
QStringList schemaStatements();

// Writes a fresh database with the schema and its settings row at path. Refuses a path that
// already exists, so an operator's data is never overwritten. Besides the build tool and the
// tests, only the first run of an installed program lays one (see DatabaseLocation.h).
bool createPlayerDatabase(const QString& path, QString* error);

} // namespace tessaly
