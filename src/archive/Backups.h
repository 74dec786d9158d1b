#pragma once

#include "PlayerDatabase.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

namespace tessaly {

// How many backups of a database are kept; the oldest beyond this go once a new one is complete.
constexpr int KeptBackups = 30;

// The folder the backups of the database on `db` live in: backups/ beside its file.
QString backupFolder(const QSqlDatabase& db);

// Why a change cannot be written into the database on `db`: its file, or its folder (where
// SQLite makes its journal), cannot be written by this user; the message names the file or the
// folder and says why. Empty when both can.
QString unwritableDatabaseText(const QSqlDatabase& db);

// The backup taken for one change, kept only if the change happens.
//
// take() first checks that the change can be written (unwritableDatabaseText), then writes a
// consistent snapshot of the whole database (VACUUM INTO) into backups/ beside the database
// file, named after it: PlayerDB.mdb gives PlayerDB-YYYYMMDD-HHMMSS-<operation>.mdb, school.mdb
// gives school-... (-2, -3, ... when the name is taken). The copy is written under a temporary
// name of its own, marked as this program's backup and named when complete. Once the change has
// committed, keep() prunes the database's backups to the newest 30, the new one and `spared`
// always among them; a change that fails drops the object unkept, which removes the backup it
// took and prunes nothing. `now` names the file and is recorded in it; the order of the backups
// does not depend on it.
class ChangeBackup {
public:
    // Nothing, with `error` set to the reason ("无法写入备份：<folder>（why），操作已取消。" or
    // the database's), when the change cannot be written or the backup cannot be taken.
    static std::optional<ChangeBackup> take(const QSqlDatabase& db, const QString& operation,
                                            QString* error,
                                            const QDateTime& now = QDateTime::currentDateTime());
    ChangeBackup(ChangeBackup&& other) noexcept;
    // Drops the backup held so far, unkept.
    ChangeBackup& operator=(ChangeBackup&& other) noexcept;
    ChangeBackup(const ChangeBackup&) = delete;
    ~ChangeBackup();

    const QString& path() const;
    // The change has committed: the backup stays and the oldest go.
    void keep(const QStringList& spared = {});

private:
    struct State;
    explicit ChangeBackup(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

// A backup kept at once, as for a change already known to happen: take() and keep(). Returns
// the path, or nothing with `error` set.
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
// Why the backups folder of the database on `db` cannot be listed, naming it; empty when it can
// (a folder not made yet holds no backups).
QString unlistableBackupsText(const QSqlDatabase& db);

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
