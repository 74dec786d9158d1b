#include "RowChecks.h"

#include "EntryChecks.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "RecordFrame.h"
#include "ScheduleEditor.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace tessaly {

namespace {

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
    QString quoted(int column) const { return quotable(raw(column)); }

    bool flag(int column) {
        const QString text = trimmed(column);
        if (text == QLatin1String("1") || isWord(text, "true"))
            return true;
        if (text.isEmpty() || text == QLatin1String("0") || isWord(text, "false"))
            return false;
        refuse(QCoreApplication::translate("InterchangeImport", "%1“%2”应为TRUE/FALSE或1/0")
                   .arg(columnName(column), quoted(column)));
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
                       .arg(columnName(column), quoted(column)));
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
                       .arg(columnName(column), quoted(column), QString::number(lowest),
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
            .arg(columnName(column), reader.quoted(column));
    if (*typed != fromFields)
        return QCoreApplication::translate("InterchangeImport", "%1“%2”与%3不一致")
            .arg(columnName(column), reader.quoted(column), QLatin1String(fields));
    return std::nullopt;
}

// Why the volume cannot be sent, if it cannot. A file takes what the load sends, not only the
// editor's list: what the player gave back (a volume above 38) is exported and must come back.
std::optional<QString> volumeProblem(const RowReader& reader, int column) {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = reader.trimmed(column);
    bool ok = false;
    const int volume = text.toInt(&ok);
    if (ok && volume >= 0 && volume <= MaxByteValue)
        return std::nullopt;
    if (wholeNumber.match(text).hasMatch())
        return QCoreApplication::translate("InterchangeImport", "音量%1超出0-%2")
            .arg(quotable(text), QString::number(MaxByteValue));
    return QCoreApplication::translate("InterchangeImport", "音量“%1”不是0-%2的整数")
        .arg(reader.quoted(column), QString::number(MaxByteValue));
}

// The program of one row, or why the editor or the load would refuse it. The set label and
// the duplicate rule come later, with the other rows.
struct RowOutcome {
    ProgramRecord record;
    std::optional<QString> problem;
};

// The first value that holds a control character: no value of a program does, and a number
// would otherwise be read up to it (a volume "2<NUL>5" as 2).
std::optional<QString> controlProblem(const RowReader& reader) {
    for (int column = 0; column < programColumns().size(); ++column)
        if (hasControlCharacter(reader.raw(column)))
            return QCoreApplication::translate("InterchangeImport", "%1“%2”含有控制字符")
                .arg(columnName(column), reader.quoted(column));
    return std::nullopt;
}

RowOutcome readRow(const ImportRow& row, const ImportOptions& options) {
    static const RowColumns columns;
    RowReader reader(row);
    RowOutcome outcome;
    ProgramRecord& r = outcome.record;
    if ((outcome.problem = controlProblem(reader)))
        return outcome;

    EntryForm form;
    for (std::size_t i = 0; i < form.times.size(); ++i)
        form.times[i] = reader.box(columns.times[i]);
    // An empty volume is the editor's empty list; its range comes once the editor's checks pass.
    form.volumeChosen = !reader.trimmed(columns.volume).isEmpty();
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
    if (const auto wrong = volumeProblem(reader, columns.volume)) {
        outcome.problem = wrong;
        return outcome;
    }
    r.YinLiang = reader.trimmed(columns.volume).toInt();
    if (auto wrong = timeDisagrees(reader, columns.startTime, r.KSTime, "KS1-KS3")) {
        outcome.problem = wrong;
        return outcome;
    }
    if (auto wrong = timeDisagrees(reader, columns.endTime, r.JSTime, "JS1-JS3")) {
        outcome.problem = wrong;
        return outcome;
    }

    if (r.MP3 == r.ShouYin) {
        outcome.problem =
            QCoreApplication::translate("InterchangeImport",
                                        "MP3“%1”与ShouYin“%2”应一个为1、一个为0（MP3或收音）")
                .arg(reader.quoted(columns.mp3), reader.quoted(columns.radio));
        return outcome;
    }

    r.JMTaoNo = options.set ? setLabel(*options.set) : reader.trimmed(columns.set);
    if (!setNumber(r.JMTaoNo)) {
        outcome.problem =
            QCoreApplication::translate("InterchangeImport", "JMTaoNo“%1”不是%2至%3之一")
                .arg(reader.quoted(columns.set), setLabel(FirstSet), setLabel(LastSet));
        return outcome;
    }
    const QString marker = reader.trimmed(columns.marker);
    if (!marker.isEmpty() && marker != priorityMarker()) {
        outcome.problem = QCoreApplication::translate("InterchangeImport", "YXCX“%1”应为“%2”或空")
                              .arg(reader.quoted(columns.marker), priorityMarker());
        return outcome;
    }
    r.YXCX = marker.isEmpty() ? QStringLiteral("") : priorityMarker();
    r.OrderNo = reader.trimmed(columns.orderNo);
    if (!r.OrderNo.isEmpty() && (r.OrderNo.size() > 3 || !isDigits(r.OrderNo))) {
        outcome.problem =
            QCoreApplication::translate("InterchangeImport", "序号OrderNo“%1”不是三位以内的数字")
                .arg(quotable(r.OrderNo));
        return outcome;
    }
    // A spreadsheet drops the leading zeros ("7" for "007").
    if (!r.OrderNo.isEmpty())
        r.OrderNo = formatOrderNo(r.OrderNo.toInt());
    for (std::size_t i = 0; i < r.QuMu.size(); ++i) {
        r.QuMu[i] = reader.raw(columns.tracks[i]);
        if (!encodeTrack(r.QuMu[i])) {
            outcome.problem =
                QCoreApplication::translate("InterchangeImport", "曲目%1“%2”不是三位以内的数字")
                    .arg(columnName(columns.tracks[i]), quotable(r.QuMu[i]));
            return outcome;
        }
    }
    return outcome;
}

} // namespace

CheckedImport
checkImportRows(const QList<ImportRow>& rows, const ImportOptions& options,
                const std::function<QList<ProgramRecord>(const QString&)>& keptPrograms) {
    CheckedImport checked;
    QHash<QString, StartTally> tallies;
    const auto tallyOf = [&](const QString& label) -> StartTally& {
        auto found = tallies.find(label);
        if (found == tallies.end()) {
            found = tallies.insert(label, StartTally{});
            for (const ProgramRecord& kept : keptPrograms(label))
                found->add(kept);
        }
        return *found;
    };
    for (const ImportRow& row : rows) {
        RowOutcome outcome = readRow(row, options);
        if (!outcome.problem) {
            StartTally& tally = tallyOf(outcome.record.JMTaoNo);
            if (tally.clashes(outcome.record))
                outcome.problem = duplicateFailure().message;
            else if (tally.count() >= ScheduleEditor::MaxProgramsPerSet)
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

} // namespace tessaly
