#include "VirtualClock.h"

namespace tessaly {

void VirtualClock::schedule(int milliseconds, std::coroutine_handle<> waiter) {
    m_waiters.emplace(std::make_pair(m_now + qMax(0, milliseconds), m_sequence++), waiter);
}

void VirtualClock::resumeFirst() {
    auto first = m_waiters.begin();
    m_now = qMax(m_now, first->first.first);
    auto waiter = first->second;
    m_waiters.erase(first);
    waiter.resume();
}

void VirtualClock::advance(qint64 milliseconds) {
    const qint64 target = m_now + milliseconds;
    while (!m_waiters.empty() && m_waiters.begin()->first.first <= target)
        resumeFirst();
    m_now = target;
}

bool VirtualClock::advanceToNext() {
    if (m_waiters.empty())
        return false;
    resumeFirst();
    return true;
}

bool VirtualClock::runUntil(const std::function<bool()>& done, qint64 limitMs) {
    const qint64 deadline = m_now + limitMs;
    while (!done()) {
        if (m_waiters.empty() || m_waiters.begin()->first.first > deadline)
            return false;
        resumeFirst();
    }
    return true;
}

} // namespace tessaly
