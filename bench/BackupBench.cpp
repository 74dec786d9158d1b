// A backup of a database whose four sets are full (4 x 999 programs), as taken before every
// change that replaces or deletes programs, and a restore of one. The backup includes writing
// the snapshot to disk, its rename and the pruning of the folder to the newest 30.
#include "Backups.h"
#include "BenchDatabase.h"
#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>

using namespace tessaly;

namespace {

struct FullDatabase : bench::BenchDatabase {
    FullDatabase() : BenchDatabase({1, 2, 3, 4}) {}
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
    // Two sources that differ in their settings row, restored in turn: a restore of what the
    // tables hold already would change nothing and take no backup. Kept outside backups/, where
    // the pruning would take them once 30 newer ones are there.
    QStringList sources;
    for (int preheat : {1, 2}) {
        QSqlQuery(db.data.database())
            .exec(QStringLiteral("UPDATE SysTab SET JM1YR = %1").arg(preheat));
        sources.append(db.folder.filePath(QStringLiteral("source%1.mdb").arg(preheat)));
        QFile::copy(takeBackup(db.data.database(), QStringLiteral("copy"), &error).value(),
                    sources.last());
    }
    int next = 0;
    for (auto _ : state) {
        const auto result = restoreBackup(db.data.database(), sources[next++ % 2]);
        if (result.end != RestoreEnd::Restored)
            state.SkipWithError(qPrintable(result.message + QLatin1Char(' ') + result.detail));
    }
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return tessaly::bench::runBenchmarks(argc, argv);
}
