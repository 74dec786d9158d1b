#include "TimeList.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace tessaly {

namespace {

// Chinese input methods type full-width colons, commas, dashes and digits: read them as the
// ASCII they stand for.
QString halfWidth(QString text) {
    for (QChar& c : text)
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFEE0);
    return text;
}

QString notATime(const QString& text) {
    return QCoreApplication::translate("TimeList",
                                       "“%1”不是时间（可写作8:00、08:00:00、8.00或0800）")
        .arg(text);
}

struct Parts {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "8:00", "08:00:00", "8.00" or digits alone: "0800", "800", "080030".
std::optional<Parts> splitTime(const QString& text) {
    static const QRegularExpression separated(
        QStringLiteral("^(\\d{1,2})[:.](\\d{2})(?:[:.](\\d{2}))?$"));
    static const QRegularExpression digits(QStringLiteral("^\\d{3,6}$"));
    if (const auto match = separated.match(text); match.hasMatch())
        return Parts{match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).isEmpty() ? 0 : match.captured(3).toInt()};
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    // Minutes and seconds take two digits each from the right; the hour what is left.
    const bool withSeconds = text.size() > 4;
    const qsizetype hourDigits = text.size() - (withSeconds ? 4 : 2);
    return Parts{text.left(hourDigits).toInt(), text.mid(hourDigits, 2).toInt(),
                 withSeconds ? text.right(2).toInt() : 0};
}

} // namespace

std::optional<QTime> readTimeOfDay(const QString& typed, QString* reason) {
    const QString text = halfWidth(typed).trimmed();
    const auto refuse = [&](const QString& why) {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const auto parts = splitTime(text);
    if (!parts)
        return refuse(notATime(typed.trimmed()));
    if (parts->hour > 23)
        return refuse(
            QCoreApplication::translate("TimeList", "“%1”的小时不能大于23").arg(typed.trimmed()));
    if (parts->minute > 59)
        return refuse(
            QCoreApplication::translate("TimeList", "“%1”的分钟不能大于59").arg(typed.trimmed()));
    if (parts->second > 59)
        return refuse(
            QCoreApplication::translate("TimeList", "“%1”的秒钟不能大于59").arg(typed.trimmed()));
    return QTime(parts->hour, parts->minute, parts->second);
}

QString TimeListProblem::message() const {
    return QCoreApplication::translate("TimeList", "第%1行：%2").arg(line).arg(reason);
}

QList<TimeListProblem> TimeList::problems() const {
    QList<TimeListProblem> found;
    for (const Entry& entry : entries)
        if (entry.problem)
            found.append(*entry.problem);
    return found;
}

TimeList readTimeList(const QString& text) {
    // Items are separated by commas, semicolons or the enumeration comma; a start and its end
    // by a dash, a tilde, "至"/"到" or a tab (two columns pasted from a spreadsheet).
    static const QRegularExpression itemSeparator(QStringLiteral("[,;、]"));
    static const QRegularExpression endSeparator(QStringLiteral("\\s*[-~–—至到\\t]\\s*"));
    TimeList list;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int line = 0; line < int(lines.size()); ++line) {
        const QStringList items = halfWidth(lines[line]).split(itemSeparator);
        for (const QString& raw : items) {
            // Spaces are kept inside an item only between a start and its end.
            const QString item = raw.trimmed();
            if (item.isEmpty())
                continue;
            TimeList::Entry entry;
            entry.item.line = line + 1;
            entry.item.text = item;
            const QStringList ends = item.split(endSeparator);
            QString reason;
            if (ends.size() > 2 || ends.contains(QString())) {
                reason = notATime(item);
            } else if (const auto start = readTimeOfDay(ends[0], &reason)) {
                entry.item.start = *start;
                if (ends.size() == 2)
                    entry.item.end = readTimeOfDay(ends[1], &reason);
            }
            if (!reason.isEmpty())
                entry.problem = TimeListProblem{line + 1, item, reason};
            list.entries.append(entry);
        }
    }
    return list;
}

} // namespace tessaly
