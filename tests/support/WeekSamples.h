#pragma once

#include "ProgramRecord.h"
#include "ProgramSet.h"

#include <QList>

namespace tessaly::testing {

constexpr std::array<bool, 7> MondayOnly{true};
constexpr std::array<bool, 7> WorkingWeek{true, true, true, true, true};

// A program of `set` from start to end (hh:mm:ss) on the weekdays given (Monday first).
inline ProgramRecord timedProgram(int set, int orderNumber, QTime start, QTime end,
                                  std::array<bool, 7> weekdays = {true}) {
    ProgramRecord record;
    record.OrderNo = formatOrderNo(orderNumber);
    record.JMTaoNo = setLabel(set);
    record.YXCX = QStringLiteral("");
    record.KSTime = start;
    record.JSTime = end;
    record.KS1 = start.hour(), record.KS2 = start.minute(), record.KS3 = start.second();
    record.JS1 = end.hour(), record.JS2 = end.minute(), record.JS3 = end.second();
    record.Week = weekdays;
    record.QuMu = {QStringLiteral("%1").arg(orderNumber % 1000, 3, 10, QLatin1Char('0')),
                   QStringLiteral("000"),
                   QStringLiteral("000"),
                   QStringLiteral("000"),
                   QStringLiteral("000"),
                   QStringLiteral("000")};
    record.YinLiang = 20;
    record.FQ[0] = true;
    return record;
}

// Forty programs of a working week, every start time a different text: half-hour blocks from
// six in the morning, long blocks over them, priority and radio programs among them, a nested
// pair, two of one class starting together on Monday, one ending before it starts and one
// ending at midnight.
inline QList<ProgramRecord> sampleWeek(int set) {
    QList<ProgramRecord> week;
    const std::array<bool, 7> workdays{true, true, true, true, true, false, false};
    const std::array<bool, 7> weekend{false, false, true, false, false, true, true};
    for (int i = 0; i < 28; ++i) {
        const QTime start(6 + i / 2, (i % 2) * 30, i % 60);
        week.append(timedProgram(set, i + 1, start, start.addSecs(25 * 60),
                                 i % 2 == 0 ? workdays : weekend));
    }
    for (int i = 28; i < 34; ++i) // long blocks lying over the short ones
        week.append(timedProgram(set, i + 1, QTime(7 + (i - 28) * 2, 10, i),
                                 QTime(10 + (i - 28) * 2, 0, 0),
                                 {i % 2 == 0, true, false, true, i % 3 == 0, true, false}));
    week.append(timedProgram(set, 35, QTime(20, 0, 35), QTime(19, 0, 0), workdays));
    week.append(timedProgram(set, 36, QTime(22, 0, 36), QTime(0, 0, 0), workdays));
    week.append(timedProgram(set, 37, QTime(21, 0, 0), QTime(21, 20, 0), {true}));
    week.append(timedProgram(set, 38, QTime(21, 0, 0), QTime(21, 40, 0), {true}));
    week.append(timedProgram(set, 39, QTime(13, 0, 39), QTime(15, 0, 0), weekend));
    week.append(timedProgram(set, 40, QTime(13, 30, 40), QTime(14, 0, 0), weekend));
    for (int i = 0; i < week.size(); ++i) {
        if (i % 7 == 0)
            week[i].YXCX = priorityMarker();
        if (i % 5 == 2) {
            week[i].MP3 = false;
            week[i].ShouYin = true;
            week[i].QuMu[0] = QStringLiteral("%1").arg(88 + i);
        }
    }
    return week;
}

// A bell every five minutes from 06:05, Monday to Friday: more labels than one column of them
// holds.
inline QList<ProgramRecord> bellsEveryFiveMinutes(int set, int count = 64) {
    QList<ProgramRecord> bells;
    for (int i = 0; i < count; ++i) {
        const QTime start = QTime(6, 5).addSecs(i * 300);
        bells.append(timedProgram(set, i + 1, start, start.addSecs(30), WorkingWeek));
    }
    return bells;
}

// A school's week of 32 programs: 30-second bells from 07:30 to 17:30, the breaks between
// them, morning news and the lunch hour from the radio, priority exercises, and a Saturday
// class. Among them a 5-minute tune ending as a bell starts (010, 011) and a bell shortly
// before the lunch hour (015, 016).
inline QList<ProgramRecord> schoolWeek(int set) {
    struct Entry {
        QTime start;
        QTime end;
        bool radio = false;
        bool priority = false;
        std::array<bool, 7> days = WorkingWeek;
    };
    const auto bell = [](int hour, int minute) {
        return Entry{QTime(hour, minute), QTime(hour, minute, 30)};
    };
    const std::array<bool, 7> saturday{false, false, false, false, false, true};
    const Entry entries[] = {
        {QTime(7, 0), QTime(7, 20), true},
        bell(7, 30),
        bell(7, 50),
        bell(8, 0),
        bell(8, 45),
        bell(8, 55),
        bell(9, 40),
        {QTime(9, 45), QTime(10, 10), false, true},
        {QTime(10, 10), QTime(10, 15)},
        {QTime(10, 15), QTime(10, 20)},
        bell(10, 20),
        bell(11, 5),
        bell(11, 15),
        {QTime(11, 55), QTime(12, 0)},
        bell(12, 0),
        {QTime(12, 5), QTime(12, 45), true},
        {QTime(12, 50), QTime(13, 20)},
        bell(13, 30),
        bell(13, 40),
        bell(14, 25),
        bell(14, 35),
        bell(15, 20),
        {QTime(15, 25), QTime(15, 45), false, true},
        bell(15, 45),
        bell(16, 30),
        bell(16, 40),
        {QTime(16, 45), QTime(17, 20)},
        bell(17, 25),
        {QTime(17, 30), QTime(17, 30, 30), false, true},
        {QTime(9, 0), QTime(10, 30), false, false, saturday},
        {QTime(9, 0), QTime(9, 0, 30), false, false, saturday},
        {QTime(10, 30), QTime(10, 30, 30), false, false, saturday},
    };
    QList<ProgramRecord> week;
    for (const Entry& entry : entries) {
        week.append(timedProgram(set, int(week.size()) + 1, entry.start, entry.end, entry.days));
        if (entry.priority)
            week.last().YXCX = priorityMarker();
        if (entry.radio) {
            week.last().MP3 = false;
            week.last().ShouYin = true;
            week.last().QuMu[0] = QStringLiteral("2");
        }
    }
    return week;
}

// `count` programs five minutes apart from 02:00, with one to six tracks, weekdays in runs and
// apart (the widest "周一至周三、周五、周日" among them), every fifth a priority program and
// every ninth a radio program: the rows of the printed list at their widest.
inline QList<ProgramRecord> denseSet(int set, int count) {
    const std::array<bool, 7> weekdays[] = {WorkingWeek,
                                            {true, true, true, false, true, false, true},
                                            {true, false, true, false, true},
                                            {true, true, true, true, true, true, true},
                                            {false, false, false, false, false, true, true}};
    QList<ProgramRecord> programs;
    for (int i = 0; i < count; ++i) {
        const QTime start = QTime(2, 0).addSecs(i * 300);
        ProgramRecord program =
            timedProgram(set, i + 1, start, start.addSecs(i % 4 == 0 ? 30 : 240), weekdays[i % 5]);
        for (int track = 0; track < 6; ++track)
            program.QuMu[track] =
                track <= i % 6
                    ? QStringLiteral("%1").arg((i * 6 + track) % 999 + 1, 3, 10, QLatin1Char('0'))
                    : QStringLiteral("000");
        if (i % 5 == 1)
            program.YXCX = priorityMarker();
        if (i % 9 == 4) {
            program.MP3 = false;
            program.ShouYin = true;
            program.QuMu = {QString::number(87 + i % 20),
                            QString(),
                            QString(),
                            QString(),
                            QString(),
                            QString()};
        }
        programs.append(program);
    }
    return programs;
}

} // namespace tessaly::testing
