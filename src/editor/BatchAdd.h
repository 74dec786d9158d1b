#pragma once

#include "ProgramRecord.h"
#include "TimeList.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace tessaly {

// What every program of a batch shares, and how long each plays when its line names no end.
struct BatchTemplate {
    static constexpr int DefaultDurationSeconds = 30;

    // Weekdays, tracks or station, volume, zones, source; the set (JMTaoNo) and the class
    // (YXCX) the programs go into. Times and order number come from the batch.
    ProgramRecord program;
    bool volumeChosen = true; // the volume list shows an item
    int durationSeconds = DefaultDurationSeconds;
};

// The same program at new start times: its fields, set and class, and its own duration.
BatchTemplate copyTemplate(const ProgramRecord& program);

// One line of a batch: the program it gives and the editor's verdict on it.
struct BatchLine {
    TimeListItem item;
    ProgramRecord program; // complete but for its order number; times unset for an unread line
    QString verdict;       // why it cannot be added; empty when it can

    bool accepted() const { return verdict.isEmpty(); }
    // "第3行：verdict"
    QString message() const;
};

struct BatchCheck {
    QList<BatchLine> lines;

    int refusedCount() const;
    // At least one line, and none refused: the batch goes in whole or not at all.
    bool canAdd() const { return !lines.isEmpty() && refusedCount() == 0; }
};

// Checks each time of the list as a save in the editor checks its entry, with the editor's
// messages: the entry checks, then the duplicate rule against the stored programs of the set
// (`stored`) and the lines before it that passed, then the 999 programs a set.
BatchCheck checkBatch(const BatchTemplate& shared, const QString& times,
                      const QList<ProgramRecord>& stored);

struct BatchOutcome {
    BatchCheck check;
    int added = 0;
    QString error; // the database failed: nothing was added

    bool succeeded() const { return check.canAdd() && error.isEmpty(); }
};

// Checks the batch against the set as stored and, when no line is refused, adds every program
// and numbers the set by start time as the editor does, in one transaction: all or nothing.
BatchOutcome addBatch(const QSqlDatabase& db, const BatchTemplate& shared, const QString& times);

} // namespace tessaly
