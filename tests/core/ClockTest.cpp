#include "RealClock.h"
#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <qcoro/qcorotask.h>

using namespace tessaly;

namespace {

QCoro::Task<> stepper(Clock& clock, std::vector<qint64>& wakeUps, std::vector<int> waits,
                      CancelToken cancel = {}) {
    for (const int ms : waits) {
        co_await clock.wait(ms, cancel);
        wakeUps.push_back(clock.nowMs());
    }
}

QCoro::Task<> catchingCancel(Clock& clock, std::vector<qint64>& wakeUps, CancelToken cancel,
                             bool& unwound) {
    const std::vector<int> waits{10, 10, 10};
    try {
        co_await stepper(clock, wakeUps, waits, cancel);
    } catch (const SequenceCancelled&) {
        unwound = true;
    }
}

} // namespace

TEST(VirtualClock, WakesEachWaiterAtItsOwnTimeInOrder) {
    VirtualClock clock;
    std::vector<qint64> first, second;
    const std::vector<int> firstWaits{30, 10, 500}, secondWaits{40, 0, 1000};
    auto a = stepper(clock, first, firstWaits);
    auto b = stepper(clock, second, secondWaits);

    clock.advance(35);
    EXPECT_EQ(first, (std::vector<qint64>{30}));
    EXPECT_TRUE(second.empty());

    EXPECT_TRUE(clock.runUntil([&] { return a.isReady() && b.isReady(); }));
    EXPECT_EQ(first, (std::vector<qint64>{30, 40, 540}));
    EXPECT_EQ(second, (std::vector<qint64>{40, 40, 1040}));
    EXPECT_FALSE(clock.advanceToNext()) << "nobody waits any more";
}

TEST(VirtualClock, CancelledSequenceUnwindsAtItsNextWakeUp) {
    VirtualClock clock;
    CancelToken cancel;
    std::vector<qint64> wakeUps;
    bool unwound = false;
    auto task = catchingCancel(clock, wakeUps, cancel, unwound);

    clock.advance(15);
    cancel.cancel();
    clock.advance(100);
    EXPECT_TRUE(unwound);
    EXPECT_TRUE(task.isReady());
    EXPECT_EQ(wakeUps, (std::vector<qint64>{10}));
}

TEST(RealClock, WaitsOnTheEventLoop) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    RealClock clock;
    std::vector<qint64> wakeUps;
    bool ticked = false;
    QTimer::singleShot(5, [&] { ticked = true; }); // the loop keeps serving while we wait
    const std::vector<int> waits{20};
    QCoro::waitFor(stepper(clock, wakeUps, waits));
    ASSERT_EQ(wakeUps.size(), 1u);
    EXPECT_GE(wakeUps[0], 20);
    EXPECT_TRUE(ticked);
}
