#include "ProgramMoves.h"

#include "ProgramStore.h"
#include "ScheduleEditor.h"
#include "Session.h"
#include "WeekLayout.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly {

namespace {

// The volume list of the editor offers 0 to 38; any other volume has to be chosen first.
constexpr int LargestVolume = 38;

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The six time boxes as the editor would show the start and end; midnight at the end of the
// day is written 00:00:00, as the editor stores it.
std::array<QString, 6> timeTexts(int start, int end) {
    end %= week::SecondsPerDay;
    return {twoDigits(start / 3600), twoDigits(start / 60 % 60), twoDigits(start % 60),
            twoDigits(end / 3600),   twoDigits(end / 60 % 60),   twoDigits(end % 60)};
}

// The end as a second of the day; an end at 00:00:00 after a later start is midnight.
int dayEndOf(const ProgramRecord& program) {
    const int end = endSecondOf(program);
    return end == 0 && startSecondOf(program) > 0 ? week::SecondsPerDay : end;
}

EntryFailure programGoneFailure() {
    return {QCoreApplication::translate("ProgramMoves", "该程序已不存在，无法移动！"), QString()};
}

} // namespace

EntryFailure outOfDayFailure() {
    return {QCoreApplication::translate("ProgramMoves", "程序只能在当天之内移动！"), QString()};
}

ProgramMoves::ProgramMoves(ScheduleEditor& editor) : m_editor(editor) {}

int ProgramMoves::shiftWithinDay(const ProgramRecord& program, int seconds) {
    const int start = startSecondOf(program);
    const int end = dayEndOf(program);
    // An end that reached 00:00:00 would read as midnight: it stops a second before.
    const int earliest = std::max(-start, end > 0 ? 1 - end : 0);
    const int latest = std::min(week::SecondsPerDay - 1 - start, week::SecondsPerDay - end);
    return std::clamp(seconds, earliest, std::max(earliest, latest));
}

ProgramMoves::Outcome ProgramMoves::move(qint64 autoId, const QString& setLabel, int seconds) {
    const Step step{autoId, setLabel, seconds};
    Outcome outcome = store(step);
    if (!outcome.failure && outcome.seconds != 0) {
        m_done.append(step);
        m_undone.clear();
    }
    return outcome;
}

ProgramMoves::Outcome ProgramMoves::undo() {
    if (m_done.isEmpty())
        return {};
    Step back = m_done.last();
    back.seconds = -back.seconds;
    const Outcome outcome = store(back);
    if (!outcome.failure)
        m_undone.append(m_done.takeLast());
    return outcome;
}

ProgramMoves::Outcome ProgramMoves::redo() {
    if (m_undone.isEmpty())
        return {};
    const Outcome outcome = store(m_undone.last());
    if (!outcome.failure)
        m_done.append(m_undone.takeLast());
    return outcome;
}

ProgramMoves::Outcome ProgramMoves::store(const Step& step) {
    Outcome outcome;
    outcome.autoId = step.autoId;
    const auto programs =
        ProgramStore(m_editor.database()).programsOfSet(ProgramTable::MusicTab, step.setLabel);
    const auto found =
        programs ? std::find_if(programs->cbegin(), programs->cend(),
                                [&](const ProgramRecord& p) { return p.AutoID == step.autoId; })
                 : QList<ProgramRecord>::const_iterator();
    if (!programs || found == programs->cend()) {
        outcome.failure = programGoneFailure();
        return outcome;
    }
    const ProgramRecord& program = *found;
    if (step.seconds == 0)
        return outcome;
    if (shiftWithinDay(program, step.seconds) != step.seconds) {
        outcome.failure = outOfDayFailure();
        return outcome;
    }

    // Saved as the editor saves an edited program whose start boxes were changed.
    ScheduleEditor::SaveRequest request;
    request.pending = program;
    request.isNew = false;
    const Session& session = m_editor.session();
    request.form = {
        timeTexts(startSecondOf(program) + step.seconds, dayEndOf(program) + step.seconds),
        program.YinLiang >= 0 && program.YinLiang <= LargestVolume,
        QString::number(session.PreheatMinutes), QString::number(session.DelayMinutes),
        program.Week};
    request.priority = isPriority(program);
    request.setLabel = program.JMTaoNo;
    request.editStartTime = {program.KS1, program.KS2, program.KS3};
    const auto saved = m_editor.save(request);
    if (saved.failure)
        outcome.failure = saved.failure;
    else
        outcome.seconds = step.seconds;
    return outcome;
}

} // namespace tessaly
