#pragma once

#include "Clock.h"
#include "DeviceChannel.h"

#include <qcoro/qcorotask.h>

#include <vector>

namespace tessaly {

enum class ClearOutcome {
    Cleared,     // the player answered that it has cleared
    Failed,      // the whole-device clear was answered with "failed"
    TimedOut,    // no recognised answer within the poll limit
    WriteFailed, // a frame of the clear could not be written
};

// The pause between the pre-heat/delay frame and the clear command, and the poll period.
constexpr int ClearSettleMs = 1000;
constexpr int ClearPollIntervalMs = 1000;
// Reads allowed before a clear counts as timed out: the timeout comes on the tick after the
// last read, about 62 s (one set) or 122 s (all sets) after the clear command.
constexpr int SetClearPollLimit = 60;
constexpr int DeviceClearPollLimit = 120;
constexpr int ClearPollReadSize = 255;

// Clears one set (1..4) or, for set 0, the whole player: the pre-heat and delay pair goes
// first, then the clear command, then one read a second until the player answers.
class DeviceClear {
public:
    DeviceClear(DeviceChannel& channel, Clock& clock) : m_channel(channel), m_clock(clock) {}

    QCoro::Task<ClearOutcome> run(int set, int preheatMinutes, int delayMinutes,
                                  CancelToken cancel = {});

    // Polls of the last clear; reset when its clear command has been written.
    int ClearPollCount() const { return m_pollCount; }

private:
    QCoro::Task<ClearOutcome> poll(bool wholeDevice, CancelToken cancel);

    DeviceChannel& m_channel;
    Clock& m_clock;
    int m_pollCount = 0;
};

// What the bytes gathered since the clear command mean. An answer counts only at the very start
// of them: one that follows other bytes is not recognised. A set clear takes "cleared" for any
// set 1..4, whichever was asked for; the whole-device clear takes only "all cleared" and "failed".
std::optional<ClearOutcome> recognisedClearReply(std::span<const quint8> read, bool wholeDevice);

// Gathers the clear answer across polls, as the read-back gathers its head: a read that ends
// part-way into an answer is continued by the next one, so an answer that arrives in pieces
// still counts. Bytes that cannot begin an answer are dropped.
class ClearReplyGatherer {
public:
    explicit ClearReplyGatherer(bool wholeDevice) : m_wholeDevice(wholeDevice) {}

    // The bytes of one poll; the outcome once an answer is recognised.
    std::optional<ClearOutcome> add(std::span<const quint8> read);

private:
    std::optional<ClearOutcome> take(std::span<const quint8> bytes);
    bool couldBeginAnswer(std::span<const quint8> bytes) const;

    bool m_wholeDevice;
    std::vector<quint8> m_pending; // the start of an answer, fewer than four bytes
};

} // namespace tessaly
