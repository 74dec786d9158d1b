#pragma once

#include "PlayerDatabase.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tessaly {

// How many backups of a database are kept; the oldest beyond this go once a new one is complete.
constexpr int KeptBackups = 30;

// The folder the backups of the database on `db` live in: backups/ beside its file.
QString backupFolder(const QSqlDatabase& db);

// Writes a consistent snapshot of the whole database (VACUUM INTO) into backups/ beside the
// database file, named after it: PlayerDB.mdb gives PlayerDB-YYYYMMDD-HHMMSS-<operation>.mdb,
// school.mdb gives school-... (-2, -3, ... when the name is taken). The copy is written under a
// temporary name of its own, marked as this program's backup and named when complete; then the
// newest 30 of the database's backups are kept, the new one always among them. Returns the
// path, or nothing with `error` set to "无法写入备份：<folder>，操作已取消。". `now` names the
// file and is recorded in it; the order of the backups does not depend on it.
std::optional<QString> takeBackup(const QSqlDatabase& db, const QString& operation, QString* error,
                                  const QDateTime& now = QDateTime::currentDateTime());

// One backup as the list shows it.
struct BackupEntry {
    QString path;
    QString fileName;
    QDateTime taken;
    QString operation; // the word of the file name: read-all, save-read, delete-all, copy, ...
    qint64 sequence = 0;
    // Programs of sets 1 to 4 and of the read-back table; nothing when the file cannot be read.
    std::optional<std::array<int, 4>> setCounts;
    std::optional<int> readBackCount;
};

// The backups this program wrote of the database named `databaseName` in `folder`, newest
// first. Files that only look like backups (no mark inside, another database's, unfinished)
// are left out.
QList<BackupEntry> listBackups(const QString& folder,
                               const QString& databaseName = databaseFileName());
// The backups of the database on `db`.
QList<BackupEntry> listBackups(const QSqlDatabase& db);

// The operation of a backup in the window's language ("全部读取" for read-all, ...).
QString operationDisplayName(const QString& operation);

// The columns the list of backups shows, and one backup's row under them ("?" for counts of a
// file that cannot be read).
QStringList backupColumnTitles();
QStringList backupRow(const BackupEntry& entry);

// Why `path` cannot be restored (not a regular file, not a database, a missing table or column,
// a failed integrity check, not exactly one settings row); empty when it can.
QString restorableProblem(const QString& path);

enum class RestoreEnd { Restored, Refused, BackupFailed, Failed };

struct RestoreResult {
    RestoreEnd end = RestoreEnd::Failed;
    QString message; // the operator's message for every end
    QString detail;  // why, where the message does not say it
};

// Checks `path`, backs up the current state (operation restore), then replaces MusicTab,
// MusicReadTab and SysTab by the file's in one transaction, reading the file without ever
// writing to it. A file that holds what the tables hold already changes nothing and takes no
// backup. Anything but Restored leaves the three tables as they were and prunes no backup; the
// file restored is never pruned.
RestoreResult restoreBackup(const QSqlDatabase& db, const QString& path,
                            const QDateTime& now = QDateTime::currentDateTime());

} // namespace tessaly
