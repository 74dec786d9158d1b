#include "PlayerDatabase.h"

#include "SqlSupport.h"
#include "Transaction.h"

#include <QFile>
#include <QSqlError>

#include <atomic>

namespace tessaly {

namespace {

QString uniqueConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tessaly-create-%1").arg(++counter);
}

// Applies the schema on a new connection to path. Scoped so that the connection's last
// handle is gone before it is removed.
bool applySchema(const QString& connectionName, const QString& path, QString* error) {
    const QStringList statements = schemaStatements();
    if (statements.isEmpty()) {
        setError(error, QStringLiteral("the embedded schema is missing"));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        setError(error, describeSqlError(db.lastError()));
        return false;
    }
    Transaction transaction(db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    // The driver runs one statement per call.
    for (const QString& statement : statements) {
        if (!execStatement(db, statement, error))
            return false;
    }
    return transaction.commit(error);
}

} // namespace

QStringList schemaStatements() {
    QFile file(QStringLiteral(":/tessaly/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Comments sit on lines of their own and every statement ends with ';' at the end of a
    // line, so the file splits without parsing SQL.
    QStringList statements;
    QString current;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QStringLiteral("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    return statements;
}

bool createPlayerDatabase(const QString& path, QString* error) {
    // Creating the file exclusively first means an existing one is never touched, even if it
    // appears between a check and the open.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        setError(error, QFile::exists(path)
                            ? QStringLiteral("%1 already exists; it is not overwritten").arg(path)
                            : QStringLiteral("cannot create %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.close(); // an empty file is an empty SQLite database

    const QString connectionName = uniqueConnectionName();
    const bool applied = applySchema(connectionName, path, error);
    QSqlDatabase::removeDatabase(connectionName);
    if (!applied)
        QFile::remove(path); // ours, and half-made
    return applied;
}

} // namespace tessaly
