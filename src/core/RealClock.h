#pragma once

#include "Clock.h"

#include <QElapsedTimer>

namespace tessaly {

// Waits are single-shot Qt timers on the calling thread's event loop: the thread keeps
// serving events while a sequence sleeps.
class RealClock final : public Clock {
public:
    RealClock();
    qint64 nowMs() const override;

protected:
    void schedule(int milliseconds, std::coroutine_handle<> waiter) override;

private:
    QElapsedTimer m_elapsed;
};

} // namespace tessaly
