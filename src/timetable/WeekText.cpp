#include "WeekText.h"

#include "ProgramSet.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly::weekText {

namespace {

const char* const DayNames[] = {
    QT_TRANSLATE_NOOP("WeekText", "星期一"), QT_TRANSLATE_NOOP("WeekText", "星期二"),
    QT_TRANSLATE_NOOP("WeekText", "星期三"), QT_TRANSLATE_NOOP("WeekText", "星期四"),
    QT_TRANSLATE_NOOP("WeekText", "星期五"), QT_TRANSLATE_NOOP("WeekText", "星期六"),
    QT_TRANSLATE_NOOP("WeekText", "星期日")};
// A day in a list of weekdays: "周一至周五", "周一、三、五" ("Mon–Fri", "Mon, Wed, Fri").
const char* const DayShort[] = {
    QT_TRANSLATE_NOOP("WeekText", "一"), QT_TRANSLATE_NOOP("WeekText", "二"),
    QT_TRANSLATE_NOOP("WeekText", "三"), QT_TRANSLATE_NOOP("WeekText", "四"),
    QT_TRANSLATE_NOOP("WeekText", "五"), QT_TRANSLATE_NOOP("WeekText", "六"),
    QT_TRANSLATE_NOOP("WeekText", "日")};

// Consecutive days a program plays on, first and last (0 Monday .. 6 Sunday).
struct DayRun {
    int first;
    int last;
};

QList<DayRun> dayRuns(const std::array<bool, 7>& days) {
    QList<DayRun> runs;
    for (int day = 0; day < week::Days; ++day) {
        if (!days[day])
            continue;
        if (!runs.isEmpty() && runs.last().last == day - 1)
            runs.last().last = day;
        else
            runs.append({day, day});
    }
    return runs;
}

QString timeText(const QTime& time, int hour, int minute, int second) {
    if (time.isValid())
        return formatTimeOfDay(time);
    return QStringLiteral("%1:%2:%3")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(second, 2, 10, QLatin1Char('0'));
}

QString startText(const ProgramRecord& p) {
    return timeText(p.KSTime, p.KS1, p.KS2, p.KS3);
}

QString endText(const ProgramRecord& p) {
    return timeText(p.JSTime, p.JS1, p.JS2, p.JS3);
}

bool isRadio(const ProgramRecord& program) {
    return !program.MP3;
}

QString zones(const ProgramRecord& program) {
    QStringList on;
    for (int zone = 0; zone < int(program.FQ.size()); ++zone)
        if (program.FQ[zone])
            on.append(QString::number(zone + 1));
    return on.isEmpty() ? QCoreApplication::translate("WeekText", "无") : on.join(QLatin1Char(' '));
}

} // namespace

QString dayName(int day) {
    return QCoreApplication::translate("WeekText", DayNames[day]);
}

QString title(const QString& setLabel, bool readBack) {
    return readBack ? QCoreApplication::translate("WeekText", "周节目表 - %1（读取数据）")
                          .arg(displayedSetLabel(setLabel))
                    : QCoreApplication::translate("WeekText", "周节目表 - %1")
                          .arg(displayedSetLabel(setLabel));
}

QString times(const ProgramRecord& program) {
    return startText(program) + QChar(u'–') + endText(program);
}

// Three days or more in a row read as a range; two in a row as two days. Days apart only share
// one "周" ("周一、三、五"); next to a range each day carries its own ("周一至周三、周五").
QString weekdays(const ProgramRecord& program) {
    QList<DayRun> items;
    for (const DayRun& run : dayRuns(program.Week)) {
        if (run.last - run.first == 1)
            items.append({{run.first, run.first}, {run.last, run.last}});
        else
            items.append(run);
    }
    if (items.isEmpty())
        return QCoreApplication::translate("WeekText", "无");
    if (items.size() == 1 && items.first().first == 0 && items.first().last == week::Days - 1)
        return QCoreApplication::translate("WeekText", "每天");
    const bool anyRange = std::any_of(items.begin(), items.end(),
                                      [](const DayRun& run) { return run.last > run.first; });
    const auto day = [](int index) {
        return QCoreApplication::translate("WeekText", DayShort[index]);
    };
    QString text;
    for (const DayRun& item : items) {
        QString words;
        if (item.last > item.first)
            words = QCoreApplication::translate("WeekText", "周%1至周%2")
                        .arg(day(item.first), day(item.last));
        else if (text.isEmpty() || anyRange)
            words = QCoreApplication::translate("WeekText", "周%1").arg(day(item.first));
        else
            words = day(item.first);
        text = text.isEmpty() ? words
                              : QCoreApplication::translate("WeekText", "%1、%2").arg(text, words);
    }
    return text;
}

