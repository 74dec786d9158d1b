#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace tessaly {

// Small helpers shared by the stores: run a statement and hand its failure back as text.

inline void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

// Why a statement failed, for the operator: what SQLite's result code means where it names a
// cause the operator can act on (a lock, a file that is no database), then the driver's text.
QString describeSqlError(const QSqlError& error);
// The same, naming `databasePath` where the cause lies in the file (read-only, full, unreadable).
QString describeSqlError(const QSqlError& error, const QString& databasePath);

// Runs a prepared query; on failure (also of its preparation) the described error goes to error.
bool execPrepared(QSqlQuery& query, QString* error);

// Runs one statement that takes no values.
bool execStatement(const QSqlDatabase& db, const QString& sql, QString* error);

} // namespace tessaly
