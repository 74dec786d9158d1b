#include "DeviceClear.h"

namespace tessaly {

std::optional<ClearOutcome> recognisedClearReply(std::span<const quint8> read, bool wholeDevice) {
    if (!wholeDevice)
        return isSetClearedReply(read) ? std::optional(ClearOutcome::Cleared) : std::nullopt;
    switch (classifyAllClearReply(read)) {
    case AllClearReply::Done:
        return ClearOutcome::Cleared;
    case AllClearReply::Failed:
        return ClearOutcome::Failed;
    case AllClearReply::NotRecognised:
        break;
    }
    return std::nullopt;
}

QCoro::Task<ClearOutcome> DeviceClear::run(int set, int preheatMinutes, int delayMinutes,
                                           CancelToken cancel) {
    const bool wholeDevice = set == frame::ClearAllSets;
    if (wholeDevice)
        m_channel.discardPendingInput();
    if (!m_channel.sendPreheatDelayFrame(preheatMinutes, delayMinutes))
        co_return ClearOutcome::WriteFailed;
    co_await m_clock.wait(ClearSettleMs, cancel);
    // Whatever the player said to the pre-heat and delay frame is dropped unseen.
    m_channel.discardPendingInput();
    if (!m_channel.sendClearCommand(set))
        co_return ClearOutcome::WriteFailed;
    m_pollCount = 0;
    co_return co_await poll(wholeDevice, cancel);
}

QCoro::Task<ClearOutcome> DeviceClear::poll(bool wholeDevice, CancelToken cancel) {
    const int limit = wholeDevice ? DeviceClearPollLimit : SetClearPollLimit;
    for (;;) {
        co_await m_clock.wait(ClearPollIntervalMs, cancel);
        if (m_pollCount > limit)
            co_return ClearOutcome::TimedOut;
        ++m_pollCount;
        const auto read = m_channel.readOnce(ClearPollReadSize);
        if (const auto outcome = recognisedClearReply(read, wholeDevice))
            co_return *outcome;
    }
}

} // namespace tessaly
