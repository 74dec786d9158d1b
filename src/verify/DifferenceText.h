#pragma once

#include "Verify.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tessaly {

// A difference as the operator reads it, in the reader's language: the field by the editor's
// caption ("开始时间", "音量", "曲目1", "星期一", "3分区"), yes or no for a weekday, a zone or
// the priority mark, MP3 or radio for the source.
QString fieldCaption(const QString& field);
QString shownValue(const QString& field, const QString& value);

// The columns of the table of differences: set, order number, field, PC, player.
QStringList differenceColumns();
QStringList differenceRow(const ProgramDifference& difference);

// The table as a CSV file: UTF-8 with a BOM, the column names first.
QByteArray differencesCsv(const QList<ProgramDifference>& differences);

// How a comparison ended, in one line: the reason it could not be made (with what was wrong
// with the player's answer on a second line), the player agreeing with the PC, or the number
// of differences.
QString verifySummary(const VerifyResult& result);

// The question before the differing sets are loaded again, naming them; the one before the
// pre-heat and delay alone are sent.
QString reloadQuestion(const QList<int>& sets);
QString preheatDelayQuestion();

} // namespace tessaly
