// Reading programs back from tessaly-player-sim on a pseudo-terminal, in real time, with the
// player paced at 9600 baud. Reported per read: the time from the read request to the end
// message against the wire floor (bytes × 1.04 ms), and the longest event-loop stall, measured
// as the lateness of a 5 ms timer that runs throughout.

#include "DataModule.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "PlayerSimulator.h"
#include "PosixSerialLink.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "RealClock.h"
#include "Session.h"
#include "SetRead.h"
#include "StallMeter.h"
#include "WholeDeviceRead.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace tessaly;
using tessaly::bench::StallMeter;

namespace {

constexpr double MsPerByte = 10.0 * 1000.0 / 9600.0; // start, 8 data and stop bit

ProgramRecord program(int order, int set) {
    ProgramRecord record;
    record.OrderNo = formatOrderNo(order);
    record.JMTaoNo = setLabel(set);
    record.KS1 = order % 24, record.KS2 = order % 60, record.KS3 = 0;
    record.JS1 = order % 24, record.JS2 = 59, record.JS3 = 59;
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JSTime = timeOfDay(record.JS1, record.JS2, record.JS3);
    record.Week = {true, true, true, true, true, false, false};
    record.QuMu = {QStringLiteral("123"), QStringLiteral("005")};
    record.YinLiang = 20;
    record.FQ[0] = true;
    return record;
}

// The player's state file with `counts[s]` programs in set s + 1.
QString writeState(const QTemporaryDir& folder, const std::array<int, 4>& counts) {
    PlayerSimulator player;
    for (int set = 1; set <= 4; ++set) {
        std::vector<RecordFrame> frames;
        const int count = counts[std::size_t(set - 1)];
        for (int i = 1; i <= count; ++i)
            frames.push_back(*BuildRecordFrame(program(i, set), count, i, set).frame);
        player.setPrograms(set, frames);
    }
    const QString path = folder.filePath(QStringLiteral("player.json"));
    player.saveState(path);
    return path;
}

// The PC side: a database, the serial code on the player's pty, real time.
struct Pc {
    explicit Pc(const QString& device) : serial(PortMap({{1, device}}, {})) {
        createPlayerDatabase(folder.filePath(databaseFileName()), nullptr);
        data.ConnectDatabaseFile(prompter, folder.filePath(databaseFileName()));
        channel.openPort();
        channel.setLine();
    }
    ReadContext context() { return {channel, clock, prompter, session, data.database()}; }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    DataModule data;
    Session session;
    RealClock clock;
    PosixSerialLink serial;
    DeviceChannel channel{serial, session.link};
};

// What the read dialog does from its request to its message: collect, then decode and store.
QCoro::Task<SetReadEnd> requestToMessage(Pc& pc, int set) {
    ReplyCollector collector(pc.channel, pc.clock);
    ReadObserver quiet;
    collector.Read(set);
    if (co_await collector.collect(quiet) != CollectResult::Complete)
        co_return SetReadEnd::ReadFailed;
    ProgramStore store(pc.data.database());
    co_return DataAnalyze(store, collector.buffer().bytes(), quiet).end;
}

void report(benchmark::State& state, double floorMs, double totalMs, qint64 longestStall) {
    const double iterations = double(state.iterations());
    state.counters["floor_ms"] = floorMs;
    state.counters["request_to_message_ms"] = totalMs / iterations;
    state.counters["over_floor_ms"] = totalMs / iterations - floorMs;
    state.counters["longest_stall_ms"] = double(longestStall);
}

void BM_SetRead(benchmark::State& state) {
    const int count = int(state.range(0));
    QTemporaryDir folder;
    testing::PlayerProcess player(
        QStringLiteral(TESSALY_PLAYER_SIM),
        {QStringLiteral("--state"), writeState(folder, {count, 0, 0, 0})});
    Pc pc(player.device());
    double totalMs = 0;
    qint64 stall = 0;
    for (auto _ : state) {
        StallMeter meter;
        QElapsedTimer elapsed;
        elapsed.start();
        const auto end = QCoro::waitFor(requestToMessage(pc, 1));
        const double ms = double(elapsed.nsecsElapsed()) / 1e6;
        if (end != SetReadEnd::Completed)
            state.SkipWithError("the read did not complete");
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
        stall = std::max(stall, meter.longestMs());
    }
    report(state, count * frame::RecordLength * MsPerByte, totalMs, stall);
}
BENCHMARK(BM_SetRead)
    ->Arg(1)
    ->Arg(20)
    ->Arg(156)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Four sets of 20 programs: the probe, the pauses before each set and after the last, and the
// wire time of every reply make the floor.
void BM_WholeDeviceRead(benchmark::State& state) {
    QTemporaryDir folder;
    testing::PlayerProcess player(
        QStringLiteral(TESSALY_PLAYER_SIM),
        {QStringLiteral("--state"), writeState(folder, {20, 20, 20, 20})});
    Pc pc(player.device());
    double totalMs = 0;
    qint64 stall = 0;
    for (auto _ : state) {
        ReadObserver quiet;
        StallMeter meter;
        QElapsedTimer elapsed;
        elapsed.start();
        const auto end = QCoro::waitFor(readWholeDevice(pc.context(), quiet));
        const double ms = double(elapsed.nsecsElapsed()) / 1e6;
        if (end != WholeReadEnd::Completed)
            state.SkipWithError("the whole-device read did not complete");
        state.SetIterationTime(ms / 1000.0);
        totalMs += ms;
        stall = std::max(stall, meter.longestMs());
    }
    const double probeMs = 30 + 10 + 20 + 600;
    report(state, probeMs + 5 * TimerSendMs + 80 * frame::RecordLength * MsPerByte, totalMs, stall);
}
BENCHMARK(BM_WholeDeviceRead)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
