#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tessaly {

// How many backups are kept; the oldest beyond this go once a new one is complete.
constexpr int KeptBackups = 30;

// The folder the backups of the database on `db` live in: backups/ beside its file.
QString backupFolder(const QSqlDatabase& db);

// Writes a consistent snapshot of the whole database (VACUUM INTO) into backups/ beside the
// database file, named PlayerDB-YYYYMMDD-HHMMSS-<operation>.mdb (counter suffix when two fall
// in one second; written under a temporary name and renamed when complete); keeps the newest 30
// (pruning only after a new backup succeeded). Returns the path, or nothing with `error` set to
// the message "无法写入备份：<folder>，操作已取消。". `now` names the file.
std::optional<QString> takeBackup(const QSqlDatabase& db, const QString& operation, QString* error,
                                  const QDateTime& now = QDateTime::currentDateTime());

// One backup as the list shows it.
struct BackupEntry {
    QString path;
    QString fileName;
    QDateTime taken;   // from the file name
    QString operation; // read-all, save-read, delete-all, copy, import, restore
    // Programs of sets 1 to 4 and of the read-back table; nothing when the file cannot be read.
    std::optional<std::array<int, 4>> setCounts;
    std::optional<int> readBackCount;
};

// The backups in `folder`, newest first. Files under their temporary name (a backup that was
// never completed) and other files are not backups and are left out.
QList<BackupEntry> listBackups(const QString& folder);

// The columns the list of backups shows, and one backup's row under them ("?" for counts of a
// file that cannot be read).
QStringList backupColumnTitles();
QStringList backupRow(const BackupEntry& entry);

// Why `path` cannot be restored (not a database, a missing table or column, a failed
// integrity check); empty when it can.
QString restorableProblem(const QString& path);

enum class RestoreEnd { Restored, Refused, BackupFailed, Failed };

struct RestoreResult {
    RestoreEnd end = RestoreEnd::Failed;
    QString message; // the operator's message for every end
    QString detail;  // why, where the message does not say it
};

// Checks `path`, backs up the current state (operation restore), then replaces MusicTab,
// MusicReadTab and SysTab by the file's in one transaction. Anything but Restored leaves the
// three tables as they were.
RestoreResult restoreBackup(const QSqlDatabase& db, const QString& path,
                            const QDateTime& now = QDateTime::currentDateTime());

} // namespace tessaly
