#include "InterchangeFormat.h"

#include "ProgramSet.h"
#include "ProgramStore.h"

#include <QFileInfo>

namespace tessaly {

std::optional<InterchangeFormat> formatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return InterchangeFormat::Csv;
    if (suffix == QLatin1String("json"))
        return InterchangeFormat::Json;
    return std::nullopt;
}

InterchangeFormat formatOfContent(const QByteArray& bytes) {
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    const bool json = i < bytes.size() && (bytes[i] == '[' || bytes[i] == '{');
    return json ? InterchangeFormat::Json : InterchangeFormat::Csv;
}

InterchangeFormat formatOf(const QString& path, const QByteArray& bytes) {
    return formatOfPath(path).value_or(formatOfContent(bytes));
}

ColumnKind columnKind(const QString& column) {
    if (column == QLatin1String("KSTime") || column == QLatin1String("JSTime"))
        return ColumnKind::Time;
    if (column == QLatin1String("YuRe") || column == QLatin1String("YuanShi"))
        return ColumnKind::OptionalNumber;
    if (column.startsWith(QLatin1String("KS")) || column.startsWith(QLatin1String("JS")) ||
        column == QLatin1String("YinLiang"))
        return ColumnKind::Number;
    if (column == QLatin1String("MP3") || column == QLatin1String("ShouYin") ||
        column.startsWith(QLatin1String("Week")) || column.startsWith(QLatin1String("FQ")))
        return ColumnKind::Flag;
    return ColumnKind::Text;
}

namespace {

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString optionalText(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

template <std::size_t N> void appendFlags(QStringList& texts, const std::array<bool, N>& flags) {
    for (const bool flag : flags)
        texts.append(flagText(flag));
}

} // namespace

// The order of programColumns(). ShouYin is written as the load sends the source, by MP3 alone:
// a pair an older version stored NULL, or both set, still goes out as exactly one of the two.
QStringList columnTexts(const ProgramRecord& r) {
    QStringList texts{r.OrderNo,
                      formatTimeOfDay(r.KSTime),
                      formatTimeOfDay(r.JSTime),
                      r.JMTaoNo,
                      r.YXCX,
                      flagText(r.MP3),
                      flagText(!r.MP3),
                      optionalText(r.YuRe),
                      optionalText(r.YuanShi)};
    for (const int value : {r.KS1, r.KS2, r.KS3, r.JS1, r.JS2, r.JS3})
        texts.append(QString::number(value));
    appendFlags(texts, r.Week);
    for (const QString& track : r.QuMu)
        texts.append(track);
    texts.append(QString::number(r.YinLiang));
    appendFlags(texts, r.FQ);
    Q_ASSERT(texts.size() == programColumns().size());
    return texts;
}

} // namespace tessaly
