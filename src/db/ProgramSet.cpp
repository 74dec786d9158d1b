#include "ProgramSet.h"

#include <QStringList>

namespace tessaly {

namespace {
const QStringList& setLabels() {
    static const QStringList labels{QStringLiteral("第一套"), QStringLiteral("第二套"),
                                    QStringLiteral("第三套"), QStringLiteral("第四套")};
    return labels;
}
} // namespace

QString setLabel(int set) {
    if (set < FirstSet || set > LastSet)
        return {};
    return setLabels().at(set - FirstSet);
}

std::optional<int> setNumber(const QString& label) {
    const auto index = setLabels().indexOf(label);
    if (index < 0)
        return std::nullopt;
    return FirstSet + int(index);
}

QString formatOrderNo(int orderNumber) {
    if (orderNumber >= 0 && orderNumber <= 999) {
        // Every program read back passes here: three digits in one allocation.
        const QChar digits[] = {QChar(u'0' + orderNumber / 100),
                                QChar(u'0' + orderNumber / 10 % 10),
                                QChar(u'0' + orderNumber % 10)};
        return QString(digits, 3);
    }
    return QStringLiteral("%1").arg(orderNumber, 3, 10, QLatin1Char('0'));
}

QTime timeOfDay(int hour, int minute, int second) {
    if (!QTime::isValid(hour, minute, second, 0))
        return {};
    return QTime(hour, minute, second);
}

QString formatTimeOfDay(const QTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("hh:mm:ss")) : QString();
}

} // namespace tessaly
