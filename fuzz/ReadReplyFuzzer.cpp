// A read reply as it may come off the line: arbitrary bytes in arbitrary reads, collected in
// the receive buffer and decoded. Every run must end in one of the defined outcomes, with no
// byte stored beyond the buffer.

#include "ReadBackDecoder.h"
#include "ReceiveBuffer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

// The first input byte chooses how the rest is cut into reads and how often it repeats, so
// that well-formed replies stay intact while their read boundaries and lengths vary.
struct Plan {
    std::uint32_t state;
    int repeats;

    int nextReadSize() {
        state = state * 1103515245u + 12345u;
        const int kind = int(state >> 16) % 4;
        if (kind == 0)
            return 1 + int(state >> 20) % 3; // the short reads that used to be dropped
        return 1 + int(state >> 18) % 2048;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size == 0)
        return 0;
    Plan plan{data[0], 1 + data[0] % 64};
    std::vector<quint8> stream;
    for (int i = 0; i < plan.repeats; ++i)
        stream.insert(stream.end(), data + 1, data + size);

    ReceiveBuffer buffer;
    buffer.reset();
    auto state = ReceiveBuffer::State::Collecting;
    for (std::size_t at = 0; at < stream.size() && state == ReceiveBuffer::State::Collecting;) {
        const std::size_t length = std::min<std::size_t>(plan.nextReadSize(), stream.size() - at);
        state = buffer.append(std::span<const quint8>(stream).subspan(at, length));
        at += length;
        if (buffer.ReceivedCount < 0 || buffer.ReceivedCount > ReceiveBuffer::Capacity ||
            buffer.ReadRecordsLeft < 0 || buffer.ExpectedCount > ReceiveBuffer::Capacity)
            __builtin_trap();
    }
    // Complete means all announced bytes are in, or nothing usable was kept.
    if (state == ReceiveBuffer::State::Complete &&
        (buffer.headSeen() ? buffer.ReceivedCount < buffer.ExpectedCount
                           : buffer.ReceivedCount != 0))
        __builtin_trap();
    // An answer is either empty or carries record bytes, never both.
    const auto unrecognised = buffer.unrecognised();
    if (holdsRecordBytes(unrecognised) && isEmptySetAnswer(unrecognised))
        __builtin_trap();

    const auto decoded = decodeReadBack(buffer.bytes());
    if (qsizetype(decoded.records.size()) * 32 > buffer.ReceivedCount)
        __builtin_trap(); // every program comes from 32 bytes of its own
    if (!decoded.startsWithFrame && !decoded.records.isEmpty())
        __builtin_trap();

    // The decoder on its own, on the raw bytes.
    (void)decodeReadBack(std::span<const quint8>(data, size));
    return 0;
}
