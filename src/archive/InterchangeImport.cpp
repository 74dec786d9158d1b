#include "InterchangeImport.h"

#include "EntryChecks.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "RecordFrame.h"
#include "ScheduleEditor.h"
#include "SqlSupport.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>

#include <limits>
#include <set>
#include <vector>

namespace tessaly {

namespace {

// ---- Reading the file ------------------------------------------------------------------

const QByteArray Bom("\xEF\xBB\xBF");

QString lineWhere(int line) {
    return QStringLiteral("line %1").arg(line);
}

QString elementWhere(qsizetype index) {
    return QStringLiteral("element %1").arg(index);
}

const QHash<QString, int>& columnIndex() {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> map;
        for (qsizetype i = 0; i < programColumns().size(); ++i)
            map.insert(programColumns()[i], int(i));
        return map;
    }();
    return index;
}

bool isAutoId(const QString& column) {
    return column == QLatin1String("AutoID");
}

// The text of the bytes, or the line of the first that is not UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes, ParsedImport& parsed) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder line(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = line.decode(lines[i]); // decoding happens on conversion
        Q_UNUSED(decoded);
        if (line.hasError()) {
            parsed.problems.append(
                {lineWhere(int(i) + 1),
                 QCoreApplication::translate("InterchangeImport", "不是UTF-8编码的文本")});
            return std::nullopt;
        }
    }
    parsed.problems.append(
        {lineWhere(1), QCoreApplication::translate("InterchangeImport", "不是UTF-8编码的文本")});
    return std::nullopt;
}

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
                            {lineWhere(record.line),
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
    const QString where = lineWhere(header.line);
    for (const QString& raw : names) {
        const QString name = raw.trimmed();
        if (isAutoId(name)) {
            targets.append(-1);
            continue;
        }
        const auto found = columnIndex().find(name);
        if (found == columnIndex().end()) {
            parsed.problems.append(
                {where,
                 QCoreApplication::translate("InterchangeImport", "未知的列“%1”").arg(name)});
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

void parseCsv(const QString& text, ParsedImport& parsed) {
    const auto records = splitCsv(text, parsed);
    if (!records)
        return;
    qsizetype next = 0;
    while (next < records->size() && (*records)[next].blank())
        ++next;
    if (next == records->size()) {
        parsed.problems.append(
            {lineWhere(1), QCoreApplication::translate("InterchangeImport", "没有表头")});
        return;
    }
    const auto targets = readHeader((*records)[next], parsed);
    if (!targets)
        return;
    for (++next; next < records->size(); ++next) {
        CsvRecord record = (*records)[next];
        if (record.blank())
            continue;
        while (record.fields.size() > targets->size() && record.fields.last().trimmed().isEmpty())
            record.fields.removeLast();
        const QString where = lineWhere(record.line);
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

int lineOfOffset(const QByteArray& bytes, qsizetype offset) {
    return int(bytes.left(offset).count('\n')) + 1;
}

// A JSON value as the text a spreadsheet cell would hold; nothing for arrays and objects.
std::optional<QString> jsonText(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (number == double(qint64(number)) && std::abs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', 17);
    }
    case QJsonValue::String:
        return value.toString();
    default:
        return std::nullopt;
    }
}

void parseJsonObject(const QJsonObject& object, const QString& where, ParsedImport& parsed) {
    ImportRow row{where, QStringList(programColumns().size())};
    std::vector<bool> given(std::size_t(programColumns().size()), false);
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (isAutoId(it.key()))
            continue;
        const auto found = columnIndex().find(it.key());
        if (found == columnIndex().end()) {
            parsed.problems.append(
                {where,
                 QCoreApplication::translate("InterchangeImport", "未知的字段“%1”").arg(it.key())});
            return;
        }
        const auto text = jsonText(it.value());
        if (!text) {
            parsed.problems.append(
                {where,
                 QCoreApplication::translate("InterchangeImport", "字段“%1”不是文本、数字或布尔值")
                     .arg(it.key())});
            return;
        }
        row.values[found.value()] = *text;
        given[std::size_t(found.value())] = true;
    }
    for (std::size_t column = 0; column < given.size(); ++column)
        if (!given[column]) {
            parsed.problems.append(
                {where, QCoreApplication::translate("InterchangeImport", "缺少字段“%1”")
                            .arg(programColumns()[qsizetype(column)])});
            return;
        }
    parsed.rows.append(row);
}

void parseJson(const QByteArray& bytes, ParsedImport& parsed) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        parsed.problems.append({lineWhere(lineOfOffset(bytes, error.offset)),
                                QCoreApplication::translate("InterchangeImport", "JSON格式错误：%1")
                                    .arg(error.errorString())});
        return;
    }
    if (!document.isArray()) {
        parsed.problems.append(
            {lineWhere(1),
             QCoreApplication::translate("InterchangeImport", "JSON内容应为程序对象的数组")});
        return;
    }
    const QJsonArray array = document.array();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array[i].isObject()) {
            parsed.problems.append({elementWhere(i), QCoreApplication::translate(
                                                         "InterchangeImport", "不是程序对象")});
            continue;
        }
        parseJsonObject(array[i].toObject(), elementWhere(i), parsed);
    }
}

