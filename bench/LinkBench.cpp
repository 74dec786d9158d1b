// The record frame both ways: every load encodes each program once, every read decodes each
// frame once, so these bound the CPU side of a transfer.
#include "RecordFrame.h"

#include <benchmark/benchmark.h>

using namespace tessaly;

namespace {

ProgramRecord sampleProgram() {
    ProgramRecord record;
    record.OrderNo = QStringLiteral("042");
    record.KS1 = 7, record.KS2 = 30, record.KS3 = 5;
    record.JS1 = 8, record.JS2 = 0, record.JS3 = 0;
    record.KSTime = QTime(7, 30, 5);
    record.JSTime = QTime(8, 0, 0);
    record.JMTaoNo = QStringLiteral("第二套");
    record.Week = {true, true, true, true, true, false, false};
    record.QuMu = {QStringLiteral("123"), QStringLiteral("005"), QStringLiteral("000"),
                   QStringLiteral("999"), QStringLiteral("010"), QStringLiteral("001")};
    record.YinLiang = 22;
    record.FQ[0] = record.FQ[5] = record.FQ[31] = true;
    return record;
}

void BM_BuildRecordFrame(benchmark::State& state) {
    const ProgramRecord record = sampleProgram();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRecordFrame(record, 100, 42, 2));
}
BENCHMARK(BM_BuildRecordFrame)->Repetitions(5)->ReportAggregatesOnly();

void BM_DecodeRecordFrame(benchmark::State& state) {
    const RecordFrame frame = *BuildRecordFrame(sampleProgram(), 100, 42, 2).frame;
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeRecordFrame(frame));
}
BENCHMARK(BM_DecodeRecordFrame)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
