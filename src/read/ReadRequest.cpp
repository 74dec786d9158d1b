#include "ReadRequest.h"

#include "ReadBackDecoder.h"
#include "ReadObserver.h"
#include "Session.h"

#include <algorithm>

namespace tessaly {

namespace {
constexpr int ChunkSize = 2048;
constexpr int PreheatReplyWaitMs = 500;
constexpr int PreheatReplyReadSize = 50;
constexpr std::size_t PreheatReplySize = 5;
constexpr int TransitPollMs = 5;
} // namespace

void ReplyCollector::Read(int set) {
    m_channel.discardPendingInput();
    m_channel.sendReadRequest(set);
    m_set = set;
    m_buffer.reset();
    PollTicks = 0;
    m_requestAt = m_clock.nowMs();
}

QCoro::Task<CollectResult> ReplyCollector::collect(ReadObserver& observer, CancelToken cancel) {
    qint64 lastByteAt = m_requestAt;
    int reported = 0; // bytes already reported as stored
    for (;;) {
        co_await m_clock.wait(m_limits.pollMs, cancel);
        ++PollTicks;
        const qint64 now = m_clock.nowMs();
        const auto chunk = m_channel.readOnce(ChunkSize);
        if (!chunk.empty()) {
            lastByteAt = now;
            const bool hadHead = m_buffer.headSeen();
            const auto state = m_buffer.append(chunk);
            if (state == ReceiveBuffer::State::Overflow)
                co_return CollectResult::Overflow;
            if (!hadHead && m_buffer.headSeen())
                observer.headSeen(m_buffer.ExpectedCount / frame::RecordLength);
            if (m_buffer.headSeen()) {
                observer.bytesStored(m_buffer.ReceivedCount - reported, m_buffer.ReadRecordsLeft);
                reported = m_buffer.ReceivedCount;
            }
            if (state == ReceiveBuffer::State::Complete)
                co_return CollectResult::Complete;
        }
        if (chunk.empty() && m_channel.linkLost()) // nothing more can come
            co_return m_buffer.ReceivedCount == 0 ? CollectResult::NoAnswer
                                                  : CollectResult::Stalled;
        if (now - m_requestAt >= m_limits.overallMs)
            co_return CollectResult::TimedOut;
        if (m_buffer.ReceivedCount == 0 && now - m_requestAt >= m_limits.noAnswerMs)
            co_return CollectResult::NoAnswer;
        if (m_buffer.ReceivedCount > 0 && now - lastByteAt >= m_limits.silenceMs)
            co_return CollectResult::Stalled;
    }
}

QCoro::Task<std::vector<quint8>>
ReplyCollector::listenUntilQuiet(int quietMs, std::function<bool(std::span<const quint8>)> settled,
                                 CancelToken cancel) {
    std::vector<quint8> heard;
    qint64 quietSince = m_clock.nowMs();
    for (;;) {
        const qint64 quietFor = m_clock.nowMs() - quietSince;
        if (quietFor >= quietMs)
            co_return heard;
        co_await m_clock.wait(int(std::min<qint64>(m_limits.pollMs, quietMs - quietFor)), cancel);
        const auto chunk = m_channel.readOnce(ChunkSize);
        if (chunk.empty())
            continue;
        quietSince = m_clock.nowMs();
        heard.insert(heard.end(), chunk.begin(), chunk.end());
        if (settled(heard) || heard.size() >= std::size_t(ReceiveBuffer::Capacity))
            co_return heard;
    }
}

QCoro::Task<SetAnswer> ReplyCollector::judgeAnswer(CancelToken cancel) {
    if (m_buffer.headSeen()) {
        const auto more = co_await listenUntilQuiet(
            AnswerQuietMs, [](std::span<const quint8>) { return true; }, cancel);
        const bool exact = more.empty() && m_buffer.ReceivedCount == m_buffer.ExpectedCount;
        const bool accounted =
            exact && isWholeReply(m_buffer.bytes()) && framesNameSet(m_buffer.bytes(), m_set);
        co_return accounted ? SetAnswer::Reply : SetAnswer::Unaccountable;
    }
    const auto first = m_buffer.unrecognised();
    std::vector<quint8> answer(first.begin(), first.end());
    if (!holdsRecordBytes(answer)) {
        const auto more = co_await listenUntilQuiet(
            AnswerQuietMs,
            [&answer](std::span<const quint8> heard) {
                std::vector<quint8> whole = answer;
                whole.insert(whole.end(), heard.begin(), heard.end());
                return holdsRecordBytes(whole);
            },
            cancel);
        answer.insert(answer.end(), more.begin(), more.end());
    }
    co_return isEmptySetAnswer(answer) ? SetAnswer::Empty : SetAnswer::Unaccountable;
}

QCoro::Task<std::optional<PreheatDelay>> queryPreheatDelay(DeviceChannel& channel, Clock& clock,
                                                           int set, CancelToken cancel) {
    channel.discardPendingInput();
    channel.sendPreheatDelayQuery(set);
    co_await clock.wait(PreheatReplyWaitMs, cancel);
    auto reply = channel.readOnce(PreheatReplyReadSize);
    // Over a network a reply still short is awaited a round trip longer.
    const qint64 until = clock.nowMs() + channel.transitAllowanceMs();
    while (reply.size() < PreheatReplySize && clock.nowMs() < until && !channel.linkLost()) {
        co_await clock.wait(TransitPollMs, cancel);
        const auto more = channel.readOnce(PreheatReplyReadSize - int(reply.size()));
        reply.insert(reply.end(), more.begin(), more.end());
    }
    co_return parsePreheatDelayReply(reply);
}

QCoro::Task<bool> ReadYuRe(DeviceChannel& channel, Clock& clock, Session& session, int set,
                           CancelToken cancel) {
    const auto reply = co_await queryPreheatDelay(channel, clock, set, cancel);
    if (!reply)
        co_return false;
    session.ReadPreheatMinutes = reply->preheatMinutes;
    session.ReadDelayMinutes = reply->delayMinutes;
    co_return true;
}

} // namespace tessaly
