#pragma once

#include <QtGlobal>
#include <coroutine>
#include <memory>
#include <stdexcept>

namespace tessaly {

// Thrown out of a clock wait whose sequence was cancelled while it slept. It unwinds the
// sequence's coroutine frames without touching the (possibly destroyed) object that ran it.
class SequenceCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "sequence cancelled"; }
};

// Shared between a running sequence and its owner. The owner cancels when it goes away;
// the sequence finds out on its next wake-up and unwinds.
class CancelToken {
public:
    CancelToken() : m_cancelled(std::make_shared<bool>(false)) {}
    void cancel() const { *m_cancelled = true; }
    bool isCancelled() const { return *m_cancelled; }

private:
    std::shared_ptr<bool> m_cancelled;
};

class Clock;

// What `co_await clock.wait(ms)` suspends on. The clock decides when to resume.
class ClockWait {
public:
    ClockWait(Clock& clock, int milliseconds, CancelToken token)
        : m_clock(clock), m_milliseconds(milliseconds), m_token(std::move(token)) {}

    bool await_ready() const noexcept { return m_milliseconds <= 0 && !m_token.isCancelled(); }
    void await_suspend(std::coroutine_handle<> waiter);
    void await_resume() const {
        if (m_token.isCancelled())
            throw SequenceCancelled();
    }

private:
    Clock& m_clock;
    int m_milliseconds;
    CancelToken m_token;
};

// Every wait of a device sequence goes through a Clock: the real one uses Qt timers on the
// UI thread, tests use VirtualClock and run minutes of protocol in microseconds.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary, fixed origin.
    virtual qint64 nowMs() const = 0;

    ClockWait wait(int milliseconds, CancelToken token = {}) {
        return ClockWait(*this, milliseconds, std::move(token));
    }

protected:
    friend class ClockWait;
    // Resume `waiter` once `milliseconds` have passed (at the earliest).
    virtual void schedule(int milliseconds, std::coroutine_handle<> waiter) = 0;
};

inline void ClockWait::await_suspend(std::coroutine_handle<> waiter) {
    m_clock.schedule(m_milliseconds, waiter);
}

} // namespace tessaly
