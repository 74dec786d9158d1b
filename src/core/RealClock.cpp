#include "RealClock.h"

#include <QTimer>

namespace tessaly {

RealClock::RealClock() {
    m_elapsed.start();
}

qint64 RealClock::nowMs() const {
    return m_elapsed.elapsed();
}

void RealClock::schedule(int milliseconds, std::coroutine_handle<> waiter) {
    QTimer::singleShot(qMax(0, milliseconds), Qt::PreciseTimer, [waiter] { waiter.resume(); });
}

} // namespace tessaly
