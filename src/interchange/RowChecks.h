#pragma once

#include "ImportTypes.h"
#include "ProgramRecord.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tessaly {

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

} // namespace tessaly
