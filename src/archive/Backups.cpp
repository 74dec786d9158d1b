#include "Backups.h"

#include "ArchiveFile.h"
#include "BackupFolder.h"
#include "ProgramSet.h"
#include "SqlSupport.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>

namespace tessaly {

namespace {

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

QList<BackupEntry> entriesOf(const BackupFolder& folder) {
    QList<BackupEntry> entries;
    for (const auto& [path, marker] : folder.backups()) {
        BackupEntry entry{
            path, QFileInfo(path).fileName(), marker.taken, marker.operation, marker.sequence, {},
            {}};
        countPrograms(entry);
        entries.append(entry);
    }
    return entries;
}

} // namespace

QString backupFolder(const QSqlDatabase& db) {
    const QString file = databaseFile(db);
    return file.isEmpty() ? QString() : BackupFolder(file).path();
}

QString unwritableDatabaseText(const QSqlDatabase& db) {
    const QString file = databaseFile(db);
    if (file.isEmpty())
        return {};
    if (const QString why = writeAccessProblem(file); !why.isEmpty())
        return QCoreApplication::translate("Backups", "无法写入数据库%1（%2），操作已取消。")
            .arg(QDir::toNativeSeparators(file), why);
    // Without a writable folder SQLite cannot make the journal a change needs.
    const QString folder = QFileInfo(file).absolutePath();
    if (const QString why = writeAccessProblem(folder); !why.isEmpty())
        return QCoreApplication::translate(
                   "Backups",
                   "无法在数据库所在的文件夹%1中写入（%2），数据库无法保存改动，操作已取消。")
            .arg(QDir::toNativeSeparators(folder), why);
    return {};
}

struct ChangeBackup::State {
    BackupFolder folder;
    BackupFolder::Written written;
    bool settled = false;
};

ChangeBackup::ChangeBackup(std::unique_ptr<State> state) : m_state(std::move(state)) {}

ChangeBackup::ChangeBackup(ChangeBackup&& other) noexcept = default;

ChangeBackup& ChangeBackup::operator=(ChangeBackup&& other) noexcept {
    if (this != &other) {
        if (m_state && !m_state->settled)
            m_state->folder.discard(m_state->written);
        m_state = std::move(other.m_state);
    }
    return *this;
}

ChangeBackup::~ChangeBackup() {
    if (m_state && !m_state->settled)
        m_state->folder.discard(m_state->written);
}

const QString& ChangeBackup::path() const {
    return m_state->written.path;
}

void ChangeBackup::keep(const QStringList& spared) {
    if (m_state->settled)
        return;
    m_state->settled = true;
    m_state->folder.prune(m_state->written, spared);
}

std::optional<ChangeBackup> ChangeBackup::take(const QSqlDatabase& db, const QString& operation,
                                               QString* error, const QDateTime& now) {
    if (QString unwritable = unwritableDatabaseText(db); !unwritable.isEmpty()) {
        setError(error, unwritable);
        return std::nullopt;
    }
    const QString file = databaseFile(db);
    const BackupFolder folder(file);
    QString why = QCoreApplication::translate("Backups", "数据库没有文件");
    const auto written = file.isEmpty() ? std::nullopt : folder.write(db, operation, now, &why);
    if (!written) {
        setError(error, backupFailedText(folder.path(), why));
        return std::nullopt;
    }
    return ChangeBackup(std::make_unique<State>(State{folder, *written}));
}

std::optional<QString> takeBackup(const QSqlDatabase& db, const QString& operation, QString* error,
                                  const QDateTime& now) {
    auto backup = ChangeBackup::take(db, operation, error, now);
    if (!backup)
        return std::nullopt;
    backup->keep();
    return backup->path();
}

QList<BackupEntry> listBackups(const QString& folder, const QString& databaseName) {
    return entriesOf(BackupFolder(folder, databaseName));
}

QList<BackupEntry> listBackups(const QSqlDatabase& db) {
    const QString file = databaseFile(db);
    return file.isEmpty() ? QList<BackupEntry>() : entriesOf(BackupFolder(file));
}

QString unlistableBackupsText(const QSqlDatabase& db) {
    const QString folder = backupFolder(db);
    if (folder.isEmpty() || !QFileInfo::exists(folder))
        return {};
    const QString why = readAccessProblem(folder);
    if (why.isEmpty())
        return {};
    return QCoreApplication::translate("Backups", "无法读取备份文件夹%1（%2）")
        .arg(QDir::toNativeSeparators(folder), why);
}

QString operationDisplayName(const QString& operation) {
    static const struct {
        const char* word;
        const char* name;
    } names[] = {
        {"read-all", QT_TRANSLATE_NOOP("Backups", "全部读取")},
        {"save-read", QT_TRANSLATE_NOOP("Backups", "保存读取数据")},
        {"delete-all", QT_TRANSLATE_NOOP("Backups", "全部删除")},
        {"copy", QT_TRANSLATE_NOOP("Backups", "套复制")},
        {"import", QT_TRANSLATE_NOOP("Backups", "导入")},
        {"restore", QT_TRANSLATE_NOOP("Backups", "恢复")},
    };
    for (const auto& [word, name] : names)
        if (operation == QLatin1String(word))
            return QCoreApplication::translate("Backups", name);
    return operation;
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
                    operationDisplayName(entry.operation)};
    for (int set = 0; set < 4; ++set)
        row.append(entry.setCounts ? QString::number((*entry.setCounts)[set])
                                   : QStringLiteral("?"));
    row.append(entry.readBackCount ? QString::number(*entry.readBackCount) : QStringLiteral("?"));
    return row;
}

} // namespace tessaly
