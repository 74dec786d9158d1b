#include "SqlSupport.h"

#include <QCoreApplication>
#include <QSqlError>

namespace tessaly {

namespace {
// SQLite's primary result codes that name a cause.
QString meaningOf(int resultCode) {
    switch (resultCode) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QCoreApplication::translate("SqlSupport", "数据库被其他程序锁定");
    case 8: // SQLITE_READONLY
        return QCoreApplication::translate("SqlSupport", "数据库只读，无法写入");
    case 10: // SQLITE_IOERR
        return QCoreApplication::translate("SqlSupport", "数据库文件读写出错");
    case 11: // SQLITE_CORRUPT
        return QCoreApplication::translate("SqlSupport", "数据库文件已损坏");
    case 13: // SQLITE_FULL
        return QCoreApplication::translate("SqlSupport", "磁盘已满");
    case 14: // SQLITE_CANTOPEN
        return QCoreApplication::translate("SqlSupport", "无法打开数据库文件");
    case 26: // SQLITE_NOTADB
        return QCoreApplication::translate("SqlSupport", "文件不是数据库");
    default:
        return {};
    }
}
} // namespace

QString describeSqlError(const QSqlError& error) {
    const QString text = error.text().trimmed();
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    // Extended result codes carry the primary code in their low byte.
    const QString meaning = numeric ? meaningOf(code & 0xFF) : QString();
    if (meaning.isEmpty())
        return text;
    return text.isEmpty()
               ? meaning
               : QCoreApplication::translate("SqlSupport", "%1（%2）").arg(meaning, text);
}

bool execPrepared(QSqlQuery& query, QString* error) {
    // A statement that could not be prepared keeps its reason (a missing column, a lock);
    // running it anyway would replace that with "No query".
    if (query.lastError().isValid()) {
        setError(error, describeSqlError(query.lastError()));
        return false;
    }
    if (query.exec())
        return true;
    setError(error, describeSqlError(query.lastError()));
    return false;
}

bool execStatement(const QSqlDatabase& db, const QString& sql, QString* error) {
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    setError(error, describeSqlError(query.lastError()));
    return false;
}

} // namespace tessaly
