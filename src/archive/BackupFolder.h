#pragma once

#include "BackupMarker.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaly {

// The backups of one database in its backups/ folder: how they are named, written and pruned.
// Only files this program wrote count: named after the database and carrying its marker.
class BackupFolder {
public:
    // The backups of the database file `databasePath`, in backups/ beside it.
    explicit BackupFolder(const QString& databasePath);
    // The backups of the database named `databaseName` ("PlayerDB.mdb") in `folder`.
    BackupFolder(const QString& folder, const QString& databaseName);

    const QString& path() const { return m_folder; }

    struct Backup {
        QString path;
        BackupMarker marker;
    };
    // The backups of this database, newest first.
    QList<Backup> backups() const;

    // A new backup, and the backups that were there before it, newest first.
    struct Written {
        QString path;
        QList<Backup> earlier;
    };
    // Copies the database on `db` whole into a temporary file of its own, marks it as the newest
    // backup and gives it a name no other file has: <base>-YYYYMMDD-HHMMSS-<operation>.mdb, or
    // -2, -3, ... Prunes nothing. Nothing, with why in `error`, when the folder cannot take it.
    std::optional<Written> write(const QSqlDatabase& db, const QString& operation,
                                 const QDateTime& now, QString* error = nullptr) const;
    // Removes a backup written for a change that did not happen.
    void discard(const Written& written) const;

    // Keeps the new backup, every file in `spared` and the newest earlier ones up to
    // KeptBackups in all; removes the temporary files of backups that were never finished
    // (only in the program's own hidden folder, which no operator's file shares).
    // Backups another process wrote meanwhile are left to a later pruning.
    void prune(const Written& written, const QStringList& spared = {}) const;

private:
    QString nameStem(const QString& operation, const QDateTime& now) const;
    std::optional<QString> publish(const QString& part, const QString& stem) const;
    void removeAbandonedParts() const;

    QString partFolder() const;

    QString m_folder;
    QString m_databaseName;
    QString m_base; // the database's name without .mdb
};

// The message when a backup cannot be written, naming the folder and, where known, why; the
// operation stops.
QString backupFailedText(const QString& folder, const QString& why = {});

} // namespace tessaly
