#include "ProgramSet.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace tessaly {

namespace {
// The stored labels are Chinese in every language: the database and the player hold them.
constexpr const char* Labels[] = {
    QT_TRANSLATE_NOOP("ProgramSet", "第一套"), QT_TRANSLATE_NOOP("ProgramSet", "第二套"),
    QT_TRANSLATE_NOOP("ProgramSet", "第三套"), QT_TRANSLATE_NOOP("ProgramSet", "第四套")};

const QStringList& setLabels() {
    static const QStringList labels = [] {
        QStringList all;
        for (const char* label : Labels)
            all.append(QString::fromUtf8(label));
        return all;
    }();
    return labels;
}
} // namespace

QString setLabel(int set) {
    if (set < FirstSet || set > LastSet)
        return {};
    return setLabels().at(set - FirstSet);
}

QString setDisplayName(int set) {
    if (set < FirstSet || set > LastSet)
        return {};
    return QCoreApplication::translate("ProgramSet", Labels[set - FirstSet]);
}

QString displayedSetLabel(const QString& label) {
    const auto set = setNumber(label);
    return set ? setDisplayName(*set) : label;
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

// Written out by hand: QTime::toString parses its format on every call, and whole tables of
// programs go through here.
QString formatTimeOfDay(const QTime& time) {
    if (!time.isValid())
        return QString();
    const auto twoDigits = [](int value, QChar* at) {
        at[0] = QLatin1Char(char('0' + value / 10));
        at[1] = QLatin1Char(char('0' + value % 10));
    };
    QString text(8, QLatin1Char(':'));
    twoDigits(time.hour(), text.data());
    twoDigits(time.minute(), text.data() + 3);
    twoDigits(time.second(), text.data() + 6);
    return text;
}

QTime parseTimeOfDay(const QString& text) {
    const auto digit = [&text](int at) { return text[at].unicode() - u'0'; };
    const bool canonical =
        text.size() == 8 && text[2] == QLatin1Char(':') && text[5] == QLatin1Char(':') &&
        std::all_of(text.begin(), text.end(), [](QChar c) {
            return c == QLatin1Char(':') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        });
    if (!canonical)
        return QTime::fromString(text, u"hh:mm:ss");
    return timeOfDay(digit(0) * 10 + digit(1), digit(3) * 10 + digit(4), digit(6) * 10 + digit(7));
}

} // namespace tessaly