// ---- Checking the rows -----------------------------------------------------------------

bool isDigits(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

QString columnName(int column) {
    return programColumns()[column];
}

// Where each value sits in a row, looked up once.
struct RowColumns {
    static int at(const char* name) { return columnIndex().value(QLatin1String(name)); }
    template <std::size_t N> static std::array<int, N> numbered(const char* stem) {
        std::array<int, N> columns{};
        for (std::size_t i = 0; i < N; ++i)
            columns[i] = columnIndex().value(QLatin1String(stem) + QString::number(i + 1));
        return columns;
    }

    int orderNo = at("OrderNo"), startTime = at("KSTime"), endTime = at("JSTime");
    int set = at("JMTaoNo"), marker = at("YXCX"), mp3 = at("MP3"), radio = at("ShouYin");
    int preheat = at("YuRe"), delay = at("YuanShi"), volume = at("YinLiang");
    std::array<int, 6> times{at("KS1"), at("KS2"), at("KS3"), at("JS1"), at("JS2"), at("JS3")};
    std::array<int, 7> week = numbered<7>("Week");
    std::array<int, 6> tracks = numbered<6>("QuMu");
    std::array<int, 32> zones = numbered<32>("FQ");
};

bool isWord(const QString& text, const char* word) {
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// The texts of one row, by column; the first value that cannot be read is kept.
class RowReader {
public:
    explicit RowReader(const ImportRow& row) : m_row(row) {}

    const QString& raw(int column) const { return m_row.values[column]; }
    QString trimmed(int column) const { return raw(column).trimmed(); }

    bool flag(int column) {
        const QString text = trimmed(column);
        if (text == QLatin1String("1") || isWord(text, "true"))
            return true;
        if (text.isEmpty() || text == QLatin1String("0") || isWord(text, "false"))
            return false;
        refuse(QCoreApplication::translate("InterchangeImport", "%1“%2”应为TRUE/FALSE或1/0")
                   .arg(columnName(column), raw(column)));
        return false;
    }
    template <std::size_t N>
    void flags(const std::array<int, N>& columns, std::array<bool, N>& values) {
        for (std::size_t i = 0; i < N; ++i)
            values[i] = flag(columns[i]);
    }
    // A time box as the editor's digit filter would let it be typed: digits or nothing.
    QString box(int column) {
        const QString text = trimmed(column);
        if (!text.isEmpty() && !isDigits(text))
            refuse(QCoreApplication::translate("InterchangeImport", "%1“%2”不是数字")
                       .arg(columnName(column), raw(column)));
        return text;
    }
    std::optional<int> integer(int column, int lowest, int highest) {
        const QString text = trimmed(column);
        bool ok = false;
        const int value = text.toInt(&ok);
        if (text.isEmpty())
            return std::nullopt;
        if (!ok || value < lowest || value > highest)
            refuse(QCoreApplication::translate("InterchangeImport", "%1“%2”不是%3至%4的整数")
                       .arg(columnName(column), raw(column), QString::number(lowest),
                            QString::number(highest)));
        return ok ? std::optional<int>(value) : std::nullopt;
    }

    void refuse(const QString& message) {
        if (!m_problem)
            m_problem = message;
    }
    const std::optional<QString>& problem() const { return m_problem; }

private:
    const ImportRow& m_row;
    std::optional<QString> m_problem;
};

// "8:00:00", "08:00:00" and "8:00" all name eight o'clock.
std::optional<QTime> typedTime(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time = timeOfDay(match.captured(1).toInt(), match.captured(2).toInt(),
                                 match.captured(3).isEmpty() ? 0 : match.captured(3).toInt());
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

// A time column agrees with its three fields, or is empty.
std::optional<QString> timeDisagrees(const RowReader& reader, int column, const QTime& fromFields,
                                     const char* fields) {
    const QString text = reader.trimmed(column);
    if (text.isEmpty() || parseTimeOfDay(text) == fromFields)
        return std::nullopt;
    const auto typed = typedTime(text);
    if (!typed)
        return QCoreApplication::translate("InterchangeImport", "%1“%2”不是时间")
            .arg(columnName(column), reader.raw(column));
    if (*typed != fromFields)
        return QCoreApplication::translate("InterchangeImport", "%1“%2”与%3不一致")
            .arg(columnName(column), reader.raw(column), QLatin1String(fields));
    return std::nullopt;
}

// The program of one row, or why the editor or the load would refuse it. The set label and
// the duplicate rule come later, with the other rows.
struct RowOutcome {
    ProgramRecord record;
    std::optional<QString> problem;
};

RowOutcome readRow(const ImportRow& row, const ImportOptions& options) {
    static const RowColumns columns;
    RowReader reader(row);
    RowOutcome outcome;
    ProgramRecord& r = outcome.record;

    EntryForm form;
    for (std::size_t i = 0; i < form.times.size(); ++i)
        form.times[i] = reader.box(columns.times[i]);
    const auto volume = reader.integer(columns.volume, std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max());
    form.volumeChosen = volume && *volume >= 0 && *volume <= MaxVolume; // the list offers 0..38
    reader.flags(columns.week, r.Week);
    form.weekdays = r.Week;
    // The pre-heat and delay boxes belong to the window, not to a program.
    form.preheat = form.delay = QStringLiteral("0");
    r.MP3 = reader.flag(columns.mp3);
    r.ShouYin = reader.flag(columns.radio);
    reader.flags(columns.zones, r.FQ);
    r.YuRe = reader.integer(columns.preheat, -32768, 32767);
    r.YuanShi = reader.integer(columns.delay, -32768, 32767);
    if (reader.problem()) {
        outcome.problem = reader.problem();
        return outcome;
    }
    if (const auto failure = checkEntry(form).failure) {
        outcome.problem = failure->message;
        return outcome;
    }
    applyTimes(r, form.times);
    r.YinLiang = *volume;
    if (auto wrong = timeDisagrees(reader, columns.startTime, r.KSTime, "KS1-KS3")) {
        outcome.problem = wrong;
        return outcome;
    }
    if (auto wrong = timeDisagrees(reader, columns.endTime, r.JSTime, "JS1-JS3")) {
        outcome.problem = wrong;
        return outcome;
    }

    r.JMTaoNo = options.set ? setLabel(*options.set) : reader.trimmed(columns.set);
    if (!setNumber(r.JMTaoNo)) {
        outcome.problem =
            QCoreApplication::translate("InterchangeImport", "JMTaoNo“%1”不是%2至%3之一")
                .arg(reader.raw(columns.set), setLabel(FirstSet), setLabel(LastSet));
        return outcome;
    }
    const QString marker = reader.trimmed(columns.marker);
    if (!marker.isEmpty() && marker != priorityMarker()) {
        outcome.problem = QCoreApplication::translate("InterchangeImport", "YXCX“%1”应为“%2”或空")
                              .arg(reader.raw(columns.marker), priorityMarker());
        return outcome;
    }
    r.YXCX = marker.isEmpty() ? QStringLiteral("") : priorityMarker();
    r.OrderNo = reader.trimmed(columns.orderNo);
    if (!r.OrderNo.isEmpty() && (r.OrderNo.size() > 3 || !isDigits(r.OrderNo))) {
        outcome.problem =
            QCoreApplication::translate("InterchangeImport", "序号OrderNo“%1”不是三位以内的数字")
                .arg(r.OrderNo);
        return outcome;
    }
    for (std::size_t i = 0; i < r.QuMu.size(); ++i) {
        r.QuMu[i] = reader.raw(columns.tracks[i]);
        if (!encodeTrack(r.QuMu[i])) {
            outcome.problem =
                QCoreApplication::translate("InterchangeImport", "曲目%1“%2”不是三位以内的数字")
                    .arg(columnName(columns.tracks[i]), r.QuMu[i]);
            return outcome;
        }
    }
    return outcome;
}

int startKey(const ProgramRecord& record) {
    return (record.KS1 * 60 + record.KS2) * 60 + record.KS3;
}

// The programs of one set that a new row is checked against: those kept and the rows before.
struct SetTally {
    QMultiHash<int, ProgramRecord> byStart;
    int count = 0;

    void add(const ProgramRecord& record) {
        byStart.insert(startKey(record), record);
        ++count;
    }
    bool clashes(const ProgramRecord& record) const {
        const auto [first, last] = byStart.equal_range(startKey(record));
        return std::any_of(first, last,
                           [&](const ProgramRecord& other) { return startsClash(record, other); });
    }
};

} // namespace

ParsedImport parseImport(const QByteArray& input, InterchangeFormat format) {
    ParsedImport parsed;
    const QByteArray bytes = input.startsWith(Bom) ? input.mid(Bom.size()) : input;
    const auto text = decodeUtf8(bytes, parsed);
    if (!text)
        return parsed;
    if (format == InterchangeFormat::Json)
        parseJson(bytes, parsed);
    else
        parseCsv(*text, parsed);
    return parsed;
}

CheckedImport
checkImportRows(const QList<ImportRow>& rows, const ImportOptions& options,
                const std::function<QList<ProgramRecord>(const QString&)>& keptPrograms) {
    CheckedImport checked;
    QHash<QString, SetTally> tallies;
    const auto tallyOf = [&](const QString& label) -> SetTally& {
        auto found = tallies.find(label);
        if (found == tallies.end()) {
            found = tallies.insert(label, SetTally{});
            for (const ProgramRecord& kept : keptPrograms(label))
                found->add(kept);
        }
        return *found;
    };
    for (const ImportRow& row : rows) {
        RowOutcome outcome = readRow(row, options);
        if (!outcome.problem) {
            SetTally& tally = tallyOf(outcome.record.JMTaoNo);
            if (tally.clashes(outcome.record))
                outcome.problem = duplicateFailure().message;
            else if (tally.count >= ScheduleEditor::MaxProgramsPerSet)
                outcome.problem = setFullMessage(outcome.record.JMTaoNo);
            else
                tally.add(outcome.record);
        }
        if (outcome.problem)
            checked.problems.append({row.where, *outcome.problem});
        else
            checked.records.append(outcome.record);
    }
    return checked;
}

ImportResult importPrograms(const QSqlDatabase& db, const QByteArray& bytes,
                            InterchangeFormat format, const ImportOptions& options,
                            const BeforeImportWrite& beforeWrite) {
    ImportResult result;
    const ParsedImport parsed = parseImport(bytes, format);
    ProgramStore store(db);
    const auto kept = [&](const QString& label) {
        if (options.replace)
            return QList<ProgramRecord>();
        QString error;
        const auto programs =
            store.programsOfSet(ProgramTable::MusicTab, label, SetRows::All, &error);
        if (!programs && result.error.isEmpty())
            result.error = error;
        return programs.value_or(QList<ProgramRecord>());
    };
    const CheckedImport checked = checkImportRows(parsed.rows, options, kept);
    result.problems = parsed.problems + checked.problems;
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [&](const auto& a, const auto& b) {
                         return a.where.section(QLatin1Char(' '), 1).toInt() <
                                b.where.section(QLatin1Char(' '), 1).toInt();
                     });
    if (!result.succeeded())
        return result;
    if (beforeWrite && !beforeWrite(&result.error))
        return result;

    QStringList targets;
    if (options.set)
        targets.append(setLabel(*options.set));
    for (const ProgramRecord& record : checked.records)
        if (!targets.contains(record.JMTaoNo))
            targets.append(record.JMTaoNo);
    Transaction transaction(db);
    if (!transaction.isActive()) {
        result.error = transaction.errorText();
        return result;
    }
    if (options.replace)
        for (const QString& label : targets)
            if (!store.deleteSet(ProgramTable::MusicTab, label, SetRows::All, &result.error))
                return result;
    if (!store.insertAll(ProgramTable::MusicTab, checked.records, &result.error))
        return result;
    for (const QString& label : targets)
        if (!renumberProgramSet(db, label, &result.error))
            return result;
    if (!transaction.commit(&result.error))
        return result;
    result.imported = int(checked.records.size());
    return result;
}

QString importDoneMessage(int count) {
    return QCoreApplication::translate("InterchangeImport", "导入完成：共%1个程序。").arg(count);
}

} // namespace tessaly
