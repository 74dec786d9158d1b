#include "ReadBackDecoder.h"

#include "Frames.h"
#include "RecordFrame.h"

namespace tessaly {

namespace {

constexpr int Length = frame::RecordLength;

bool isFrameAt(std::span<const quint8> bytes, std::size_t p) {
    return bytes[p] == frame::Start && bytes[p + 1] == frame::RecordAnswer && bytes[p + 2] >= 1 &&
           bytes[p + 2] >= bytes[p + 3] && bytes[p + Length - 1] == frame::End;
}

bool startsWithFrame(std::span<const quint8> bytes) {
    return bytes.size() >= std::size_t(Length) && bytes[0] == frame::Start &&
           bytes[1] == frame::RecordAnswer && bytes[Length - 1] == frame::End;
}

// Start and end times are bytes 6..8 and 9..11: hour, minute, second.
bool timesInRange(std::span<const quint8, Length> frame) {
    return frame[6] <= 23 && frame[7] <= 59 && frame[8] <= 59 && frame[9] <= 23 &&
           frame[10] <= 59 && frame[11] <= 59;
}

} // namespace

ReadBackDecoding decodeReadBack(std::span<const quint8> bytes) {
    ReadBackDecoding result;
    result.startsWithFrame = startsWithFrame(bytes);
    if (!result.startsWithFrame)
        return result;
    for (std::size_t p = 0; p + Length <= bytes.size();) {
        if (!isFrameAt(bytes, p)) {
            ++p;
            continue;
        }
        const std::span<const quint8, Length> frame(bytes.data() + p, Length);
        p += Length;
        if (!timesInRange(frame)) {
            ++result.skippedFrames;
            continue;
        }
        auto decoded = decodeRecordFrame(frame);
        if (!decoded.record) {
            result.unstorable = decoded.error;
            break;
        }
        result.records.append(*decoded.record);
    }
    return result;
}

} // namespace tessaly
