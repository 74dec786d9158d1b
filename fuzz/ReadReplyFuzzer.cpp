// A read reply as it may come off the line: arbitrary bytes in arbitrary reads, collected in
// the receive buffer and decoded. Every run must end in one of the defined outcomes, with no
// byte stored beyond the buffer; an answer that did not begin with a head is either an empty
// set's answer or one that holds record bytes, never both; a whole reply decodes frame by frame.

#include "ReadBackDecoder.h"
#include "ReceiveBuffer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace {

using tessaly::ReceiveBuffer;

// The first input byte chooses how the rest is cut into reads and, for a quarter of its values,
// how often it repeats (to reach the buffer's capacity), so that well-formed replies stay
// intact while their read boundaries and lengths vary.
struct Plan {
    std::uint32_t state;

    int repeats() const { return (state & 0xC0) == 0xC0 ? 2 + int(state % 64) : 1; }

    std::size_t nextReadSize() {
        state = state * 1103515245u + 12345u;
        const int kind = int(state >> 16) % 4;
        if (kind == 0)
            return 1 + (state >> 20) % 3; // the short reads that used to be dropped
        return 1 + (state >> 18) % 2048;
    }
};

// The body repeated, handed out read by read without being copied whole: the buffer stops
// taking bytes at its capacity, so at most that much is ever looked at.
class RepeatedStream {
public:
    RepeatedStream(std::span<const std::uint8_t> body, int repeats)
        : m_body(body), m_left(body.size() * std::size_t(repeats)) {}

    bool atEnd() const { return m_left == 0; }

    std::span<const quint8> next(std::size_t length) {
        length = std::min({length, m_left, m_read.size()});
        for (std::size_t copied = 0; copied < length;) {
            const std::size_t piece = std::min(length - copied, m_body.size() - m_at);
            std::memcpy(m_read.data() + copied, m_body.data() + m_at, piece);
            copied += piece;
            m_at = (m_at + piece) % m_body.size();
        }
        m_left -= length;
        return {m_read.data(), length};
    }

private:
    std::span<const std::uint8_t> m_body;
    std::size_t m_left;
    std::size_t m_at = 0;
    std::array<quint8, 2048> m_read{};
};

// One buffer for the whole process: a read request empties it with reset(), as in the program.
ReceiveBuffer& sharedBuffer() {
    static ReceiveBuffer buffer;
    return buffer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size == 0)
        return 0;
    Plan plan{data[0]};
    RepeatedStream stream({data + 1, size - 1}, plan.repeats());

    ReceiveBuffer& buffer = sharedBuffer();
    buffer.reset();
    auto state = ReceiveBuffer::State::Collecting;
    while (!stream.atEnd() && state == ReceiveBuffer::State::Collecting) {
        state = buffer.append(stream.next(plan.nextReadSize()));
        if (buffer.ReceivedCount < 0 || buffer.ReceivedCount > ReceiveBuffer::Capacity ||
            buffer.ReadRecordsLeft < 0 || buffer.ExpectedCount > ReceiveBuffer::Capacity)
            __builtin_trap();
    }
    // Complete means all announced bytes are in, or nothing usable was kept.
    if (state == ReceiveBuffer::State::Complete &&
        (buffer.headSeen() ? buffer.ReceivedCount < buffer.ExpectedCount
                           : buffer.ReceivedCount != 0))
        __builtin_trap();
    const auto unrecognised = buffer.unrecognised();
    if (holdsRecordBytes(unrecognised) && isEmptySetAnswer(unrecognised))
        __builtin_trap();

    const auto decoded = decodeReadBack(buffer.bytes());
    if (qsizetype(decoded.records.size()) * 32 > buffer.ReceivedCount)
        __builtin_trap(); // every program comes from 32 bytes of its own
    if (!decoded.startsWithFrame && !decoded.records.isEmpty())
        __builtin_trap();
    // A whole reply decodes to one program per frame, or names the one it cannot store.
    if (isWholeReply(buffer.bytes()) && decoded.unstorable.isEmpty() &&
        qsizetype(decoded.records.size()) * 32 != buffer.ReceivedCount)
        __builtin_trap();

    // The decoder and the answer tests on their own, on the raw bytes.
    const std::span<const quint8> raw(data, size);
    (void)decodeReadBack(raw);
    if (holdsRecordBytes(raw) && isEmptySetAnswer(raw))
        __builtin_trap();
    return 0;
}
