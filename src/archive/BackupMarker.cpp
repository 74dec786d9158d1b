#include "BackupMarker.h"

#include "ArchiveFile.h"
#include "SqlSupport.h"
#include "Transaction.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace tessaly {

namespace {

const QString markerTable = QStringLiteral("TessalyBackup");

} // namespace

bool isOperationWord(const QString& word) {
    static const QRegularExpression pattern(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
    return pattern.match(word).hasMatch();
}

bool writeMarker(const QString& path, const BackupMarker& marker, QString* error) {
    const FileConnection file(path, FileConnection::Access::ReadWrite);
    // The copy is still a temporary file, flushed to disk as a whole once marked: its own
    // journal and syncs would only slow every backup down.
    execStatement(file.db(), QStringLiteral("PRAGMA journal_mode=MEMORY"), nullptr);
    execStatement(file.db(), QStringLiteral("PRAGMA synchronous=OFF"), nullptr);
    Transaction transaction(file.db());
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    // A database copied from a backup by hand brings that backup's marker along.
    if (!execStatement(file.db(), QStringLiteral("DROP TABLE IF EXISTS %1").arg(markerTable),
                       error) ||
        !execStatement(file.db(),
                       QStringLiteral("CREATE TABLE %1 (SourceFile TEXT NOT NULL, Operation TEXT "
                                      "NOT NULL, TakenAt TEXT NOT NULL, Sequence INTEGER NOT NULL)")
                           .arg(markerTable),
                       error))
        return false;
    QSqlQuery insert(file.db());
    insert.prepare(QStringLiteral("INSERT INTO %1 (SourceFile, Operation, TakenAt, Sequence) "
                                  "VALUES (?, ?, ?, ?)")
                       .arg(markerTable));
    insert.addBindValue(marker.database);
    insert.addBindValue(marker.operation);
    insert.addBindValue(marker.taken.toString(Qt::ISODate));
    insert.addBindValue(marker.sequence);
    return execPrepared(insert, error) && transaction.commit(error);
}

std::optional<BackupMarker> readMarker(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT SourceFile, Operation, TakenAt, Sequence FROM %1")
                        .arg(markerTable)) ||
        !query.next())
        return std::nullopt;
    BackupMarker marker{query.value(0).toString(), query.value(1).toString(),
                        QDateTime::fromString(query.value(2).toString(), Qt::ISODate),
                        query.value(3).toLongLong()};
    if (query.next() || marker.database.isEmpty() || !isOperationWord(marker.operation) ||
        !marker.taken.isValid() || marker.sequence < 1)
        return std::nullopt;
    return marker;
}

} // namespace tessaly
