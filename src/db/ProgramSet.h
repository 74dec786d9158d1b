#pragma once

#include <QString>
#include <QTime>

#include <optional>

namespace tessaly {

// Sets travel as the numbers 1..4 and are stored and shown by their labels.
constexpr int FirstSet = 1;
constexpr int LastSet = 4;

// "第一套" .. "第四套" for 1..4, as stored and sent; empty for any other number.
QString setLabel(int set);

// The set's name as the operator reads it: the label in Chinese, "Set 1" .. in English.
QString setDisplayName(int set);
// A stored label as the operator reads it; a text that is no set's label stays as it is.
QString displayedSetLabel(const QString& label);

// 1..4 for the four labels; nothing for any other text.
std::optional<int> setNumber(const QString& label);

// Order numbers are three digits with leading zeros: 7 gives "007", 123 gives "123".
QString formatOrderNo(int orderNumber);

// The time of day hour:minute:second; invalid when a part is out of range.
QTime timeOfDay(int hour, int minute, int second);

// Hours, minutes and seconds as "hh:mm:ss", also when they make no time of day ("25:00:00").
QString clockText(int hours, int minutes, int seconds);

// A column of a program by the editor's caption, in the reader's language: "开始时间" (KSTime
// and KS1-KS3), "结束时间", "音量", "序号", "曲目1", "星期一", "3分区", "音源", ... Any other
// text stays as it is.
QString columnCaption(const QString& column);

// How times of day are stored and shown: "hh:mm:ss".
QString formatTimeOfDay(const QTime& time);
// The time of day a stored "hh:mm:ss" names; invalid for any other text.
QTime parseTimeOfDay(const QString& text);

} // namespace tessaly
