// Export and import of a full database, four sets of 999 programs, as CSV and as JSON. The
// import replaces all four sets each time: read, every row checked, one transaction with the
// renumbering of each set.
#include "BenchDatabase.h"
#include "BenchMain.h"
#include "DataModule.h"
#include "EntryChecks.h"
#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "PlayerDatabase.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ScheduleEditor.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

ProgramRecord programAt(int set, int index) {
    ProgramRecord record = newProgramDefaults();
    record.JMTaoNo = setLabel(set);
    record.YXCX = index % 5 == 0 ? priorityMarker() : QStringLiteral("");
    record.OrderNo = formatOrderNo(index + 1);
    const int second = 60 + index * 80; // 00:01:00 onwards, 80 s apart
    record.KS1 = second / 3600, record.KS2 = second / 60 % 60, record.KS3 = second % 60;
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JS1 = 23, record.JSTime = QTime(23, 0);
    record.QuMu[0] = formatOrderNo(index);
    record.FQ[index % 32] = true;
    return record;
}

// Four full sets of varied programs.
bench::BenchDatabase fullDatabase() {
    QList<ProgramRecord> programs;
    for (int set = FirstSet; set <= LastSet; ++set)
        for (int i = 0; i < bench::FullSet; ++i)
            programs.append(programAt(set, i));
    return bench::BenchDatabase(programs);
}

void exportAll(benchmark::State& state, InterchangeFormat format) {
    const bench::BenchDatabase db = fullDatabase();
    for (auto _ : state) {
        const auto programs = programsForExport(db.data.database(), ProgramTable::MusicTab, {});
        const QByteArray bytes = writePrograms(*programs, format);
        benchmark::DoNotOptimize(bytes.size());
        state.counters["programs"] = double(programs->size());
        state.counters["bytes"] = double(bytes.size());
    }
}

void importAll(benchmark::State& state, InterchangeFormat format) {
    const bench::BenchDatabase db = fullDatabase();
    const auto programs = programsForExport(db.data.database(), ProgramTable::MusicTab, {});
    const QByteArray bytes = writePrograms(*programs, format);
    for (auto _ : state) {
        const ImportResult result =
            importPrograms(db.data.database(), bytes, format, ImportOptions{std::nullopt, true});
        if (!result.succeeded() || result.imported != LastSet * bench::FullSet)
            state.SkipWithError("the import failed");
    }
}

// The import's own part, without the database: parse and check every row.
void BM_ReadAndCheckCsv(benchmark::State& state) {
    const bench::BenchDatabase db = fullDatabase();
    const auto programs = programsForExport(db.data.database(), ProgramTable::MusicTab, {});
    const QByteArray bytes = writePrograms(*programs, InterchangeFormat::Csv);
    for (auto _ : state) {
        const ParsedImport parsed = parseImport(bytes, InterchangeFormat::Csv);
        const CheckedImport checked =
            checkImportRows(parsed.rows, {}, [](const QString&) { return QList<ProgramRecord>(); });
        if (checked.records.size() != LastSet * bench::FullSet)
            state.SkipWithError("rows refused");
    }
}
BENCHMARK(BM_ReadAndCheckCsv)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_ExportCsv(benchmark::State& state) {
    exportAll(state, InterchangeFormat::Csv);
}
void BM_ExportJson(benchmark::State& state) {
    exportAll(state, InterchangeFormat::Json);
}
void BM_ImportCsv(benchmark::State& state) {
    importAll(state, InterchangeFormat::Csv);
}
void BM_ImportJson(benchmark::State& state) {
    importAll(state, InterchangeFormat::Json);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ExportJson)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ImportJson)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return tessaly::bench::runBenchmarks(argc, argv);
}
