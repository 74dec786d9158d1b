#include "DeviceClear.h"

#include <utility>

namespace tessaly {

namespace {
constexpr int TransitPollMs = 10;
} // namespace

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

std::optional<ClearOutcome> ClearReplyGatherer::add(std::span<const quint8> read) {
    if (!m_pending.empty()) {
        std::vector<quint8> joined = std::exchange(m_pending, {});
        joined.insert(joined.end(), read.begin(), read.end());
        if (const auto outcome = take(joined))
            return outcome;
        if (!m_pending.empty())
            return std::nullopt; // still only the start of an answer
    }
    return take(read);
}

std::optional<ClearOutcome> ClearReplyGatherer::take(std::span<const quint8> bytes) {
    if (const auto outcome = recognisedClearReply(bytes, m_wholeDevice))
        return outcome;
    if (couldBeginAnswer(bytes))
        m_pending.assign(bytes.begin(), bytes.end());
    return std::nullopt;
}

bool ClearReplyGatherer::couldBeginAnswer(std::span<const quint8> bytes) const {
    if (bytes.empty() || bytes.size() >= 4 || bytes[0] != frame::Start)
        return false;
    if (bytes.size() >= 2 && bytes[1] != frame::ClearAnswer)
        return false;
    if (bytes.size() < 3)
        return true;
    const quint8 argument = bytes[2];
    return m_wholeDevice ? argument == frame::ClearAllDone || argument == frame::ClearAllFailed
                         : argument >= 1 && argument <= 4;
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
    ClearReplyGatherer answer(wholeDevice);
    for (;;) {
        co_await m_clock.wait(ClearPollIntervalMs, cancel);
        // A connection that dropped will bring no answer: the clear fails now, not after the
        // whole poll limit.
        if (m_channel.linkLost())
            co_return ClearOutcome::WriteFailed;
        if (m_pollCount > limit)
            co_return ClearOutcome::TimedOut;
        ++m_pollCount;
        if (const auto outcome = answer.add(m_channel.readOnce(ClearPollReadSize)))
            co_return *outcome;
        // Over a network an answer given just before the poll is still on its way: it is
        // awaited a round trip longer, so that the poll measures the player.
        const qint64 until = m_clock.nowMs() + m_channel.transitAllowanceMs();
        while (m_clock.nowMs() < until && !m_channel.linkLost()) {
            co_await m_clock.wait(TransitPollMs, cancel);
            if (const auto outcome = answer.add(m_channel.readOnce(ClearPollReadSize)))
                co_return *outcome;
        }
    }
}

} // namespace tessaly
