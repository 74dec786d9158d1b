#include "ArchiveFile.h"

#include "DataModule.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <atomic>

namespace tessaly {

FileConnection::FileConnection(const QString& path, Access access) {
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("tessaly-archive-%1").arg(++counter);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    m_db.setDatabaseName(access == Access::ReadOnly ? openReadOnlyUri(path)
                                                    : openExistingUri(path));
    m_db.open();
}

FileConnection::~FileConnection() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QStringList columnsOf(const QSqlDatabase& db, const QString& table, const QString& schema) {
    QSqlQuery query(db);
    QStringList columns;
    if (!query.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, table)))
        return columns;
    while (query.next())
        columns.append(query.value(1).toString());
    return columns;
}

bool sameFile(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

QString databaseFile(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA database_list")))
        return {};
    while (query.next())
        if (query.value(1).toString() == QLatin1String("main"))
            return query.value(2).toString();
    return {};
}

} // namespace tessaly
