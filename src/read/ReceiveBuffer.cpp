#include "ReceiveBuffer.h"

#include <algorithm>

namespace tessaly {

bool isFirstFrameHead(std::span<const quint8> bytes) {
    return bytes.size() >= std::size_t(ReceiveBuffer::HeadLength) && bytes[0] == frame::Start &&
           bytes[1] == frame::RecordAnswer && bytes[2] >= 1 && bytes[3] == 1;
}

namespace {

// Fewer than four bytes that a head may still follow from: FE, FE 68, FE 68 n with n >= 1.
bool mayBeginHead(std::span<const quint8> bytes) {
    const quint8 head[] = {frame::Start, frame::RecordAnswer};
    for (std::size_t i = 0; i < bytes.size() && i < 2; ++i)
        if (bytes[i] != head[i])
            return false;
    return bytes.size() < 3 || bytes[2] >= 1;
}

} // namespace

void ReceiveBuffer::reset() {
    m_bytes.fill(0);
    ReceivedCount = 0;
    ExpectedCount = 0;
    ReadRecordsLeft = 0;
    m_unrecognisedCount = 0;
    m_state = State::Collecting;
}

ReceiveBuffer::State ReceiveBuffer::append(std::span<const quint8> chunk) {
    if (m_state != State::Collecting || chunk.empty())
        return m_state;
    if (chunk.size() > std::size_t(Capacity - ReceivedCount)) {
        m_state = State::Overflow;
        return m_state;
    }
    const int before = ReceivedCount;
    std::copy(chunk.begin(), chunk.end(), m_bytes.begin() + ReceivedCount);
    ReceivedCount += int(chunk.size());

    if (!headSeen()) {
        // A short answer that cannot become a head is judged at once: the set may be empty.
        if (ReceivedCount < HeadLength &&
            mayBeginHead({m_bytes.data(), std::size_t(ReceivedCount)}))
            return m_state;
        judgeHead();
        if (m_state != State::Collecting)
            return m_state;
    }
    // One record fewer to come for every 32-byte boundary crossed, never below 0.
    const int boundaries = ReceivedCount / frame::RecordLength - before / frame::RecordLength;
    ReadRecordsLeft = std::max(0, ReadRecordsLeft - boundaries);
    if (ReceivedCount >= ExpectedCount)
        m_state = State::Complete;
    return m_state;
}

void ReceiveBuffer::judgeHead() {
    const std::span<const quint8> head(m_bytes.data(), HeadLength);
    if (!isFirstFrameHead(head)) {
        // Not the start of a reply: nothing of it counts as received, and the decoder says so.
        m_unrecognisedCount = ReceivedCount;
        ReceivedCount = 0;
        m_state = State::Complete;
        return;
    }
    ReadRecordsLeft = head[2];
    ExpectedCount = ReadRecordsLeft * frame::RecordLength;
}

} // namespace tessaly
