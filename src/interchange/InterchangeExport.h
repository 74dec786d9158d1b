#pragma once

#include "InterchangeFormat.h"
#include "ProgramRecord.h"
#include "ProgramStore.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace tessaly {

// The programs of a table in export order: set 1 to 4 (or the one set), each in OrderNo order.
// All sets take along, at the end, the programs that belong to none of the four (a read-back
// program without a set), so that nothing stored is left out.
std::optional<QList<ProgramRecord>> programsForExport(const QSqlDatabase& db, ProgramTable table,
                                                      std::optional<int> set,
                                                      QString* error = nullptr);

// UTF-8 with a BOM, CRLF line ends, a header of the column names, a field quoted only when it
// holds a comma, a quote or a line end.
QByteArray writeCsv(const QList<ProgramRecord>& programs);
// Any table in the same CSV form: the header, then the rows.
QByteArray csvTable(const QStringList& header, const QList<QStringList>& rows);
// An array of objects keyed by column name, in column order: numbers, booleans for the flags,
// strings for texts and times, null for a missing pre-heat or delay.
QByteArray writeJson(const QList<ProgramRecord>& programs);
QByteArray writePrograms(const QList<ProgramRecord>& programs, InterchangeFormat format);

} // namespace tessaly
