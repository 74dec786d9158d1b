// The record decoder on one 32-byte frame from the player (shorter inputs are left out). A
// frame decodes to a program or to the reason it cannot be stored, never both or neither; a
// program it accepts is one the player can hold and encodes back to the same data bytes, an
// order number 0 and a volume above what the editor offers included.

#include "RecordFrame.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size < std::size_t(frame::RecordLength))
        return 0;
    const std::span<const quint8, frame::RecordLength> bytes(data, frame::RecordLength);
    const auto decoded = decodeRecordFrame(bytes);
    if (decoded.record.has_value() == !decoded.error.isEmpty())
        __builtin_trap();
    // Bits the program has no field for (week byte bit 7, flag bits other than radio and
    // priority) are not carried back, so only frames without them must survive a round trip.
    constexpr quint8 KnownFlags = 0x11;
    if (!decoded.record || bytes[4] < 1 || bytes[4] > 4 || (bytes[12] & 0x80) ||
        (bytes[13] & ~KnownFlags))
        return 0;

    // Round trip: what the player gave back is what a load of this program would send.
    const auto encoded = BuildRecordFrame(*decoded.record, 1, 1, bytes[4]);
    if (!encoded.frame)
        __builtin_trap();
    for (int i = 4; i < frame::RecordLength - 1; ++i)
        if ((*encoded.frame)[std::size_t(i)] != bytes[std::size_t(i)])
            __builtin_trap();
    return 0;
}
