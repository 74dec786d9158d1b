#include "CsvReader.h"

#include "ProgramStore.h"

#include <QCoreApplication>

#include <algorithm>
#include <set>

namespace tessaly {

namespace {

struct CsvRecord {
    int line = 0;
    QStringList fields;

    bool blank() const {
        return std::all_of(fields.begin(), fields.end(),
                           [](const QString& field) { return field.trimmed().isEmpty(); });
    }
};

int lineEndsIn(QStringView text) {
    int ends = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\n') ||
            (text[i] == QLatin1Char('\r') &&
             (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n'))))
            ++ends;
    return ends;
}

bool endsField(QChar c, QChar separator) {
    return c == separator || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// RFC 4180 with what spreadsheets add: LF or lone CR as line ends, text after a closing quote
// kept. Nothing, with a problem, when a quoted field never closes. Fields are cut out whole
// rather than built a character at a time: whole tables come through here.
std::optional<QList<CsvRecord>> splitCsv(const QString& text, QChar separator,
                                         ParsedImport& parsed) {
    QList<CsvRecord> records;
    const qsizetype size = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < size) {
        CsvRecord record{line, {}};
        while (true) {
            QString field;
            if (i < size && text[i] == QLatin1Char('"')) {
                ++i;
                while (true) {
                    const qsizetype quote = text.indexOf(QLatin1Char('"'), i);
                    if (quote < 0) {
                        parsed.problems.append(
                            {ImportPlace::line(record.line),
                             QCoreApplication::translate("InterchangeImport", "引号未闭合")});
                        return std::nullopt;
                    }
                    const QStringView part = QStringView(text).mid(i, quote - i);
                    line += lineEndsIn(part);
                    field += part;
                    i = quote + 1;
                    if (i < size && text[i] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    break;
                }
            }
            qsizetype end = i;
            while (end < size && !endsField(text[end], separator))
                ++end;
            field += QStringView(text).mid(i, end - i);
            record.fields.append(field);
            i = end;
            if (i < size && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        if (i < size) { // a line end
            i += text[i] == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n')
                     ? 2
                     : 1;
            ++line;
        }
        records.append(record);
    }
    return records;
}

// Where each header column's values go: the index in programColumns(), or -1 for AutoID.
std::optional<QList<int>> readHeader(const CsvRecord& header, ParsedImport& parsed) {
    QStringList names = header.fields;
    while (!names.isEmpty() && names.last().trimmed().isEmpty())
        names.removeLast();
    QList<int> targets;
    std::set<int> seen;
    const ImportPlace where = ImportPlace::line(header.line);
    for (const QString& raw : names) {
        const QString name = raw.trimmed();
        if (isAutoId(name)) {
            targets.append(-1);
            continue;
        }
        const auto found = columnIndex().find(name);
        if (found == columnIndex().end()) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "未知的列“%1”")
                            .arg(quotable(name))});
            return std::nullopt;
        }
        if (!seen.insert(found.value()).second) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "列“%1”重复").arg(name)});
            return std::nullopt;
        }
        targets.append(found.value());
    }
    for (const QString& column : programColumns())
        if (!seen.count(columnIndex().value(column))) {
            parsed.problems.append(
                {where,
                 QCoreApplication::translate("InterchangeImport", "缺少列“%1”").arg(column)});
            return std::nullopt;
        }
    return targets;
}

// The separators spreadsheets write, by locale: the comma, the semicolon where the comma is the
// decimal mark, the tab of "text" files.
const QChar Separators[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};

bool isBlankLine(QStringView line) {
    return std::all_of(line.begin(), line.end(), [](QChar c) {
        return c.isSpace() ||
               std::find(std::begin(Separators), std::end(Separators), c) != std::end(Separators);
    });
}

// The first line that is not blank, and its number; nothing when the text holds none.
std::optional<std::pair<QStringView, int>> firstLine(const QString& text) {
    int number = 1;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && text[end] != QLatin1Char('\r') &&
               text[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = QStringView(text).mid(start, end - start);
        if (!isBlankLine(line))
            return std::pair{line, number};
        start = end + (text.mid(end, 2) == QLatin1String("\r\n") ? 2 : 1);
        ++number;
    }
    return std::nullopt;
}

// How many of the header's names, cut at `separator`, are column names; nothing when one
// of them is not.
struct HeaderFit {
    int known = 0;
    bool all = true;
};

HeaderFit headerFit(QStringView header, QChar separator) {
    HeaderFit fit;
    for (QStringView name : header.split(separator)) {
        name = name.trimmed();
        if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) &&
            name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2).trimmed();
        if (name.isEmpty())
            continue;
        if (isAutoId(name.toString()) || columnIndex().contains(name.toString()))
            ++fit.known;
        else
            fit.all = false;
    }
    fit.all = fit.all && fit.known > 0;
    return fit;
}

// The separator the header is written with: the one that cuts it into column names only,
// else the one that finds the most (the header check then names the name it does not know).
std::optional<QChar> headerSeparator(QStringView header) {
    std::optional<QChar> best;
    int bestKnown = 0;
    for (const QChar separator : Separators) {
        const HeaderFit fit = headerFit(header, separator);
        if (fit.all)
            return separator;
        if (fit.known > bestKnown) {
            best = separator;
            bestKnown = fit.known;
        }
    }
    return best;
}

} // namespace

void readCsv(const QString& text, ParsedImport& parsed) {
    const auto header = firstLine(text);
    if (!header)
        return; // nothing but blank lines: no program
    const auto separator = headerSeparator(header->first);
    if (!separator) {
        parsed.problems.append(
            {ImportPlace::line(header->second),
             QCoreApplication::translate("InterchangeImport",
                                         "表头“%1”不是以逗号、分号或制表符分隔的列名")
                 .arg(quotable(header->first.toString()))});
        return;
    }
    const auto records = splitCsv(text, *separator, parsed);
    if (!records)
        return;
    qsizetype next = 0;
    while (next < records->size() && (*records)[next].blank())
        ++next;
    if (next == records->size())
        return; // quoted blanks only: no program
    const auto targets = readHeader((*records)[next], parsed);
    if (!targets)
        return;
    for (++next; next < records->size(); ++next) {
        CsvRecord record = (*records)[next];
        if (record.blank())
            continue;
        while (record.fields.size() > targets->size() && record.fields.last().trimmed().isEmpty())
            record.fields.removeLast();
        const ImportPlace where = ImportPlace::line(record.line);
        if (record.fields.size() != targets->size()) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "有%1列，应为%2列")
                            .arg(record.fields.size())
                            .arg(targets->size())});
            continue;
        }
        ImportRow row{where, QStringList(programColumns().size())};
        for (qsizetype i = 0; i < targets->size(); ++i)
            if ((*targets)[i] >= 0)
                row.values[(*targets)[i]] = record.fields[i];
        parsed.rows.append(row);
    }
}

} // namespace tessaly
