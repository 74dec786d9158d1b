#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

namespace tessaly::bench {

// The longest time the event loop went without serving a 5 ms timer, beyond its 5 ms: how long
// a window would have stayed frozen while the meter lived.
class StallMeter {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceLast.restart() - IntervalMs);
        });
        m_sinceLast.start();
        m_timer.start(IntervalMs);
    }
    qint64 longestMs() const { return m_longest; }

private:
    static constexpr int IntervalMs = 5;
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

} // namespace tessaly::bench
