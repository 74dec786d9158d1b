// A load of 20 programs through a serial device server (ser2net, raw and RFC 2217) to
// tessaly-player-sim on a pseudo-terminal, in real time, through the same routed link the
// program uses, with a proxy that holds every piece of traffic 150 ms each way between the PC
// and the server: a player across a network. The figures per mode: the pace of the program
// frames as the player received them, against the 500 ms the protocol asks between them (1.00
// is the floor); the time from the start of the probe to the first program frame, against the
// same on the local pseudo-terminal plus two round trips (at most 1.00: the network costs no
// more than that); and the longest stall of the event loop while the load ran (the window must
// stay live).
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
constexpr int OneWayMs = 150;
constexpr int RoundTripMs = 2 * OneWayMs;

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

// Notes when the first program frame goes out.
class FirstRecord : public LoadObserver {
public:
    FirstRecord() { m_since.start(); }
    void setStarted(int, int) override {
        if (m_ms < 0)
            m_ms = m_since.elapsed();
    }
    qint64 ms() const { return m_ms; }

private:
    QElapsedTimer m_since;
    qint64 m_ms = -1;
};

struct Run {
    bool loaded = false;
    Pace pace;
    qint64 firstRecordMs = -1;
    qint64 totalMs = 0;
    qint64 longestStallMs = 0;
};

Run loadThrough(BenchDatabase& pc, const QString& device, const QString& log) {
    Session session;
    RealClock clock;
    RoutedSerialLink serial(PortMap({{1, device}}, {}));
    DeviceChannel channel(serial, session.link);
    FirstRecord first;
    ProgramLoad load({channel, clock, pc.data.database(), session}, first);
    StallMeter stalls;
    QElapsedTimer total;
    total.start();
    const LoadResult result = QCoro::waitFor(load.loadSet(LoadedSet));
    Run run;
    run.totalMs = total.elapsed();
    run.longestStallMs = stalls.longestMs();
    const QList<qint64> times = testing::recordTimes(testing::heard(log));
    run.loaded = result.succeeded() && times.size() == Programs;
    if (run.loaded)
        run.pace = paceOf(times);
    run.firstRecordMs = first.ms();
    return run;
}

// The same load on the player's own pseudo-terminal, once per process.
qint64 localFirstRecordMs(BenchDatabase& pc) {
    static const qint64 local = [&pc] {
        const QString log = pc.folder.filePath(QStringLiteral("local.log"));
        testing::PlayerProcess player(QStringLiteral(TESSALY_PLAYER_SIM),
                                      {QStringLiteral("--clear-delay"),
                                       QString::number(PlayerClearMs), QStringLiteral("--log"),
                                       log});
        const Run run = loadThrough(pc, player.device(), log);
        return run.loaded ? run.firstRecordMs : qint64(-1);
    }();
    return local;
}

void runNetworkLoad(benchmark::State& state, Mode mode) {
    BenchDatabase pc(programsOfOneSet());
    const qint64 local = localFirstRecordMs(pc);
    const QString log = pc.folder.filePath(QStringLiteral("player.log"));
    testing::PlayerProcess player(QStringLiteral(TESSALY_PLAYER_SIM),
                                  {QStringLiteral("--clear-delay"), QString::number(PlayerClearMs),
                                   QStringLiteral("--log"), log});
    testing::Ser2NetProcess server(player.device(), mode);
    if (player.device().isEmpty() || !server.started() || local < 0) {
        state.SkipWithError(
            "tessaly-player-sim or ser2net did not start, or the local load failed");
        return;
    }
    testing::DelayingProxy slow(server.port(), OneWayMs);
    const QString url = QStringLiteral("%1://127.0.0.1:%2")
                            .arg(mode == Mode::Raw ? "socket" : "rfc2217")
                            .arg(slow.port());

    for (auto _ : state) {
        const Run run = loadThrough(pc, url, log);
        state.SetIterationTime(double(run.totalMs) / 1000.0);
        if (!run.loaded) {
            state.SkipWithError("the load failed, or the player did not receive every program");
            return;
        }
        state.counters["programs"] = Programs;
        state.counters["pace_ratio"] = run.pace.mean;
        state.counters["widest_gap_ratio"] = run.pace.widest;
        state.counters["first_record_ms"] = double(run.firstRecordMs);
        state.counters["local_first_record_ms"] = double(local);
        state.counters["first_record_ratio"] =
            double(run.firstRecordMs) / double(local + 2 * RoundTripMs);
        state.counters["longest_stall_ms"] = double(run.longestStallMs);
        state.counters["total_ms"] = double(run.totalMs);
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
