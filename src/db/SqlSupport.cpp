#include "SqlSupport.h"

#include <QSqlError>

namespace tessaly {

bool execPrepared(QSqlQuery& query, QString* error) {
    if (query.exec())
        return true;
    setError(error, query.lastError().text());
    return false;
}

bool execStatement(const QSqlDatabase& db, const QString& sql, QString* error) {
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    setError(error, query.lastError().text());
    return false;
}

} // namespace tessaly
