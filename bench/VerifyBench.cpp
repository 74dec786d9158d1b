// Comparing the player with the PC: the comparison of four full sets once they are read (the
// reads themselves take the player's time), and the window showing a thousand differences.
#include "DeviceChannel.h"
#include "ProgramSet.h"
#include "Prompter.h"
#include "Session.h"
#include "SimulatedSerialLink.h"
#include "Verify.h"
#include "VerifyDialog.h"
#include "VirtualClock.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

using namespace tessaly;

namespace {

constexpr int FullSet = 255;

ProgramRecord program(int set, int order) {
    ProgramRecord r;
    r.OrderNo = formatOrderNo(order);
    r.JMTaoNo = setLabel(set);
    r.KS1 = order / 60 % 24;
    r.KS2 = order % 60;
    r.JS1 = r.KS1;
    r.JS2 = r.KS2;
    r.JS3 = 30;
    r.KSTime = timeOfDay(r.KS1, r.KS2, r.KS3);
    r.JSTime = timeOfDay(r.JS1, r.JS2, r.JS3);
    r.Week = {true, true, true, true, true, false, false};
    r.QuMu = {formatOrderNo(order), QStringLiteral("002"), {}, {}, {}, {}};
    r.YinLiang = order % 39;
    r.FQ.fill(true);
    return r;
}

struct FourSets {
    FourSets() {
        for (int set = FirstSet; set <= LastSet; ++set)
            for (int order = 1; order <= FullSet; ++order) {
                pc[set - 1].append(program(set, order));
                player[set - 1].append(asReadBack(pc[set - 1].last(), set));
            }
        // A few differences, as after a changed program or two.
        player[1][10].YinLiang = 38;
        player[3].removeAt(100);
    }
    std::array<QList<ProgramRecord>, LastSet> pc;
    std::array<QList<ProgramRecord>, LastSet> player;
};

void BM_CompareFourFullSets(benchmark::State& state) {
    const FourSets sets;
    for (auto _ : state) {
        qsizetype differences = 0;
        for (int set = FirstSet; set <= LastSet; ++set)
            differences += compareSet(set, sets.pc[set - 1], sets.player[set - 1]).size();
        if (differences != 2)
            state.SkipWithError("the comparison found other differences than made");
        benchmark::DoNotOptimize(differences);
    }
}
BENCHMARK(BM_CompareFourFullSets)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The window lists the differences and paints itself.
void BM_ShowThousandDifferences(benchmark::State& state) {
    VirtualClock clock;
    SimulatedSerialLink serial(clock);
    Session session;
    DeviceChannel channel(serial, session.link);
    ScriptedPrompter prompter;
    VerifyDialog dialog({clock, channel, prompter, session, {}});
    dialog.show();
    QCoreApplication::processEvents();
    VerifyResult result;
    for (int i = 0; i < 1000; ++i)
        result.differences.append({i % 4 + 1, formatOrderNo(i % 255 + 1),
                                   QStringLiteral("FQ%1").arg(i % 32 + 1), QStringLiteral("1"),
                                   QStringLiteral("0")});
    for (auto _ : state) {
        dialog.showResult(result);
        dialog.repaint();
        state.PauseTiming();
        dialog.showResult({});
        dialog.repaint();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowThousandDifferences)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv) {
    return tessaly::bench::runWidgetBenchmarks(argc, argv);
}
