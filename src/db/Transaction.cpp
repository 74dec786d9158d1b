#include "Transaction.h"

#include "SqlSupport.h"

namespace tessaly {

namespace {
// Nested savepoints may share a name: RELEASE and ROLLBACK TO act on the innermost one.
const QString savepointName = QStringLiteral("tessaly_change");
} // namespace

Transaction::Transaction(const QSqlDatabase& db) : m_db(db) {
    m_active = execStatement(m_db, QStringLiteral("SAVEPOINT ") + savepointName, &m_error);
}

Transaction::~Transaction() {
    if (!m_active)
        return;
    // ROLLBACK TO keeps the savepoint open, so it still has to be released.
    execStatement(m_db, QStringLiteral("ROLLBACK TO ") + savepointName, nullptr);
    execStatement(m_db, QStringLiteral("RELEASE ") + savepointName, nullptr);
}

bool Transaction::commit(QString* error) {
    if (!m_active) {
        setError(error, m_error.isEmpty() ? QStringLiteral("no transaction is open") : m_error);
        return false;
    }
    if (!execStatement(m_db, QStringLiteral("RELEASE ") + savepointName, &m_error)) {
        setError(error, m_error);
        return false;
    }
    m_active = false;
    return true;
}

} // namespace tessaly
