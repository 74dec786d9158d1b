#include "WeekText.h"

#include "ProgramSet.h"

namespace tessaly::weekText {

namespace {

const char16_t* const DayNames[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                    u"星期五", u"星期六", u"星期日"};
const char16_t* const DayShort[] = {u"一", u"二", u"三", u"四", u"五", u"六", u"日"};

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
    return on.isEmpty() ? QStringLiteral("无") : on.join(QLatin1Char(' '));
}

} // namespace

QString dayName(int day) {
    return QString::fromUtf16(DayNames[day]);
}

QString title(const QString& setLabel) {
    return QStringLiteral("周节目表 - %1").arg(setLabel);
}

QString times(const ProgramRecord& program) {
    return startText(program) + QChar(u'–') + endText(program);
}

QString weekdays(const ProgramRecord& program) {
    QString text;
    for (int day = 0; day < week::Days; ++day)
        if (program.Week[day])
            text += QString::fromUtf16(DayShort[day]);
    return text.isEmpty() ? QStringLiteral("无") : text;
}

QString source(const ProgramRecord& program) {
    if (isRadio(program))
        return QStringLiteral("收音 %1").arg(program.QuMu[0]).trimmed();
    QStringList tracks;
    for (const QString& track : program.QuMu)
        if (!track.isEmpty() && track.toInt() != 0)
            tracks.append(track);
    return tracks.join(QLatin1Char(' '));
}

QStringList blockLines(const ProgramRecord& program) {
    QString first = program.OrderNo;
    if (isPriority(program))
        first += QStringLiteral(" 优先");
    QStringList lines{first, times(program)};
    if (const QString what = source(program); !what.isEmpty())
        lines.append(what);
    return lines;
}

QString toolTip(const QList<ProgramRecord>& programs, const WeekBlock& block) {
    const ProgramRecord& p = programs[block.program];
    QStringList lines{
        QStringLiteral("序号：%1").arg(p.OrderNo),
        QStringLiteral("开始时间：%1").arg(startText(p)),
        QStringLiteral("结束时间：%1").arg(endText(p)),
        QStringLiteral("节目套数：%1").arg(p.JMTaoNo),
        QStringLiteral("优先：%1").arg(isPriority(p) ? QStringLiteral("是") : QStringLiteral("否")),
        QStringLiteral("星期：%1").arg(weekdays(p)),
        QStringLiteral("音源：%1").arg(isRadio(p) ? QStringLiteral("收音") : QStringLiteral("MP3")),
        isRadio(p) ? QStringLiteral("电台：%1").arg(p.QuMu[0])
                   : QStringLiteral("曲目：%1").arg(source(p)),
        QStringLiteral("音量：%1").arg(p.YinLiang),
        QStringLiteral("分区：%1").arg(zones(p)),
    };
    if (block.endNotAfterStart)
        lines.append(endNotAfterStartNote());
    if (block.collides()) {
        QStringList others;
        for (const int other : block.sameStart)
            others.append(programs[other].OrderNo);
        lines.append(
            QStringLiteral("与同类节目 %1 在同一时间开始").arg(others.join(QLatin1Char(' '))));
    }
    return lines.join(QLatin1Char('\n'));
}

QString accessibleName(const ProgramRecord& program, const WeekBlock& block) {
    return QStringLiteral("%1 %2 至 %3 序号 %4")
        .arg(dayName(block.day), startText(program), endText(program), program.OrderNo);
}

QStringList tableHeader() {
    return {QStringLiteral("序号"), QStringLiteral("开始–结束"), QStringLiteral("星期"),
            QStringLiteral("优先"), QStringLiteral("曲目/收音")};
}

QStringList tableRow(const ProgramRecord& program) {
    return {program.OrderNo, times(program), weekdays(program),
            isPriority(program) ? priorityMarker() : QString(), source(program)};
}

QString endNotAfterStartNote() {
    return QStringLiteral("结束时间不晚于开始时间");
}

} // namespace tessaly::weekText
