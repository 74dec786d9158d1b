// The editor on a full set of 999 programs: opening the window, saving one program (checks,
// post and the renumbering of the whole set), deleting one, and copying the set over another;
// and a batch of 255 programs, a full player set, checked and added at once.
// Every change runs in one transaction; row-by-row autocommit would take seconds here.
#include "BatchAdd.h"
#include "BenchDatabase.h"
#include "DataModule.h"
#include "EditorWindow.h"
#include "PlayerDatabase.h"
#include "ProgramListModel.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ScheduleEditor.h"
#include "Session.h"
#include "Transaction.h"
#include "VirtualClock.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace tessaly;

namespace {

using bench::FullSet;
static_assert(FullSet == ScheduleEditor::MaxProgramsPerSet);

// A database with 999 programs in each of sets 1 and 2.
struct EditorBenchDatabase : bench::BenchDatabase {
    EditorBenchDatabase() : BenchDatabase({1, 2}) {}

    Session session;
    VirtualClock clock;
};

void BM_OpenEditor(benchmark::State& state) {
    EditorBenchDatabase db;
    for (auto _ : state) {
        EditorWindow window(db.clock, db.prompter, db.data.database(), db.session);
        benchmark::DoNotOptimize(window.list().rowCount());
    }
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Moves the first program from the start to the end of the day and back: every save checks,
// posts and renumbers all 999 programs.
void BM_SaveProgram(benchmark::State& state) {
    EditorBenchDatabase db;
    ScheduleEditor editor(db.data.database(), db.session);
    ScheduleEditor::SaveRequest request;
    request.pending = ProgramStore(db.data.database())
                          .programsOfSet(ProgramTable::MusicTab, setLabel(1))
                          ->first();
    request.isNew = false;
    request.setLabel = setLabel(1);
    request.form.preheat = QStringLiteral("5");
    request.form.delay = QStringLiteral("5");
    request.form.weekdays = request.pending.Week;
    bool late = false;
    for (auto _ : state) {
        late = !late;
        request.form.times = {late ? "23" : "00", "59", "30", "23", "59", "59"};
        request.editStartTime = {request.pending.KS1, request.pending.KS2, request.pending.KS3};
        const auto outcome = editor.save(request);
        if (outcome.failure)
            state.SkipWithError(qPrintable(outcome.failure->message));
        request.pending = outcome.stored;
    }
}
BENCHMARK(BM_SaveProgram)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Deletes the first program (the whole set moves up by one) and puts it back untimed.
void BM_DeleteProgram(benchmark::State& state) {
    EditorBenchDatabase db;
    ScheduleEditor editor(db.data.database(), db.session);
    ProgramStore store(db.data.database());
    ProgramRecord first = store.programsOfSet(ProgramTable::MusicTab, setLabel(1))->first();
    for (auto _ : state) {
        if (!editor.deleteProgram(first.AutoID, setLabel(1), true))
            state.SkipWithError("delete failed");
        state.PauseTiming();
        first.AutoID = store.insert(ProgramTable::MusicTab, first).value_or(0);
        editor.renumberSet(setLabel(1));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteProgram)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_CopySet(benchmark::State& state) {
    EditorBenchDatabase db;
    ScheduleEditor editor(db.data.database(), db.session);
    for (auto _ : state) {
        if (!editor.copySet(setLabel(1), setLabel(2)))
            state.SkipWithError("copy failed");
    }
}
BENCHMARK(BM_CopySet)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// 255 start times five minutes apart, typed into an empty set: read, checked line by line,
// stored and numbered in one transaction. The set is emptied again outside the timing.
void BM_AddBatch(benchmark::State& state) {
    constexpr int PlayerSet = 255;
    EditorBenchDatabase db;
    ScheduleEditor editor(db.data.database(), db.session);
    QStringList lines;
    for (int i = 0; i < PlayerSet; ++i)
        lines.append(QTime(0, 0).addSecs(i * 300).toString(QStringLiteral("H:mm")));
    const QString times = lines.join(QLatin1Char('\n'));
    BatchTemplate shared;
    shared.program = newProgramDefaults();
    shared.program.JMTaoNo = setLabel(3);
    shared.program.YXCX = QStringLiteral("");
    for (auto _ : state) {
        const BatchOutcome outcome = editor.addBatch(shared, times);
        if (outcome.added != PlayerSet)
            state.SkipWithError(qPrintable(outcome.error));
        state.PauseTiming();
        editor.deleteSet(setLabel(3));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddBatch)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    return tessaly::bench::runWidgetBenchmarks(argc, argv);
}
