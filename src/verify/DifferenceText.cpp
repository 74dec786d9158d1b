#include "DifferenceText.h"

#include "InterchangeExport.h"
#include "ProgramSet.h"

#include <QCoreApplication>

#include <array>

namespace tessaly {

namespace {

// The column's name without the number after it ("Week3" gives "Week").
QString unnumbered(const QString& field) {
    qsizetype digits = field.size();
    while (digits > 0 && field[digits - 1].isDigit())
        --digits;
    return field.left(digits);
}

bool isYesNoField(const QString& column) {
    return column == QLatin1String("Week") || column == QLatin1String("FQ");
}

} // namespace

QString fieldCaption(const QString& field) {
    if (field == QLatin1String(ProgramField))
        return QCoreApplication::translate("Verify", "程序");
    return columnCaption(field);
}

QString shownValue(const QString& field, const QString& value) {
    const auto column = unnumbered(field);
    if (isYesNoField(column))
        return value == QLatin1String("1") ? QCoreApplication::translate("Verify", "是")
                                           : QCoreApplication::translate("Verify", "否");
    if (field == QLatin1String("YXCX"))
        return value == priorityMarker() ? QCoreApplication::translate("Verify", "是")
               : value.isEmpty()         ? QCoreApplication::translate("Verify", "否")
                                         : value;
    if (field == QLatin1String("MP3"))
        return value == QLatin1String("1") ? QStringLiteral("MP3")
                                           : QCoreApplication::translate("Verify", "收音");
    if (field == QLatin1String("JMTaoNo"))
        return displayedSetLabel(value);
    return value;
}

QStringList differenceColumns() {
    return {QCoreApplication::translate("Verify", "套"),
            QCoreApplication::translate("Verify", "序号"),
            QCoreApplication::translate("Verify", "项目"),
            QCoreApplication::translate("Verify", "电脑"),
            QCoreApplication::translate("Verify", "播放器")};
}

QStringList differenceRow(const ProgramDifference& d) {
    const QString set =
        d.set == 0 ? QCoreApplication::translate("Verify", "整机") : setDisplayName(d.set);
    return {set, d.orderNo, fieldCaption(d.field), shownValue(d.field, d.pcValue),
            shownValue(d.field, d.playerValue)};
}

QByteArray differencesCsv(const QList<ProgramDifference>& differences) {
    QList<QStringList> rows;
    rows.reserve(differences.size());
    for (const ProgramDifference& difference : differences)
        rows.append(differenceRow(difference));
    return csvTable(differenceColumns(), rows);
}

QString verifySummary(const VerifyResult& result) {
    if (!result.failure.isEmpty())
        return result.cause.isEmpty() ? result.failure
                                      : result.failure + QLatin1Char('\n') + result.cause;
    if (result.differences.isEmpty())
        return QCoreApplication::translate("Verify", "播放器中的程序与电脑一致");
    return QCoreApplication::translate("Verify", "共%n处不同", nullptr,
                                       int(result.differences.size()));
}

QString reloadQuestion(const QList<int>& sets) {
    QStringList names;
    for (const int set : sets)
        names.append(setDisplayName(set));
    if (sets.size() == 1)
        return QCoreApplication::translate("Verify",
                                           "将重新装载%1，播放器中该套的原有程序将被清除，继续吗？")
            .arg(names[0]);
    return QCoreApplication::translate("Verify",
                                       "将重新装载%1，播放器中这些套的原有程序将被清除，继续吗？")
        .arg(names.join(QCoreApplication::translate("Verify", "、")));
}

QString preheatDelayQuestion() {
    return QCoreApplication::translate("Verify", "将把电脑中的预热和延时时间写入播放器，继续吗？");
}

} // namespace tessaly
