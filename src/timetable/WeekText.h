#pragma once

#include "ProgramRecord.h"
#include "WeekLayout.h"

#include <QString>
#include <QStringList>

namespace tessaly {

// The texts of the week picture, shared by the window, the printed page and the exports.
namespace weekText {

// "星期一" .. "星期日" for 0 .. 6.
QString dayName(int day);
// "周节目表 - 第一套" ("Weekly timetable - Set 1"): the stored label, shown as the operator
// reads it; "周节目表 - 第一套（读取数据）" for the programs read back from the player.
QString title(const QString& setLabel, bool readBack = false);
// "08:00:00–08:30:00", the times as stored.
QString times(const ProgramRecord& program);
// The weekdays the program plays on: "周一至周五", "周一、三、五", "每天"; "无" for none.
QString weekdays(const ProgramRecord& program);
// The tracks in use ("001 002"), or "收音 <station>" for a radio program.
QString source(const ProgramRecord& program);
// "08:45 001": the start (with its seconds where they are not 0) and the order number.
QString startLabel(const ProgramRecord& program);
// The lines a block shows, most important first; the painter keeps as many as fit. The first
// is the start label, with the priority word of a priority program.
QStringList blockLines(const ProgramRecord& program);
// Every field of the program, one per line, and what is wrong with its place in the week.
QString toolTip(const QList<ProgramRecord>& programs, const WeekBlock& block);
// What a screen reader says for the block: "星期一 08:00:00 至 08:30:00 序号 001".
QString accessibleName(const ProgramRecord& program, const WeekBlock& block);
// What a block shows while it is dragged `seconds` later (earlier when negative): its number,
// its new times and, for a program of several weekdays, that it moves on all of them.
QStringList movingLines(const ProgramRecord& program, int seconds);
// One row of the printed list: OrderNo, times, weekdays, priority, tracks or radio.
QStringList tableRow(const ProgramRecord& program);
QStringList tableHeader();

QString endNotAfterStartNote();

} // namespace weekText

} // namespace tessaly
