// A load of 20 programs through a serial device server (ser2net, raw and RFC 2217) to
// tessaly-player-sim on a pseudo-terminal, in real time, through the same routed link the
// program uses. Two figures per mode: the pace of the program frames as the player received
// them, against the 500 ms the protocol asks between them (1.00 is the floor), and the longest
// stall of the event loop while the load ran (the window must stay live).
#include "BenchDatabase.h"
#include "BenchMain.h"
#include "PlayerLog.h"
#include "PlayerProcess.h"
#include "ProgramLoad.h"
#include "RealClock.h"
#include "RoutedSerialLink.h"
#include "Ser2Net.h"
#include "Session.h"
#include "StallMeter.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

using namespace tessaly;
using namespace tessaly::bench;
using Mode = tessaly::testing::Ser2NetProcess::Mode;

namespace {

constexpr int Programs = 20;
constexpr int LoadedSet = 2;
// The player clears in 900 ms, so its answer stands ready for the first poll.
constexpr int PlayerClearMs = 900;

QList<ProgramRecord> programsOfOneSet() {
    QList<ProgramRecord> programs;
    for (int i = 0; i < Programs; ++i)
        programs.append(programAt(setLabel(LoadedSet), i));
    return programs;
}

// The mean gap and the widest gap between program frames, each over the protocol's 500 ms.
struct Pace {
    double mean = 0;
    double widest = 0;
};

Pace paceOf(const QList<qint64>& times) {
    Pace pace;
    for (qsizetype i = 1; i < times.size(); ++i)
        pace.widest = std::max(pace.widest, double(times[i] - times[i - 1]) / RecordPacingMs);
    pace.mean = double(times.last() - times.first()) / double((times.size() - 1) * RecordPacingMs);
    return pace;
}

void runNetworkLoad(benchmark::State& state, Mode mode) {
    BenchDatabase pc(programsOfOneSet());
    const QString log = pc.folder.filePath(QStringLiteral("player.log"));
    testing::PlayerProcess player(QStringLiteral(TESSALY_PLAYER_SIM),
                                  {QStringLiteral("--clear-delay"), QString::number(PlayerClearMs),
                                   QStringLiteral("--log"), log});
    testing::Ser2NetProcess server(player.device(), mode);
    if (player.device().isEmpty() || !server.started()) {
        state.SkipWithError("tessaly-player-sim or ser2net did not start");
        return;
    }

    for (auto _ : state) {
        Session session;
        RealClock clock;
        RoutedSerialLink serial(PortMap({{1, server.url()}}, {}));
        DeviceChannel channel(serial, session.link);
        LoadObserver quiet;
        ProgramLoad load({channel, clock, pc.data.database(), session}, quiet);
        StallMeter stalls;
        QElapsedTimer total;
        total.start();
        const LoadResult result = QCoro::waitFor(load.loadSet(LoadedSet));
        state.SetIterationTime(double(total.elapsed()) / 1000.0);
        const QList<qint64> times = testing::recordTimes(testing::heard(log));
        if (!result.succeeded() || times.size() != Programs) {
            state.SkipWithError("the load failed, or the player did not receive every program");
            return;
        }
        const Pace pace = paceOf(times);
        state.counters["programs"] = Programs;
        state.counters["pace_ratio"] = pace.mean;
        state.counters["widest_gap_ratio"] = pace.widest;
        state.counters["longest_stall_ms"] = double(stalls.longestMs());
        state.counters["total_ms"] = double(total.elapsed());
    }
}

void BM_LoadSetOf20OverSer2NetRaw(benchmark::State& state) {
    runNetworkLoad(state, Mode::Raw);
}
BENCHMARK(BM_LoadSetOf20OverSer2NetRaw)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LoadSetOf20OverSer2NetRfc2217(benchmark::State& state) {
    runNetworkLoad(state, Mode::Rfc2217);
}
BENCHMARK(BM_LoadSetOf20OverSer2NetRfc2217)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    return runBenchmarks(argc, argv);
}
