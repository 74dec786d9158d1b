// The simulated player's frame parser on arbitrary bytes from the PC, in two writes, under the
// line faults its switches produce. It must consume everything without reading past a frame,
// and every frame it recognised must be a whole, well-ended frame of the input.

#include "PlayerSimulator.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

// The first input byte picks the faults and where the rest is split into two writes.
tessaly::PlayerOptions optionsFrom(std::uint8_t choice) {
    tessaly::PlayerOptions options;
    options.wrongProbe = choice & 0x01;
    options.clearOtherSet = choice & 0x02;
    options.clearFails = choice & 0x04;
    options.strayByte = choice & 0x08;
    options.splitBytes = (choice & 0x10) ? 3 : 0;
    options.cutAfter = (choice & 0x20) ? 7 : 0;
    options.clearDelayMs = 10;
    return options;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size == 0)
        return 0;
    const std::span<const quint8> bytes(data + 1, size - 1);
    const std::size_t split = bytes.size() * (data[0] >> 6) / 4;

    PlayerSimulator player(optionsFrom(data[0]));
    player.receive(bytes.first(split), 0);
    player.receive(bytes.subspan(split), 5);

    std::size_t framed = 0;
    for (const ReceivedFrame& received : player.received()) {
        const auto length = std::size_t(received.bytes.size());
        if (length < 4 || quint8(received.bytes.front()) != frame::Start ||
            quint8(received.bytes.back()) != frame::End)
            __builtin_trap();
        framed += length;
    }
    if (framed > bytes.size())
        __builtin_trap();
    // The first answer bytes on the line; delivering all of them is the line's work, not the
    // parser's, and would cost more than the parse.
    (void)player.takeAvailable(1'000'000, 8);
    return 0;
}
