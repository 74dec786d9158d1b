// The restore of a backup (or of any Tessaly database file named by path) over the live tables.

#include "ArchiveFile.h"
#include "BackupFolder.h"
#include "Backups.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "SqlSupport.h"
#include "Transaction.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

namespace tessaly {

namespace {

const QStringList restoredTables = {QStringLiteral("MusicTab"), QStringLiteral("MusicReadTab"),
                                    QStringLiteral("SysTab")};

// The columns a Tessaly database has, from the schema the program carries.
const QMap<QString, QStringList>& expectedColumns() {
    static const QMap<QString, QStringList> columns = [] {
        QMap<QString, QStringList> result;
        const QString name = QStringLiteral("tessaly-archive-schema");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (db.open()) {
                for (const QString& statement : schemaStatements())
                    QSqlQuery(db).exec(statement);
                for (const QString& table : restoredTables)
                    result.insert(table, columnsOf(db, table));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return result;
    }();
    return columns;
}

// What stands at `path` when it is no regular file, or why it cannot be read; found without
// opening it, so that a FIFO never blocks.
QString notAReadableFile(const QString& path) {
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    // A folder that may not be searched hides the file: that is no missing file.
    struct stat found {};
    if (::stat(QFile::encodeName(path).constData(), &found) != 0)
        return errno == ENOENT ? QCoreApplication::translate("Backups", "文件不存在")
                               : QCoreApplication::translate("Backups", "无法读取文件（%1）")
                                     .arg(writeFailureText(errno));
#endif
    if (!info.exists())
        return QCoreApplication::translate("Backups", "文件不存在");
    if (info.isFile()) {
        if (const QString why = readAccessProblem(path); !why.isEmpty())
            return QCoreApplication::translate("Backups", "无法读取文件（%1）").arg(why);
        // SQLite would take an empty file for an empty database.
        if (info.size() == 0)
            return QCoreApplication::translate("Backups", "不是数据库文件");
        return {};
    }
    if (info.isDir())
        return QCoreApplication::translate("Backups", "这是一个文件夹，不是文件");
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        if (S_ISFIFO(status.st_mode))
            return QCoreApplication::translate("Backups", "这是一个管道（FIFO），不是文件");
        if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
            return QCoreApplication::translate("Backups", "这是一个设备，不是文件");
    }
#endif
    return QCoreApplication::translate("Backups", "这不是普通文件");
}

// Reading a file read-only fails when its journal holds a change that was never finished: only
// a write could roll it back, and the file is not ours to write.
QString unreadable(const QString& path) {
    const QString journal = path + QStringLiteral("-journal");
    if (QFileInfo(journal).size() > 0)
        return QCoreApplication::translate("Backups", "文件有未完成的改动（%1）")
            .arg(QFileInfo(journal).fileName());
    return QCoreApplication::translate("Backups", "不是数据库文件");
}

QString missingTableOrColumn(const QSqlDatabase& db) {
    const auto& expected = expectedColumns();
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QStringList present = columnsOf(db, it.key());
        if (present.isEmpty())
            return QCoreApplication::translate("Backups", "缺少表%1").arg(it.key());
        for (const QString& column : it.value())
            if (!present.contains(column, Qt::CaseInsensitive))
                return QCoreApplication::translate("Backups", "表%1缺少列%2").arg(it.key(), column);
    }
    return {};
}

// The settings row is the one the program reads and edits; with none or several, which port
// and pre-heat would come back is anybody's guess.
QString notOneSettingsRow(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM SysTab")) || !query.next())
        return QCoreApplication::translate("Backups", "不是数据库文件");
    const int rows = query.value(0).toInt();
    return rows == 1
               ? QString()
               : QCoreApplication::translate("Backups", "表SysTab中有%1行设置，应为1行").arg(rows);
}

// A private copy of a file to restore, with the files SQLite keeps beside it, in a temporary
// folder of its own: reading a WAL database makes a -shm file beside it, and nothing may be
// written beside the source. Its journal comes along, so that a change left unfinished in it
// is still seen as such.
class SourceCopy {
public:
    explicit SourceCopy(const QString& source) {
        if (!m_folder.isValid()) {
            m_error = m_folder.errorString();
            return;
        }
        const QString copy = m_folder.filePath(QStringLiteral("source.mdb"));
        for (const char* suffix : {"", "-wal", "-journal"}) {
            QFile file(source + QLatin1String(suffix));
            if (*suffix && !file.exists())
                continue;
            if (!file.copy(copy + QLatin1String(suffix))) {
                m_error = QCoreApplication::translate("Backups", "无法读取文件（%1）")
                              .arg(file.errorString());
                return;
            }
        }
        m_path = copy;
    }

