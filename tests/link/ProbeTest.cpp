#include "Probe.h"
#include "SimulatedSerialLink.h"
#include "VirtualClock.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

// A player on COM1 of an in-process serial link, in virtual time.
struct ProbeBench {
    explicit ProbeBench(PlayerOptions options = {}) : serial(clock, options) {}

    ProbeResult probe(ProbeVariant variant) {
        std::optional<ProbeResult> result;
        const qint64 start = clock.nowMs();
        auto task = ProbeDevice(channel, clock, variant).then([&](ProbeResult r) { result = r; });
        EXPECT_TRUE(clock.runUntil([&] { return result.has_value(); }));
        elapsedMs = clock.nowMs() - start;
        return result.value_or(ProbeResult::NoReply);
    }

    QList<QByteArray> framesReceived() const {
        QList<QByteArray> frames;
        for (const auto& frame : serial.player().received())
            frames.append(frame.bytes);
        return frames;
    }

    VirtualClock clock;
    SimulatedSerialLink serial;
    LinkState state;
    DeviceChannel channel{serial, state};
    qint64 elapsedMs = 0;
};

struct VariantCase {
    const char* name;
    ProbeVariant variant;
    qint64 totalMs;     // the sum of the variant's waits
    qint64 probeSentAt; // when the probe command goes out
};

const std::vector<VariantCase> variants{
    {"settings test", probe::SettingsTest, 1100, 100},
    {"start-up monitor", probe::StartupMonitor, 50, 40},
    {"window show", probe::WindowShow, 560, 60},
    {"set button", probe::SetButton, 560, 60},
    {"whole device", probe::WholeDevice, 660, 60},
};

} // namespace

TEST(Probe, AnsweringPlayerIsAcceptedByEveryVariantWithItsTiming) {
    for (const auto& c : variants) {
        ProbeBench bench;
        EXPECT_EQ(bench.probe(c.variant), ProbeResult::Accepted) << c.name;
        EXPECT_TRUE(bench.state.LinkUp) << c.name;
        EXPECT_EQ(bench.elapsedMs, c.totalMs) << c.name;
        ASSERT_EQ(bench.serial.player().received().size(), 1) << c.name;
        EXPECT_EQ(bench.serial.player().received()[0].timeMs, c.probeSentAt) << c.name;
        EXPECT_EQ(bench.framesReceived()[0], QByteArray::fromHex("FE0100FF")) << c.name;
        EXPECT_TRUE(bench.serial.isOpen()) << c.name;
    }
}

TEST(Probe, PortThatDoesNotOpenWritesNothing) {
    // The start-up monitor gives up at once; the window and whole-device probes still wait.
    const std::vector<std::pair<VariantCase, qint64>> cases{
        {variants[0], 50}, {variants[1], 10}, {variants[3], 40}, {variants[4], 40}};
    for (const auto& [c, elapsed] : cases) {
        ProbeBench bench;
        bench.serial.setOpenFails(true);
        EXPECT_EQ(bench.probe(c.variant), ProbeResult::PortNotOpened) << c.name;
        EXPECT_EQ(bench.serial.writeCount(), 0) << c.name;
        EXPECT_EQ(bench.elapsedMs, elapsed) << c.name;
    }
}

TEST(Probe, FailedLineSettingCountsOnlyWhereTested) {
    for (const auto& c : variants) {
        ProbeBench bench;
        bench.serial.setIoctlFails(true);
        const auto result = bench.probe(c.variant);
        const bool tested = c.variant.lineSettingTested;
        EXPECT_EQ(result, tested ? ProbeResult::PortNotOpened : ProbeResult::NoReply) << c.name;
        EXPECT_EQ(bench.serial.writeCount(), tested ? 0 : 1) << c.name;
    }
}

TEST(Probe, RepliesThatFailTheTest) {
    PlayerOptions silent, wrong, stray, split;
    silent.silent = true;
    wrong.wrongProbe = true;
    stray.strayByte = true;
    split.splitBytes = 3; // three bytes, then the fourth after the wait is over
    split.splitGapMs = 600;
    for (const auto& options : {silent, wrong, stray, split}) {
        ProbeBench bench(options);
        EXPECT_EQ(bench.probe(probe::SetButton), ProbeResult::NoReply);
        EXPECT_FALSE(bench.state.LinkUp);
    }
}

TEST(Probe, SlowPlayerFailsTheStartupProbeButPassesTheSettingsTest) {
    PlayerOptions slow;
    slow.probeDelayMs = 200;
    ProbeBench bench(slow);
    EXPECT_EQ(bench.probe(probe::StartupMonitor), ProbeResult::NoReply);
    EXPECT_EQ(bench.probe(probe::SettingsTest), ProbeResult::Accepted);
}

TEST(Probe, LinkUpAfterAFailureDependsOnTheCaller) {
    PlayerOptions silent;
    silent.silent = true;
    const std::vector<std::pair<VariantCase, bool>> cases{
        {variants[0], false}, // the settings test clears it first
        {variants[1], true},  // the start-up monitor only ever sets it
        {variants[2], false}, {variants[3], false},
        {variants[4], false}, // a silent player never passes the whole-device guard
    };
    for (const auto& [c, linkUpAfter] : cases) {
        ProbeBench bench(silent);
        bench.state.LinkUp = true;
        bench.probe(c.variant);
        EXPECT_EQ(bench.state.LinkUp, linkUpAfter) << c.name;
    }
}
