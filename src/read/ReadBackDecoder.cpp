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

bool isAnswerStart(std::span<const quint8> bytes, std::size_t p) {
    return bytes[p] == frame::Start && bytes[p + 1] == frame::RecordAnswer;
}

// FE 68 00 FF, the whole answer for a set without programs.
bool isEmptyMarkAt(std::span<const quint8> bytes, std::size_t p) {
    return bytes[p + 2] == 0x00 && bytes[p + 3] == frame::End;
}

} // namespace

ReadBackDecoding decodeReadBack(std::span<const quint8> bytes) {
    ReadBackDecoding result;
    result.startsWithFrame = startsWithFrame(bytes);
    if (!result.startsWithFrame)
        return result;
    result.records.reserve(qsizetype(bytes.size() / Length));
    for (std::size_t p = 0; p + Length <= bytes.size();) {
        if (!isFrameAt(bytes, p)) {
            ++p;
            continue;
        }
        const std::span<const quint8, Length> frame(bytes.data() + p, Length);
        p += Length;
        auto decoded = decodeRecordFrame(frame);
        if (!decoded.record) {
            result.unstorable = decoded.error;
            break;
        }
        result.records.append(*decoded.record);
    }
    return result;
}

bool holdsRecordBytes(std::span<const quint8> answer) {
    for (std::size_t p = 0; p + 3 < answer.size(); ++p)
        if (isAnswerStart(answer, p) && !isEmptyMarkAt(answer, p))
            return true;
    return false;
}

bool isEmptySetAnswer(std::span<const quint8> answer) {
    for (std::size_t p = 0; p + 1 < answer.size(); ++p)
        if (isAnswerStart(answer, p) && (p + 3 >= answer.size() || !isEmptyMarkAt(answer, p)))
            return false;
    return true;
}

} // namespace tessaly
