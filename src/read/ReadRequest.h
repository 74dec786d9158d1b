#pragma once

#include "Clock.h"
#include "DeviceChannel.h"
#include "ReceiveBuffer.h"

#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>
#include <vector>

namespace tessaly {

class ReadObserver;
struct Session;

// How a collection ended.
enum class CollectResult {
    Complete, // the announced bytes are in, or the reply was not a reply: decode it
    NoAnswer, // no byte within the no-answer limit
    TimedOut, // the overall limit passed
    Stalled,  // the reply began but then stopped arriving
    Overflow, // more bytes than the largest possible reply
};

// What the whole of one set's answer turned out to be.
enum class SetAnswer {
    Reply,         // exactly the announced record frames: decode them
    Empty,         // no program in it: the set holds none
    Unaccountable, // bytes the read cannot account for; taking it would lose programs
};

// How long the line must stay quiet after an answer before it is judged, so that bytes coming
// after the announced ones, or the rest of an answer that was not a reply, are heard.
constexpr int AnswerQuietMs = 500;

// The reply is polled briefly and often, so it is handed on as soon as its last byte is in.
struct ReadLimits {
    int pollMs = 20;
    int noAnswerMs = 6000;
    int overallMs = 1001 * 1000;
    int silenceMs = 10000;
};

// One read request and the collection of its reply, with the counters of this read.
class ReplyCollector {
public:
    ReplyCollector(DeviceChannel& channel, Clock& clock, ReadLimits limits = {})
        : m_channel(channel), m_clock(clock), m_limits(limits) {}

    // Drops pending input, sends FE 04 set FF and empties the buffer and its counters.
    void Read(int set);

    // Polls until the reply is complete or a limit has passed.
    QCoro::Task<CollectResult> collect(ReadObserver& observer, CancelToken cancel = {});

    // After a reply: listens until the line has been quiet for `quietMs` and returns what else
    // arrived. It stops early, with what it has, once `settled` says the bytes decide the
    // matter, or once they would fill a whole reply.
    QCoro::Task<std::vector<quint8>>
    listenUntilQuiet(int quietMs, std::function<bool(std::span<const quint8>)> settled,
                     CancelToken cancel = {});

    // After a complete collection: listens until the line has been quiet for AnswerQuietMs and
    // judges every byte that came. This is the one judge of a set's answer for every read. A
    // reply counts only when it is exactly its announced frames, whole, each carrying the set
    // asked for; an answer without a head is empty only when it holds no program (a count of
    // one record or more without its frames is a reply cut off, never an empty set).
    QCoro::Task<SetAnswer> judgeAnswer(CancelToken cancel = {});

    const ReceiveBuffer& buffer() const { return m_buffer; }
    int PollTicks = 0;

private:
    DeviceChannel& m_channel;
    Clock& m_clock;
    ReadLimits m_limits;
    ReceiveBuffer m_buffer;
    qint64 m_requestAt = 0;
    int m_set = 0; // the set asked for
};

// The pre-heat and delay query: FE 06 set FF, 500 ms, one read of up to 50 bytes. The player's
// pair on a valid FE 6A p d FF; nothing otherwise.
QCoro::Task<std::optional<PreheatDelay>> queryPreheatDelay(DeviceChannel& channel, Clock& clock,
                                                           int set, CancelToken cancel = {});

// The query of a read button: on an answer the session's read pre-heat and delay take p and d
// and the result is true.
QCoro::Task<bool> ReadYuRe(DeviceChannel& channel, Clock& clock, Session& session, int set,
                           CancelToken cancel = {});

} // namespace tessaly
