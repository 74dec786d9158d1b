// Everything that parses bytes coming off the serial line, fed arbitrary input: the answer
// tests, the record decoder on every 32-byte window, and the simulated player's frame parser.

#include "Frames.h"
#include "PlayerSimulator.h"
#include "RecordFrame.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::span<const quint8> bytes(data, size);

    (void)isProbeReply(bytes);
    (void)parsePreheatDelayReply(bytes);
    (void)isSetClearedReply(bytes);
    (void)classifyAllClearReply(bytes);

    for (std::size_t start = 0; start + frame::RecordLength <= size; ++start) {
        const auto decoded = decodeRecordFrame(
            std::span<const quint8, frame::RecordLength>(data + start, frame::RecordLength));
        if (decoded.record.has_value() == !decoded.error.isEmpty())
            __builtin_trap(); // a frame is either a record or a reason, never both or neither
    }

    PlayerSimulator player;
    const std::size_t half = size / 2;
    player.receive(bytes.first(half), 0);
    player.receive(bytes.subspan(half), 5);
    (void)player.takeAvailable(1'000'000, 100'000);
    return 0;
}
