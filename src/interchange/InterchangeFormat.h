#pragma once

#include "ProgramRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaly {

// Programs travel in and out of the database as CSV (for spreadsheets) or JSON, one row or
// object per program, under the column names of MusicTab without AutoID.
enum class InterchangeFormat { Csv, Json };

// By the file's extension (.csv, .json, any case); nothing for any other name.
std::optional<InterchangeFormat> formatOfPath(const QString& path);
// JSON when the first character after a BOM and white space opens an array or object.
InterchangeFormat formatOfContent(const QByteArray& bytes);
// The path's format, else the content's.
InterchangeFormat formatOf(const QString& path, const QByteArray& bytes);

// How a column's value is written and read.
enum class ColumnKind {
    Text,           // OrderNo, JMTaoNo, YXCX, QuMu1..6: as stored
    Time,           // KSTime, JSTime: hh:mm:ss, empty for none
    Number,         // KS1..JS3, YinLiang
    OptionalNumber, // YuRe, YuanShi: empty (JSON null) for NULL
    Flag,           // MP3, ShouYin, Week1..7, FQ1..32: 1/0 in CSV, booleans in JSON
};
ColumnKind columnKind(const QString& column);

// The record's values as texts, in programColumns() order (flags as "1" or "0"; ShouYin the
// opposite of MP3, as the load sends the pair).
QStringList columnTexts(const ProgramRecord& record);

} // namespace tessaly
