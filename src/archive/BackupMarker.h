#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace tessaly {

// What tells a backup this program wrote from a file that merely looks like one: a table of one
// row inside the copy, written before the copy gets its name. Its sequence, not the clock,
// orders the backups of one database: a clock set back or a folder from a PC whose clock ran
// ahead cannot make a new backup look old.
struct BackupMarker {
    QString database;  // file name of the database copied: PlayerDB.mdb
    QString operation; // the word in the backup's name: read-all, save-read, ...
    QDateTime taken;
    qint64 sequence = 0; // one more than the highest among the database's backups
};

// An operation word goes into the backup's file name: lower-case words joined by '-'.
bool isOperationWord(const QString& word);

// Writes the marker into the database file at `path` (replacing any marker it already holds).
bool writeMarker(const QString& path, const BackupMarker& marker, QString* error);

// The marker of the database open on `db`; nothing when it holds none, or none that is whole.
std::optional<BackupMarker> readMarker(const QSqlDatabase& db);

} // namespace tessaly
