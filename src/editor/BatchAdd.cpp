#include "BatchAdd.h"

#include "EntryChecks.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ScheduleEditor.h"
#include "SqlSupport.h"
#include "Transaction.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly {

namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The six time boxes as the editor would show this start and end.
std::array<QString, 6> timeBoxes(const QTime& start, const QTime& end) {
    return {twoDigits(start.hour()), twoDigits(start.minute()), twoDigits(start.second()),
            twoDigits(end.hour()),   twoDigits(end.minute()),   twoDigits(end.second())};
}

// The program of one readable line, completed as the editor's save completes it.
ProgramRecord lineProgram(const BatchTemplate& shared, const std::array<QString, 6>& boxes) {
    ProgramRecord program = shared.program;
    program.AutoID = 0;
    program.OrderNo.clear();
    applyTimes(program, boxes);
    if (program.ShouYin)
        for (std::size_t i = 1; i < program.QuMu.size(); ++i)
            program.QuMu[i] = QStringLiteral("");
    return program;
}

BatchLine checkLine(const BatchTemplate& shared, const TimeList::Entry& entry, StartTally& tally) {
    BatchLine line;
    line.item = entry.item;
    if (entry.problem) {
        line.verdict = entry.problem->reason;
        return line;
    }
    const QTime end = entry.item.end.value_or(entry.item.start.addSecs(shared.durationSeconds));
    EntryForm form;
    form.times = timeBoxes(entry.item.start, end);
    form.volumeChosen = shared.volumeChosen;
    // The pre-heat and delay boxes belong to the editor window, not to a program.
    form.preheat = form.delay = QStringLiteral("0");
    form.weekdays = shared.program.Week;
    line.program = lineProgram(shared, form.times);
    if (const auto failure = checkEntry(form).failure)
        line.verdict = failure->message;
    else if (tally.clashes(line.program))
        line.verdict = duplicateFailure().message;
    else if (tally.count() >= ScheduleEditor::MaxProgramsPerSet)
        line.verdict = setFullMessage(line.program.JMTaoNo);
    else
        tally.add(line.program);
    return line;
}

} // namespace

BatchTemplate copyTemplate(const ProgramRecord& program) {
    BatchTemplate shared;
    shared.program = program;
    // Programs read back from the player may carry a volume the list does not offer; the copy
    // keeps what the program has.
    shared.volumeChosen = true;
    const int duration = program.KSTime.isValid() && program.JSTime.isValid()
                             ? program.KSTime.secsTo(program.JSTime)
                             : 0;
    // An end before the start plays across midnight.
    shared.durationSeconds = (duration % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
    return shared;
}

QString BatchLine::message() const {
    return QCoreApplication::translate("TimeList", "第%1行：%2").arg(item.line).arg(verdict);
}

int BatchCheck::refusedCount() const {
    return int(std::count_if(lines.begin(), lines.end(),
                             [](const BatchLine& line) { return !line.accepted(); }));
}

BatchCheck checkBatch(const BatchTemplate& shared, const QString& times,
                      const QList<ProgramRecord>& stored) {
    BatchCheck check;
    StartTally tally;
    for (const ProgramRecord& program : stored)
        tally.add(program);
    for (const TimeList::Entry& entry : readTimeList(times).entries)
        check.lines.append(checkLine(shared, entry, tally));
    return check;
}

BatchOutcome addBatch(const QSqlDatabase& db, const BatchTemplate& shared, const QString& times) {
    BatchOutcome outcome;
    const QString& label = shared.program.JMTaoNo;
    Transaction transaction(db);
    if (!transaction.isActive()) {
        outcome.error = transaction.errorText();
        return outcome;
    }
    ProgramStore store(db);
    const auto stored =
        store.programsOfSet(ProgramTable::MusicTab, label, SetRows::All, &outcome.error);
    if (!stored)
        return outcome;
    outcome.check = checkBatch(shared, times, *stored);
    if (!outcome.check.canAdd())
        return outcome;

    // Numbered after the set for the moment; the renumbering puts them in start order.
    QList<ProgramRecord> programs;
    for (const BatchLine& line : outcome.check.lines) {
        programs.append(line.program);
        programs.last().OrderNo = formatOrderNo(
            std::min(int(stored->size() + programs.size()), ScheduleEditor::MaxProgramsPerSet));
    }
    if (!store.insertAll(ProgramTable::MusicTab, programs, &outcome.error) ||
        !renumberProgramSet(db, label, &outcome.error) || !transaction.commit(&outcome.error))
        return outcome;
    outcome.added = int(programs.size());
    return outcome;
}

} // namespace tessaly
