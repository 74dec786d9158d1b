#pragma once

#include "Clock.h"

#include <functional>
#include <map>

namespace tessaly {

// Time that moves only when a test says so. Waiters due at the same moment resume in the
// order they started waiting, so runs are deterministic.
class VirtualClock final : public Clock {
public:
    qint64 nowMs() const override { return m_now; }

    // Moves time forward by `milliseconds`, resuming every waiter that falls due on the way,
    // each at its own due time.
    void advance(qint64 milliseconds);

    // Moves time to the next waiter and resumes it. False when nobody waits.
    bool advanceToNext();

    // Runs until `done()` holds, jumping from waiter to waiter. False when it stalls with
    // nobody waiting, or when `limitMs` of virtual time pass first.
    bool runUntil(const std::function<bool()>& done, qint64 limitMs = 24LL * 3600 * 1000);

    int pendingWaits() const { return int(m_waiters.size()); }

protected:
    void schedule(int milliseconds, std::coroutine_handle<> waiter) override;

private:
    void resumeFirst();

    qint64 m_now = 0;
    quint64 m_sequence = 0;
    std::multimap<std::pair<qint64, quint64>, std::coroutine_handle<>> m_waiters;
};

} // namespace tessaly
