#pragma once

#include "Frames.h"

#include <QtGlobal>

#include <array>
#include <span>

namespace tessaly {

// Where the reply to one read request is collected, with its counters. It holds the largest
// reply the count byte can announce (255 records); nothing is ever written beyond that.
class ReceiveBuffer {
public:
    static constexpr int MaxRecords = 255;
    static constexpr int Capacity = MaxRecords * frame::RecordLength; // 8160
    static constexpr int HeadLength = 4;

    enum class State {
        Collecting, // more bytes are expected
        Complete,   // the announced bytes are in, or the reply did not start with a head
        Overflow,   // the reply ran past the capacity: the read has failed
    };

    // Empties the buffer and the counters, as every read request does.
    void reset();

    // Stores the bytes of one read. Fewer than four bytes that may begin a head are kept and
    // continued by the next read, so a head split over two reads is still recognised; any other
    // first bytes are not a reply.
    State append(std::span<const quint8> chunk);

    State state() const { return m_state; }
    // The collected bytes. Empty when the reply did not begin with a head: the decoder then
    // reports that nothing usable came.
    std::span<const quint8> bytes() const { return {m_bytes.data(), std::size_t(ReceivedCount)}; }
    bool headSeen() const { return ExpectedCount > 0; }
    // The bytes of an answer that did not begin with a head, as they came (the first read of
    // four bytes or more). Kept apart so that a caller can tell an empty set's answer from a
    // reply it cannot account for.
    std::span<const quint8> unrecognised() const {
        return {m_bytes.data(), std::size_t(m_unrecognisedCount)};
    }

    int ReceivedCount = 0;   // bytes stored so far
    int ExpectedCount = 0;   // announced records × 32; 0 until a head has been seen
    int ReadRecordsLeft = 0; // announced records not fully received yet

private:
    void judgeHead();

    std::array<quint8, Capacity> m_bytes{};
    int m_unrecognisedCount = 0;
    State m_state = State::Collecting;
};

// FE 68 n 01 with n >= 1: the head of the first record frame of a reply, announcing n records.
bool isFirstFrameHead(std::span<const quint8> bytes);

} // namespace tessaly
