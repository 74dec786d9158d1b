#pragma once

#include "InterchangeFormat.h"
#include "ProgramRecord.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tessaly {

// A refused row, or a file that cannot be read at all: where ("line 7", or "element 3" of a
// JSON array, counted from 0) and why.
struct ImportProblem {
    QString where;
    QString message;

    QString text() const { return where + QStringLiteral(": ") + message; }
    bool operator==(const ImportProblem&) const = default;
};

// One program of the file, its values as texts in programColumns() order.
struct ImportRow {
    QString where;
    QStringList values;
};

struct ParsedImport {
    QList<ImportRow> rows;
    QList<ImportProblem> problems; // rows of the wrong shape, or the file's own fault
};

// Reads the rows of a CSV or JSON file. A CSV may come from a spreadsheet: with or without a
// BOM, CRLF or LF, any field quoted, blank lines and empty columns at the end of each row,
// the columns in any order (AutoID, when present, is ignored). Bytes that are not UTF-8 are
// refused with the line they are on.
ParsedImport parseImport(const QByteArray& bytes, InterchangeFormat format);

struct ImportOptions {
    std::optional<int> set; // every program goes into this set, whatever its own label
    bool replace = false;   // the target sets' programs are replaced, not added to
};

struct CheckedImport {
    QList<ProgramRecord> records; // ready to store, in file order, labels set
    QList<ImportProblem> problems;
};

// Checks every row as a save in the editor checks its entry: the same checks and messages,
// the duplicate rule against the programs that stay in the set (keptPrograms: those of the
// set with this label that the import keeps) and the rows before it, at most 999 programs a
// set; and what the load could not send (a track or order number that is not a number of up
// to three digits), a set label that is none of the four, a flag that is neither TRUE/FALSE
// nor 1/0. Rows already refused by the parse are not looked at again.
CheckedImport
checkImportRows(const QList<ImportRow>& rows, const ImportOptions& options,
                const std::function<QList<ProgramRecord>(const QString&)>& keptPrograms);

// Runs once every row has passed, right before the first write; false (with the reason)
// stops the import with nothing written.
using BeforeImportWrite = std::function<bool(QString* error)>;

struct ImportResult {
    int imported = 0;
    QList<ImportProblem> problems; // refused rows: nothing was written
    QString error;                 // the database or beforeWrite failed: nothing was written

    bool succeeded() const { return problems.isEmpty() && error.isEmpty(); }
};

// Reads, checks and stores the programs of a file into MusicTab: all rows or none. With
// replace, each target set is emptied first; each set that receives programs is then numbered
// by start time as the editor numbers it. All in one transaction.
ImportResult importPrograms(const QSqlDatabase& db, const QByteArray& bytes,
                            InterchangeFormat format, const ImportOptions& options,
                            const BeforeImportWrite& beforeWrite = {});

// "导入完成：共N个程序。"
QString importDoneMessage(int count);

} // namespace tessaly