    // Empty when the copy could not be made.
    const QString& path() const { return m_path; }
    const QString& errorText() const { return m_error; }

private:
    QTemporaryDir m_folder;
    QString m_path;
    QString m_error;
};

// Why the copy at `copy` of the file at `source` cannot be restored; empty when it can.
QString copyProblem(const QString& copy, const QString& source) {
    const FileConnection file(copy);
    QSqlQuery check(file.db());
    if (!file.isOpen() || !check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next())
        return unreadable(source);
    if (const QString verdict = check.value(0).toString(); verdict != QLatin1String("ok"))
        return QCoreApplication::translate("Backups", "完整性检查未通过（%1）").arg(verdict);
    if (QString missing = missingTableOrColumn(file.db()); !missing.isEmpty())
        return missing;
    return notOneSettingsRow(file.db());
}

// The file attached read-only to the connection as "source" for as long as the object lives.
class Attachment {
public:
    Attachment(const QSqlDatabase& db, const QString& path) : m_db(db) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("ATTACH DATABASE ? AS source"));
        query.addBindValue(openReadOnlyUri(path));
        m_attached = execPrepared(query, &m_error);
    }
    ~Attachment() {
        if (m_attached)
            execStatement(m_db, QStringLiteral("DETACH DATABASE source"), nullptr);
    }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    bool isAttached() const { return m_attached; }
    const QString& errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    bool m_attached = false;
    QString m_error;
};

// The attached source holds exactly what the three tables hold. Rows of the live tables are
// distinct (AutoID; one settings row), so equal counts and no live row missing from the source
// mean equal tables.
bool sourceHoldsTheSame(const QSqlDatabase& db) {
    for (const QString& table : restoredTables) {
        const QString columns = columnsOf(db, table).join(QStringLiteral(", "));
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT (SELECT count(*) FROM main.%1) = (SELECT count(*) "
                                       "FROM source.%1) AND NOT EXISTS (SELECT %2 FROM main.%1 "
                                       "EXCEPT SELECT %2 FROM source.%1)")
                            .arg(table, columns)) ||
            !query.next() || !query.value(0).toBool())
            return false;
    }
    return true;
}

// Replaces the three tables by those of the attached source, in one transaction. Its first
// statement is a write: a read first would hold a lock that, with another process writing,
// could only end in "database is locked" instead of a wait.
bool replaceTables(const QSqlDatabase& db, QString* error) {
    QMap<QString, QString> columnsByTable;
    for (const QString& table : restoredTables)
        columnsByTable.insert(table, columnsOf(db, table).join(QStringLiteral(", ")));
    Transaction transaction(db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    for (const QString& table : restoredTables) {
        const QString& columns = columnsByTable[table];
        if (!execStatement(db, QStringLiteral("DELETE FROM main.%1").arg(table), error) ||
            !execStatement(db,
                           QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM source.%1")
                               .arg(table, columns),
                           error))
            return false;
    }
    return transaction.commit(error);
}

RestoreResult restored() {
    return {RestoreEnd::Restored, QCoreApplication::translate("Backups", "数据恢复完毕！"), {}};
}

} // namespace

QString restorableProblem(const QString& path) {
    if (QString kind = notAReadableFile(path); !kind.isEmpty())
        return kind;
    const SourceCopy copy(path);
    return copy.path().isEmpty() ? copy.errorText() : copyProblem(copy.path(), path);
}

RestoreResult restoreBackup(const QSqlDatabase& db, const QString& path, const QDateTime& now) {
    const QString live = databaseFile(db);
    QString problem = notAReadableFile(path);
    std::optional<SourceCopy> copy;
    if (problem.isEmpty()) {
        copy.emplace(path);
        problem = copy->path().isEmpty() ? copy->errorText() : copyProblem(copy->path(), path);
    }
    if (problem.isEmpty() && sameFile(path, live))
        problem = QCoreApplication::translate("Backups", "这是正在使用的数据库");
    if (!problem.isEmpty())
        return {RestoreEnd::Refused,
                QCoreApplication::translate("Backups", "无法恢复%1：%2。")
                    .arg(QDir::toNativeSeparators(path), problem),
                {}};
    const Attachment source(db, copy->path());
    if (!source.isAttached())
        return {RestoreEnd::Failed, QCoreApplication::translate("Backups", "数据恢复失败！"),
                source.errorText()};
    if (sourceHoldsTheSame(db))
        return restored(); // nothing changes, so there is nothing to back up
    QString error;
    auto backup = ChangeBackup::take(db, QStringLiteral("restore"), &error, now);
    if (!backup)
        return {RestoreEnd::BackupFailed, error, {}};
    if (!replaceTables(db, &error))
        return {RestoreEnd::Failed, QCoreApplication::translate("Backups", "数据恢复失败！"),
                error};
    backup->keep({path});
    return restored();
}

} // namespace tessaly
