// The answer tests on arbitrary reads: the probe, pre-heat/delay, set-clear and whole-device
// clear answers. Each must look only at the start of the read and agree with the frame it
// accepts.

#include "Frames.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::span<const quint8> read(data, size);
    const bool framed = size >= 4 && data[0] == frame::Start;

    if (isProbeReply(read) && !(framed && data[1] == frame::ProbeAnswer))
        __builtin_trap();
    if (const auto reply = parsePreheatDelayReply(read);
        reply && !(size >= 5 && data[0] == frame::Start && data[1] == frame::PreheatDelayAnswer &&
                   reply->preheatMinutes == data[2] && reply->delayMinutes == data[3]))
        __builtin_trap();
    const bool setCleared = isSetClearedReply(read);
    const auto allClear = classifyAllClearReply(read);
    if ((setCleared || allClear != AllClearReply::NotRecognised) &&
        !(framed && data[1] == frame::ClearAnswer))
        __builtin_trap();
    if (setCleared && allClear != AllClearReply::NotRecognised)
        __builtin_trap(); // one answer cannot clear a set and the whole device at once
    return 0;
}
