#include "Backups.h"

#include "DataModule.h"
#include "PlayerDatabase.h"
#include "ProgramSet.h"
#include "SqlSupport.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>
#include <atomic>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace {

const QString namePrefix = QStringLiteral("PlayerDB-");
const QString nameSuffix = QStringLiteral(".mdb");
// A backup is written under this suffix and renamed once complete: a file that still has it
// was never finished and is no backup.
const QString partSuffix = QStringLiteral(".part");
const QString stampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QStringList restoredTables = {QStringLiteral("MusicTab"), QStringLiteral("MusicReadTab"),
                                    QStringLiteral("SysTab")};

struct BackupName {
    QDateTime taken;
    QString operation;
    int counter = 1; // the second backup of one second has suffix -2, and so on
};

std::optional<BackupName> parseName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^PlayerDB-(\\d{8}-\\d{6})-([a-z]+(?:-[a-z]+)*)(?:-(\\d+))?\\.mdb$"));
    const auto match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    BackupName name{QDateTime::fromString(match.captured(1), stampFormat), match.captured(2)};
    if (!name.taken.isValid())
        return std::nullopt;
    if (match.hasCaptured(3))
        name.counter = match.captured(3).toInt();
    return name;
}

bool newerFirst(const BackupName& a, const BackupName& b) {
    return a.taken != b.taken ? a.taken > b.taken : a.counter > b.counter;
}

// The completed backups in folder, newest first.
QList<std::pair<QString, BackupName>> namedBackups(const QString& folder) {
    QList<std::pair<QString, BackupName>> found;
    const QStringList files = QDir(folder).entryList({namePrefix + QLatin1Char('*') + nameSuffix},
                                                     QDir::Files | QDir::Hidden);
    for (const QString& file : files)
        if (const auto name = parseName(file))
            found.append({file, *name});
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return newerFirst(a.second, b.second); });
    return found;
}

QString freeName(const QString& folder, const QString& operation, const QDateTime& now) {
    const QDateTime second = QDateTime::fromString(now.toString(stampFormat), stampFormat);
    int counter = 0;
    for (const auto& [file, name] : namedBackups(folder))
        if (name.taken == second)
            counter = std::max(counter, name.counter);
    QString name = namePrefix + now.toString(stampFormat) + QLatin1Char('-') + operation;
    if (counter > 0)
        name += QStringLiteral("-%1").arg(counter + 1);
    return name + nameSuffix;
}

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The snapshot must be on disk before the change it guards is.
void flushToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// `spared` (the file a restore is about to read) stays even when it is among the oldest.
void prune(const QString& folder, const QString& spared) {
    const QDir dir(folder);
    const auto backups = namedBackups(folder);
    for (qsizetype i = KeptBackups; i < backups.size(); ++i)
        if (const QString path = dir.filePath(backups[i].first); !sameFile(path, spared))
            QFile::remove(path);
    // What a backup killed half-way left behind; an hour leaves any running one alone.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& part : dir.entryInfoList({QLatin1Char('*') + partSuffix}, QDir::Files))
        if (part.lastModified() < stale)
            QFile::remove(part.absoluteFilePath());
}

// A read-only connection of its own to another database file, removed with the object.
class FileConnection {
public:
    explicit FileConnection(const QString& path) {
        static std::atomic<int> counter{0};
        m_name = QStringLiteral("tessaly-archive-%1").arg(++counter);
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        m_db.setDatabaseName(openReadOnlyUri(path));
        m_db.open();
    }
    ~FileConnection() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;

    const QSqlDatabase& db() const { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Column names of `table` in the schema `prefix` ("main", or an attached name); empty when
// there is no such table.
QStringList columnsOf(const QSqlDatabase& db, const QString& table,
                      const QString& schema = QStringLiteral("main")) {
    QSqlQuery query(db);
    QStringList columns;
    if (!query.exec(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, table)))
        return columns;
    while (query.next())
        columns.append(query.value(1).toString());
    return columns;
}

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

std::optional<int> countRows(const QSqlDatabase& db, const QString& sql,
                             QMap<QString, int>* bySet = nullptr) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        return std::nullopt;
    int total = 0;
    while (query.next()) {
        total += query.value(1).toInt();
        if (bySet)
            bySet->insert(query.value(0).toString(), query.value(1).toInt());
    }
    return total;
}

