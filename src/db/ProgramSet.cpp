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

QString clockText(int hours, int minutes, int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

namespace {

// The column's name and the number after it ("Week3" gives "Week" and 3); 0 without one.
std::pair<QString, int> splitNumbered(const QString& column) {
    qsizetype digits = column.size();
    while (digits > 0 && column[digits - 1].isDigit())
        --digits;
    return {column.left(digits), column.mid(digits).toInt()};
}

QString weekdayCaption(int day) {
    static constexpr const char* days[] = {
        QT_TRANSLATE_NOOP("ProgramSet", "星期一"), QT_TRANSLATE_NOOP("ProgramSet", "星期二"),
        QT_TRANSLATE_NOOP("ProgramSet", "星期三"), QT_TRANSLATE_NOOP("ProgramSet", "星期四"),
        QT_TRANSLATE_NOOP("ProgramSet", "星期五"), QT_TRANSLATE_NOOP("ProgramSet", "星期六"),
        QT_TRANSLATE_NOOP("ProgramSet", "星期日")};
    return QCoreApplication::translate("ProgramSet", days[day - 1]);
}

} // namespace

QString columnCaption(const QString& column) {
    const auto [name, number] = splitNumbered(column);
    if (name == QLatin1String("Week") && number >= 1 && number <= 7)
        return weekdayCaption(number);
    if (name == QLatin1String("FQ") && number >= 1)
        return QCoreApplication::translate("ProgramSet", "%1分区").arg(number);
    if (name == QLatin1String("QuMu") && number >= 1)
        return QCoreApplication::translate("ProgramSet", "曲目%1").arg(number);
    static const QList<std::pair<QString, const char*>> captions{
        {QStringLiteral("OrderNo"), QT_TRANSLATE_NOOP("ProgramSet", "序号")},
        {QStringLiteral("KSTime"), QT_TRANSLATE_NOOP("ProgramSet", "开始时间")},
        {QStringLiteral("KS"), QT_TRANSLATE_NOOP("ProgramSet", "开始时间")},
        {QStringLiteral("JSTime"), QT_TRANSLATE_NOOP("ProgramSet", "结束时间")},
        {QStringLiteral("JS"), QT_TRANSLATE_NOOP("ProgramSet", "结束时间")},
        {QStringLiteral("JMTaoNo"), QT_TRANSLATE_NOOP("ProgramSet", "节目套数")},
        {QStringLiteral("YXCX"), QT_TRANSLATE_NOOP("ProgramSet", "优先")},
        {QStringLiteral("MP3"), QT_TRANSLATE_NOOP("ProgramSet", "音源")},
        {QStringLiteral("ShouYin"), QT_TRANSLATE_NOOP("ProgramSet", "音源")},
        {QStringLiteral("YinLiang"), QT_TRANSLATE_NOOP("ProgramSet", "音量")},
        {QStringLiteral("YuRe"), QT_TRANSLATE_NOOP("ProgramSet", "预热时间")},
        {QStringLiteral("YuanShi"), QT_TRANSLATE_NOOP("ProgramSet", "延时时间")},
    };
    const bool timePart =
        (name == QLatin1String("KS") || name == QLatin1String("JS")) && number >= 1 && number <= 3;
    const QString key = timePart ? name : column;
    for (const auto& [known, caption] : captions)
        if (known == key)
            return QCoreApplication::translate("ProgramSet", caption);
    return column;
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
