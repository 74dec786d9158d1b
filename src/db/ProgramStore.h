#pragma once

#include "ProgramRecord.h"
#include "Transaction.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaly {

// MusicTab holds the programs the operator edits, MusicReadTab those last read from the player.
enum class ProgramTable { MusicTab, MusicReadTab };

// Which rows of a set an operation takes.
enum class SetRows { All, PriorityOnly };

QString tableName(ProgramTable table);

// The columns of both program tables after AutoID, in table order.
const QStringList& programColumns();

// Reads and writes programs over the program's one connection. Failures come back as an empty
// result or false, with the reason in error when one is given.
class ProgramStore {
public:
    explicit ProgramStore(const QSqlDatabase& db) : m_db(db) {}

    // The programs of the set with this label ("第一套" ..), ordered by OrderNo.
    std::optional<QList<ProgramRecord>> programsOfSet(ProgramTable table, const QString& setLabel,
                                                      SetRows rows = SetRows::All,
                                                      QString* error = nullptr) const;
    // The programs of the set that start at hour:minute:second (KS1..KS3), ordered by OrderNo.
    std::optional<QList<ProgramRecord>> programsStartingAt(ProgramTable table,
                                                           const QString& setLabel, int hour,
                                                           int minute, int second,
                                                           QString* error = nullptr) const;
    // Every program of the table, ordered by OrderNo.
    std::optional<QList<ProgramRecord>> allPrograms(ProgramTable table,
                                                    QString* error = nullptr) const;
    std::optional<int> count(ProgramTable table, QString* error = nullptr) const;

    // A stored value that reads as something else: a flag column other than 0 or 1 (NULL
    // reads as 0), or a time or volume column that holds no integer.
    struct UnreadableValue {
        QString orderNo;
        QString column;
        QString stored; // as SQLite quotes it: 2, 'abc', NULL
    };
    // The first such value among the programs of the set, in OrderNo order; nothing when all
    // read as stored. Nothing, with error set, when the query fails.
    std::optional<std::optional<UnreadableValue>>
    firstUnreadableValue(ProgramTable table, const QString& setLabel,
                         QString* error = nullptr) const;

    // Stores the record as a new row and returns its AutoID; the record's own AutoID is ignored.
    std::optional<qint64> insert(ProgramTable table, const ProgramRecord& record,
                                 QString* error = nullptr);
    // Stores the records as new rows, in their order, all or nothing.
    bool insertAll(ProgramTable table, const QList<ProgramRecord>& records,
                   QString* error = nullptr);
    // Replaces the programs of set dst by copies of those of set src (new AutoIDs, the label
    // dst, everything else as it was), all or nothing.
    bool copySet(ProgramTable table, const QString& src, const QString& dst,
                 QString* error = nullptr);
    // Rewrites the stored row record.AutoID with the record's values.
    bool update(ProgramTable table, const ProgramRecord& record, QString* error = nullptr);
    bool deleteProgram(ProgramTable table, qint64 autoId, QString* error = nullptr);
    bool deleteAll(ProgramTable table, QString* error = nullptr);
    bool deleteSet(ProgramTable table, const QString& setLabel, SetRows rows = SetRows::All,
                   QString* error = nullptr);

    // Groups several writes: they all stay only if the returned transaction is committed.
    Transaction beginTransaction() const { return Transaction(m_db); }

private:
    std::optional<QList<ProgramRecord>> select(QSqlQuery& query, QString* error) const;

    QSqlDatabase m_db;
};

} // namespace tessaly