void countPrograms(BackupEntry& entry) {
    const FileConnection file(entry.path);
    QMap<QString, int> bySet;
    if (!countRows(file.db(),
                   QStringLiteral("SELECT JMTaoNo, count(*) FROM MusicTab GROUP BY JMTaoNo"),
                   &bySet))
        return;
    std::array<int, 4> counts{};
    for (int set = FirstSet; set <= LastSet; ++set)
        counts[set - FirstSet] = bySet.value(setLabel(set));
    entry.setCounts = counts;
    entry.readBackCount =
        countRows(file.db(), QStringLiteral("SELECT '', count(*) FROM MusicReadTab"));
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

// Replaces the three tables by those of the attached database `source`, in one transaction.
bool replaceTables(const QSqlDatabase& db, QString* error) {
    Transaction transaction(db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    for (const QString& table : restoredTables) {
        const QString columns = columnsOf(db, table).join(QStringLiteral(", "));
        if (!execStatement(db, QStringLiteral("DELETE FROM main.%1").arg(table), error) ||
            !execStatement(db,
                           QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM source.%1")
                               .arg(table, columns),
                           error))
            return false;
    }
    return transaction.commit(error);
}

// The file attached to the connection as "source" for as long as the object lives.
class Attachment {
public:
    Attachment(const QSqlDatabase& db, const QString& path) : m_db(db) {
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("ATTACH DATABASE ? AS source"));
        query.addBindValue(QFileInfo(path).absoluteFilePath());
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

bool replaceFrom(const QSqlDatabase& db, const QString& path, QString* error) {
    const Attachment source(db, path);
    if (!source.isAttached()) {
        setError(error, source.errorText());
        return false;
    }
    return replaceTables(db, error);
}

std::optional<QString> writeBackup(const QSqlDatabase& db, const QString& operation, QString* error,
                                   const QDateTime& now, const QString& spared) {
    const QString folder = backupFolder(db);
    const auto refuse = [&]() -> std::optional<QString> {
        setError(error, QCoreApplication::translate("Backups", "无法写入备份：%1，操作已取消。")
                            .arg(QDir::toNativeSeparators(folder)));
        return std::nullopt;
    };
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return refuse();
    const QString path = QDir(folder).filePath(freeName(folder, operation, now));
    const QString part = path + partSuffix;
    QFile::remove(part);
    QSqlQuery vacuum(db);
    vacuum.prepare(QStringLiteral("VACUUM INTO ?"));
    vacuum.addBindValue(part);
    if (!vacuum.exec()) {
        QFile::remove(part);
        return refuse();
    }
    flushToDisk(part);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        return refuse();
    }
    flushToDisk(folder);
    prune(folder, spared);
    return path;
}

} // namespace

QString backupFolder(const QSqlDatabase& db) {
    const QString file = databaseFile(db);
    if (file.isEmpty())
        return {};
    return QFileInfo(file).absoluteDir().filePath(QStringLiteral("backups"));
}

std::optional<QString> takeBackup(const QSqlDatabase& db, const QString& operation, QString* error,
                                  const QDateTime& now) {
    return writeBackup(db, operation, error, now, {});
}

QList<BackupEntry> listBackups(const QString& folder) {
    QList<BackupEntry> entries;
    const QDir dir(folder);
    for (const auto& [file, name] : namedBackups(folder)) {
        BackupEntry entry{dir.filePath(file), file, name.taken, name.operation, {}, {}};
        countPrograms(entry);
        entries.append(entry);
    }
    return entries;
}

QStringList backupColumnTitles() {
    QStringList titles{QCoreApplication::translate("Backups", "文件"),
                       QCoreApplication::translate("Backups", "时间"),
                       QCoreApplication::translate("Backups", "操作")};
    for (int set = FirstSet; set <= LastSet; ++set)
        titles.append(setDisplayName(set));
    titles.append(QCoreApplication::translate("Backups", "读回"));
    return titles;
}

QStringList backupRow(const BackupEntry& entry) {
    QStringList row{entry.fileName, entry.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                    entry.operation};
    for (int set = 0; set < 4; ++set)
        row.append(entry.setCounts ? QString::number((*entry.setCounts)[set])
                                   : QStringLiteral("?"));
    row.append(entry.readBackCount ? QString::number(*entry.readBackCount) : QStringLiteral("?"));
    return row;
}

QString restorableProblem(const QString& path) {
    if (!QFileInfo(path).isFile())
        return QCoreApplication::translate("Backups", "文件不存在");
    const FileConnection file(path);
    QSqlQuery check(file.db());
    if (!file.db().isOpen() || !check.exec(QStringLiteral("PRAGMA integrity_check")) ||
        !check.next())
        return QCoreApplication::translate("Backups", "不是数据库文件");
    if (const QString verdict = check.value(0).toString(); verdict != QLatin1String("ok"))
        return QCoreApplication::translate("Backups", "完整性检查未通过（%1）").arg(verdict);
    const auto& expected = expectedColumns();
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QStringList present = columnsOf(file.db(), it.key());
        if (present.isEmpty())
            return QCoreApplication::translate("Backups", "缺少表%1").arg(it.key());
        for (const QString& column : it.value())
            if (!present.contains(column, Qt::CaseInsensitive))
                return QCoreApplication::translate("Backups", "表%1缺少列%2").arg(it.key(), column);
    }
    return {};
}

RestoreResult restoreBackup(const QSqlDatabase& db, const QString& path, const QDateTime& now) {
    const QString shown = QFileInfo(path).fileName();
    QString problem = restorableProblem(path);
    if (problem.isEmpty() && sameFile(path, databaseFile(db)))
        problem = QCoreApplication::translate("Backups", "这是正在使用的数据库");
    if (!problem.isEmpty())
        return {RestoreEnd::Refused,
                QCoreApplication::translate("Backups", "无法恢复%1：%2。").arg(shown, problem),
                {}};
    QString error;
    if (!writeBackup(db, QStringLiteral("restore"), &error, now, path))
        return {RestoreEnd::BackupFailed, error, {}};
    const bool restored = replaceFrom(db, path, &error);
    // The file read is no longer spared.
    prune(backupFolder(db), {});
    if (!restored)
        return {RestoreEnd::Failed, QCoreApplication::translate("Backups", "数据恢复失败！"),
                error};
    return {RestoreEnd::Restored, QCoreApplication::translate("Backups", "数据恢复完毕！"), {}};
}

} // namespace tessaly
