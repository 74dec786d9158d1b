#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace tessaly {

// Small helpers shared by the stores: run a statement and hand its failure back as text.

inline void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

// Runs a prepared query; on failure the driver's message goes to error.
bool execPrepared(QSqlQuery& query, QString* error);

// Runs one statement that takes no values.
bool execStatement(const QSqlDatabase& db, const QString& sql, QString* error);

} // namespace tessaly
