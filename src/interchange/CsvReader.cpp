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

bool endsField(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// RFC 4180 with what spreadsheets add: LF or lone CR as line ends, text after a closing quote
// kept. Nothing, with a problem, when a quoted field never closes. Fields are cut out whole
// rather than built a character at a time: whole tables come through here.
std::optional<QList<CsvRecord>> splitCsv(const QString& text, ParsedImport& parsed) {
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
            while (end < size && !endsField(text[end]))
                ++end;
            field += QStringView(text).mid(i, end - i);
            record.fields.append(field);
            i = end;
            if (i < size && text[i] == QLatin1Char(',')) {
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

} // namespace

void readCsv(const QString& text, ParsedImport& parsed) {
    const auto records = splitCsv(text, parsed);
    if (!records)
        return;
    qsizetype next = 0;
    while (next < records->size() && (*records)[next].blank())
        ++next;
    if (next == records->size())
        return; // nothing but blank lines: no program
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
