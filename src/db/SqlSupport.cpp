#include "SqlSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QUrl>

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

// The primary result codes whose cause lies in the database's file or its folder.
bool concernsTheFile(int resultCode) {
    switch (resultCode & 0xFF) {
    case 8:  // SQLITE_READONLY
    case 10: // SQLITE_IOERR
    case 13: // SQLITE_FULL
    case 14: // SQLITE_CANTOPEN
        return true;
    default:
        return false;
    }
}

// The file of a connection opened by a file: URI, or by a plain path.
QString fileOf(const QSqlDatabase& db) {
    const QString name = db.databaseName();
    const QUrl url(name);
    return url.isLocalFile() ? url.toLocalFile() : name;
}

QString describedFor(const QSqlDatabase& db, const QSqlError& error) {
    return describeSqlError(error, fileOf(db));
}
} // namespace

QString describeSqlError(const QSqlError& error, const QString& databasePath) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString described = describeSqlError(error);
    if (!numeric || !concernsTheFile(code) || databasePath.isEmpty())
        return described;
    return QCoreApplication::translate("SqlSupport", "%1：%2")
        .arg(QDir::toNativeSeparators(databasePath), described);
}

QString describeSqlError(const QSqlError& error) {
    const QString text = error.text().trimmed();
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    // Extended result codes carry the primary code in their low byte. A database that may be
    // written in a folder that may not (SQLITE_READONLY_DIRECTORY) is no read-only database.
    constexpr int ReadOnlyDirectory = 8 | (6 << 8);
    const QString meaning =
        !numeric ? QString()
        : code == ReadOnlyDirectory
            ? QCoreApplication::translate(
                  "SqlSupport", "数据库所在的文件夹不可写，无法建立保存改动所需的日志文件")
            : meaningOf(code & 0xFF);
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
    setError(error, describedFor(db, query.lastError()));
    return false;
}

} // namespace tessaly
