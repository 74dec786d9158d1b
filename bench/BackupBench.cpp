// A backup of a database whose four sets are full (4 x 999 programs), as taken before every
// change that replaces or deletes programs, and a restore of one. The backup includes writing
// the snapshot to disk, its rename and the pruning of the folder to the newest 30.
#include "Backups.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "Transaction.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

constexpr int FullSet = 999;

ProgramRecord programAt(int set, int index) {
    ProgramRecord record;
    record.JMTaoNo = setLabel(set);
    record.YXCX = QStringLiteral("");
    record.OrderNo = formatOrderNo(index + 1);
    const int second = 60 + index * 80;
    record.KS1 = second / 3600, record.KS2 = second / 60 % 60, record.KS3 = second % 60;
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JS1 = 23, record.JSTime = QTime(23, 0);
    record.Week = {true, true, true, true, true, false, false};
    record.QuMu = {"001", "002", "003", "000", "000", "000"};
    record.YinLiang = 22;
    record.FQ[0] = true;
    return record;
}

class FullDatabase {
public:
    FullDatabase() {
        createPlayerDatabase(folder.filePath(databaseFileName()), nullptr);
        data.ConnectDatabase(prompter, folder.path());
        ProgramStore store(data.database());
        Transaction transaction(data.database());
        for (int set = FirstSet; set <= LastSet; ++set)
            for (int i = 0; i < FullSet; ++i)
                store.insert(ProgramTable::MusicTab, programAt(set, i));
        transaction.commit();
    }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    DataModule data;
};

void BM_Backup(benchmark::State& state) {
    FullDatabase db;
    QString error;
    for (auto _ : state)
        if (!takeBackup(db.data.database(), QStringLiteral("read-all"), &error))
            state.SkipWithError(qPrintable(error));
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_Restore(benchmark::State& state) {
    FullDatabase db;
    QString error;
    // Kept outside backups/, where the pruning would take it once 30 newer ones are there.
    const QString backup = db.folder.filePath(QStringLiteral("source.mdb"));
    QFile::copy(takeBackup(db.data.database(), QStringLiteral("copy"), &error).value(), backup);
    for (auto _ : state) {
        const auto result = restoreBackup(db.data.database(), backup);
        if (result.end != RestoreEnd::Restored)
            state.SkipWithError(qPrintable(result.message + QLatin1Char(' ') + result.detail));
    }
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
