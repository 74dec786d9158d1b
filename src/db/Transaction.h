#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tessaly {

// One all-or-nothing change on a connection: commit() keeps it, anything else rolls it back
// when the object goes out of scope. Built on a savepoint, so a store operation that guards
// itself still works inside a caller's larger transaction.
class Transaction {
public:
    explicit Transaction(const QSqlDatabase& db);
    ~Transaction();

    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // False when the transaction could not be started; errorText() says why.
    bool isActive() const { return m_active; }
    const QString& errorText() const { return m_error; }

    bool commit(QString* error = nullptr);

private:
    QSqlDatabase m_db;
    bool m_active = false;
    QString m_error;
};

} // namespace tessaly
