// Loads in real time against tessaly-player-sim on a pseudo-terminal, through the real serial
// code. Two figures per load: the longest stall of the event loop while it ran (the window
// must stay live), and how far the total time lies above the protocol's own floor.
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PosixSerialLink.h"
#include "ProgramLoad.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "RealClock.h"
#include "StallMeter.h"
#include "TracingSerialLink.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

using namespace tessaly;
using tessaly::bench::StallMeter;

namespace {

constexpr int SetProbeWaitsMs = 30 + 10 + 20 + 500;
constexpr int WholeDeviceProbeWaitsMs = 30 + 10 + 20 + 600;
// The player clears in 900 ms, so its answer stands ready for the first poll: the clear costs
// one poll period, the least any player can cost.
constexpr int PlayerClearMs = 900;
constexpr int ClearSeenAfterMs = ClearPollIntervalMs;

ProgramRecord program(int set, int number) {
    ProgramRecord record;
    record.OrderNo = formatOrderNo(number);
    record.JMTaoNo = setLabel(set);
    record.YXCX = QStringLiteral("");
    record.KS1 = record.JS1 = number % 24;
    record.JS2 = 30;
    record.KSTime = timeOfDay(record.KS1, 0, 0);
    record.JSTime = timeOfDay(record.JS1, 30, 0);
    record.Week = {true, true, true, true, true, true, true};
    record.QuMu = {formatOrderNo(number), QStringLiteral("000"), QStringLiteral("000"),
                   QStringLiteral("000"), QStringLiteral("000"), QStringLiteral("000")};
    record.YinLiang = 20;
    record.FQ[number % 32] = true;
    return record;
}

// A database with the given number of programs in each set, and the simulated player.
struct LoadBed {
    explicit LoadBed(const std::array<int, LastSet>& programsPerSet) {
        QString error;
        if (!createPlayerDatabase(folder.filePath(databaseFileName()), &error))
            qFatal("cannot lay the database: %s", qPrintable(error));
        ScriptedPrompter quiet;
        if (!data.ConnectDatabase(quiet, folder.path()))
            qFatal("cannot open the database");
        ProgramStore store(data.database());
        auto transaction = store.beginTransaction();
        for (int set = FirstSet; set <= LastSet; ++set)
            for (int number = 1; number <= programsPerSet[set - 1]; ++number)
                store.insert(ProgramTable::MusicTab, program(set, number));
        if (!transaction.commit(&error))
            qFatal("cannot store the programs: %s", qPrintable(error));
        player.start(QStringLiteral(TESSALY_PLAYER_SIM),
                     {QStringLiteral("--clear-delay"), QString::number(PlayerClearMs)});
        if (!player.waitForStarted(5000) || !player.waitForReadyRead(5000))
            qFatal("tessaly-player-sim did not start");
        device = QString::fromLocal8Bit(player.readLine()).trimmed();
    }
    ~LoadBed() {
        player.terminate();
        if (!player.waitForFinished(5000))
            player.kill();
    }

    QTemporaryDir folder;
    DataModule data;
    QProcess player;
    QString device;
};

void runLoad(benchmark::State& state, const std::array<int, LastSet>& programsPerSet,
             bool wholeDevice, bool traced = false) {
    LoadBed bed(programsPerSet);
    int programs = 0;
    for (const int count : programsPerSet)
        programs += count;
    const qint64 floorMs =
        (wholeDevice ? WholeDeviceProbeWaitsMs + LastSet * SetPauseMs : SetProbeWaitsMs) +
        ClearSettleMs + ClearSeenAfterMs + qint64(programs) * RecordPacingMs;

    for (auto _ : state) {
        Session session;
        RealClock clock;
        PosixSerialLink posix(PortMap({{1, bed.device}}, {}));
        // With the traffic log on, every frame is also appended to a file.
        std::optional<TracingSerialLink> logged;
        if (traced)
            logged.emplace(posix, bed.folder.filePath(QStringLiteral("traffic.log")));
        SerialLink& serial = logged ? static_cast<SerialLink&>(*logged) : posix;
        DeviceChannel channel(serial, session.link);
        LoadObserver quiet;
        ProgramLoad load({channel, clock, bed.data.database(), session}, quiet);
        StallMeter stalls;
        QElapsedTimer total;
        total.start();
        const LoadResult result =
            QCoro::waitFor(wholeDevice ? load.loadWholeDevice() : load.loadSet(2));
        const qint64 totalMs = total.elapsed();
        if (!result.succeeded())
            state.SkipWithError("the load failed");
        state.SetIterationTime(double(totalMs) / 1000.0);
        state.counters["programs"] = programs;
        state.counters["longest_stall_ms"] = double(stalls.longestMs());
        state.counters["total_ms"] = double(totalMs);
        state.counters["floor_ms"] = double(floorMs);
        state.counters["above_floor_pct"] = 100.0 * double(totalMs - floorMs) / double(floorMs);
    }
}

void BM_LoadSetOf20(benchmark::State& state) {
    runLoad(state, {0, 20, 0, 0}, false);
}
BENCHMARK(BM_LoadSetOf20)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadSetOf20Traced(benchmark::State& state) {
    runLoad(state, {0, 20, 0, 0}, false, true);
}
BENCHMARK(BM_LoadSetOf20Traced)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadWholeDevice(benchmark::State& state) {
    runLoad(state, {5, 5, 5, 5}, true);
}
BENCHMARK(BM_LoadWholeDevice)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
