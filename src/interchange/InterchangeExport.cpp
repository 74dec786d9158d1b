#include "InterchangeExport.h"

#include "ProgramSet.h"

#include <algorithm>

namespace tessaly {

namespace {

void appendCsvField(QByteArray& out, const QString& text) {
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoted) {
        out += text.toUtf8();
        return;
    }
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    out += '"' + escaped.toUtf8() + '"';
}

void appendCsvRow(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        appendCsvField(out, fields[i]);
    }
    out += "\r\n";
}

void appendJsonText(QByteArray& out, const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            escaped += QLatin1Char('\\');
            escaped += c;
        } else if (c.unicode() < 0x20) {
            escaped += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        } else {
            escaped += c;
        }
    }
    out += '"' + escaped.toUtf8() + '"';
}

void appendJsonValue(QByteArray& out, ColumnKind kind, const QString& text) {
    switch (kind) {
    case ColumnKind::Flag:
        out += text == QLatin1String("1") ? "true" : "false";
        return;
    case ColumnKind::Number:
        out += text.toLatin1();
        return;
    case ColumnKind::OptionalNumber:
        out += text.isEmpty() ? QByteArray("null") : text.toLatin1();
        return;
    case ColumnKind::Text:
    case ColumnKind::Time:
        appendJsonText(out, text);
        return;
    }
}

} // namespace

std::optional<QList<ProgramRecord>> programsForExport(const QSqlDatabase& db, ProgramTable table,
                                                      std::optional<int> set, QString* error) {
    const ProgramStore store(db);
    if (set)
        return store.programsOfSet(table, setLabel(*set), SetRows::All, error);
    auto programs = store.allPrograms(table, error); // in OrderNo order
    if (!programs)
        return std::nullopt;
    // Programs of no set (a number past the four) go last.
    std::stable_sort(programs->begin(), programs->end(),
                     [](const ProgramRecord& a, const ProgramRecord& b) {
                         return setNumber(a.JMTaoNo).value_or(LastSet + 1) <
                                setNumber(b.JMTaoNo).value_or(LastSet + 1);
                     });
    return programs;
}

QByteArray writeCsv(const QList<ProgramRecord>& programs) {
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(programs.size() * 200 + 1000);
    appendCsvRow(out, programColumns());
    for (const ProgramRecord& program : programs)
        appendCsvRow(out, columnTexts(program));
    return out;
}

QByteArray csvTable(const QStringList& header, const QList<QStringList>& rows) {
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(rows.size() * 60 + 100);
    appendCsvRow(out, header);
    for (const QStringList& row : rows)
        appendCsvRow(out, row);
    return out;
}

QByteArray writeJson(const QList<ProgramRecord>& programs) {
    const QStringList& columns = programColumns();
    QList<ColumnKind> kinds;
    QList<QByteArray> keys; // "OrderNo": and so on, with the separator before all but the first
    for (const QString& column : columns) {
        kinds.append(columnKind(column));
        keys.append((keys.isEmpty() ? "\"" : ", \"") + column.toLatin1() + "\": ");
    }
    QByteArray out("[");
    out.reserve(programs.size() * 1200 + 10);
    for (qsizetype row = 0; row < programs.size(); ++row) {
        out += row == 0 ? "\n  {" : ",\n  {";
        const QStringList texts = columnTexts(programs[row]);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            out += keys[i];
            appendJsonValue(out, kinds[i], texts[i]);
        }
        out += '}';
    }
    out += programs.isEmpty() ? "]\n" : "\n]\n";
    return out;
}

QByteArray writePrograms(const QList<ProgramRecord>& programs, InterchangeFormat format) {
    return format == InterchangeFormat::Json ? writeJson(programs) : writeCsv(programs);
}

} // namespace tessaly