QString source(const ProgramRecord& program) {
    if (isRadio(program))
        return QCoreApplication::translate("WeekText", "收音 %1").arg(program.QuMu[0]).trimmed();
    QStringList tracks;
    for (const QString& track : program.QuMu)
        if (!track.isEmpty() && track.toInt() != 0)
            tracks.append(track);
    return tracks.join(QLatin1Char(' '));
}

QString startLabel(const ProgramRecord& program) {
    const int second = startSecondOf(program);
    QString start = QStringLiteral("%1:%2")
                        .arg(second / 3600, 2, 10, QLatin1Char('0'))
                        .arg(second / 60 % 60, 2, 10, QLatin1Char('0'));
    if (second % 60 != 0)
        start += QStringLiteral(":%1").arg(second % 60, 2, 10, QLatin1Char('0'));
    return start + QLatin1Char(' ') + program.OrderNo;
}

QStringList blockLines(const ProgramRecord& program) {
    QString first = startLabel(program);
    if (isPriority(program))
        first += QLatin1Char(' ') + displayedPriority(program);
    QStringList lines{first, times(program)};
    if (const QString what = source(program); !what.isEmpty())
        lines.append(what);
    return lines;
}

QString toolTip(const QList<ProgramRecord>& programs, const WeekBlock& block) {
    const ProgramRecord& p = programs[block.program];
    QStringList lines{
        QCoreApplication::translate("WeekText", "序号：%1").arg(p.OrderNo),
        QCoreApplication::translate("WeekText", "开始时间：%1").arg(startText(p)),
        QCoreApplication::translate("WeekText", "结束时间：%1").arg(endText(p)),
        QCoreApplication::translate("WeekText", "节目套数：%1").arg(displayedSetLabel(p.JMTaoNo)),
        QCoreApplication::translate("WeekText", "优先：%1")
            .arg(isPriority(p) ? QCoreApplication::translate("WeekText", "是")
                               : QCoreApplication::translate("WeekText", "否")),
        QCoreApplication::translate("WeekText", "星期：%1").arg(weekdays(p)),
        QCoreApplication::translate("WeekText", "音源：%1")
            .arg(isRadio(p) ? QCoreApplication::translate("WeekText", "收音")
                            : QStringLiteral("MP3")),
        isRadio(p) ? QCoreApplication::translate("WeekText", "电台：%1").arg(p.QuMu[0])
                   : QCoreApplication::translate("WeekText", "曲目：%1").arg(source(p)),
        QCoreApplication::translate("WeekText", "音量：%1").arg(p.YinLiang),
        QCoreApplication::translate("WeekText", "分区：%1").arg(zones(p)),
    };
    if (block.endNotAfterStart)
        lines.append(endNotAfterStartNote());
    if (block.collides()) {
        QStringList others;
        for (const int other : block.sameStart)
            others.append(programs[other].OrderNo);
        lines.append(QCoreApplication::translate("WeekText", "与同类节目 %1 在同一时间开始")
                         .arg(others.join(QLatin1Char(' '))));
    }
    return lines.join(QLatin1Char('\n'));
}

QString accessibleName(const ProgramRecord& program, const WeekBlock& block) {
    return QCoreApplication::translate("WeekText", "%1 %2 至 %3 序号 %4")
        .arg(dayName(block.day), startText(program), endText(program), program.OrderNo);
}

QStringList movingLines(const ProgramRecord& program, int seconds) {
    const auto shifted = [seconds](const QTime& time, int hour, int minute, int second) {
        const QTime from = time.isValid() ? time : QTime(hour, minute, second);
        return formatTimeOfDay(from.isValid() ? from.addSecs(seconds) : QTime());
    };
    QStringList lines{program.OrderNo,
                      shifted(program.KSTime, program.KS1, program.KS2, program.KS3) + QChar(u'–') +
                          shifted(program.JSTime, program.JS1, program.JS2, program.JS3)};
    if (std::count(program.Week.begin(), program.Week.end(), true) > 1)
        lines.append(QCoreApplication::translate("WeekText", "%1 同时移动").arg(weekdays(program)));
    return lines;
}

QStringList tableHeader() {
    return {QCoreApplication::translate("WeekText", "序号"),
            QCoreApplication::translate("WeekText", "开始–结束"),
            QCoreApplication::translate("WeekText", "星期"),
            QCoreApplication::translate("WeekText", "优先"),
            QCoreApplication::translate("WeekText", "曲目/收音")};
}

QStringList tableRow(const ProgramRecord& program) {
    return {program.OrderNo, times(program), weekdays(program), displayedPriority(program),
            source(program)};
}

QString endNotAfterStartNote() {
    return QCoreApplication::translate("WeekText", "结束时间不晚于开始时间");
}

} // namespace tessaly::weekText
